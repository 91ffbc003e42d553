#!/usr/bin/env bash
# The service behaviour tests against the real calls, under Wine.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_require_wine
corvane_wine_gtest "$CORVANE_WINE_BUILD"/tests/behaviour/behaviour_win32_tests.exe behaviour_win32
