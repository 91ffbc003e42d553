#!/usr/bin/env bash
# The native unit tests (GoogleTest through CTest).
set -u
cd "$(dirname "$0")/../.."
out=$(ctest --test-dir build/native -j "$(nproc)" --output-on-failure --timeout 120 2>&1)
rc=$?
echo "$out"
summary=$(echo "$out" | grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' | tail -n 1)
if [ -z "$summary" ]; then
  [ $rc -eq 0 ] && echo "0 passed, 0 failed" || echo "0 passed, 1 failed"; exit $rc
fi
failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
all=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
echo "$((all - failed)) passed, $failed failed"
exit $rc
