#!/usr/bin/env bash
# The control library's Win32 realization on real windows, under Wine.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_require_wine
corvane_wine_gtest "$CORVANE_WINE_BUILD"/tests/wine/ui/ui_win32_tests.exe ui_win32
