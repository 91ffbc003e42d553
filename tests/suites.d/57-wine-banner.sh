#!/usr/bin/env bash
# The banner strip's browser control on real windows, under Wine.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_require_wine
corvane_wine_gtest "$CORVANE_WINE_BUILD"/tests/wine/app/app_win32_tests.exe app_win32
