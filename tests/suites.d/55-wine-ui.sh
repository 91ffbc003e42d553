#!/usr/bin/env bash
# The control library's Win32 realization on real windows, under Wine.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_start_wine
mkdir -p build/test-logs
log=build/test-logs/ui_win32.out
wine build/win32/tests/unit/ui/ui_win32_tests.exe </dev/null >"$log" 2>&1
rc=$?
cat "$log"
passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$log" | tail -n 1)
failed=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:.*/\1/p' "$log" | tail -n 1)
passed=${passed:-0}; failed=${failed:-0}
[ "$rc" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "$passed passed, $failed failed"
