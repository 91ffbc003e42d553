#!/usr/bin/env bash
# The service behaviour tests against the real calls, under Wine.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_start_wine
corvane_wine_gtest build/win32/tests/behaviour/behaviour_win32_tests.exe behaviour_win32
