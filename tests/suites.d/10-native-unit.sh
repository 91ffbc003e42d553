#!/usr/bin/env bash
# The native unit tests (GoogleTest through CTest), counted test by test from
# CTest's JUnit report: skips as skips, and a program whose test list came out
# empty fails the suite.
set -u
cd "$(dirname "$0")/../.."
report=$(mktemp --suffix=.xml)
trap 'rm -f "$report"' EXIT
ctest --test-dir build/native -j "$(nproc)" --output-on-failure --timeout 120 \
  --output-junit "$report" 2>&1
rc=$?
python3 tests/count.py ctest "$report" build/native
counted=$?
[ "$rc" -ne 0 ] && [ "$counted" -eq 0 ] && echo "ctest ended with exit $rc"
[ "$rc" -eq 0 ] && [ "$counted" -eq 0 ]
