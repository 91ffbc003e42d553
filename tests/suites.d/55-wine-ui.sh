#!/usr/bin/env bash
# The control library's Win32 realization on real windows, under Wine.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_start_wine
corvane_wine_gtest build/win32/tests/unit/ui/ui_win32_tests.exe ui_win32
