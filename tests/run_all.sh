#!/usr/bin/env bash
# Runs every suite in tests/suites.d in name order and adds up their counts.
# Each suite prints, as its last line, "N passed, M failed".
set -u
cd "$(dirname "$0")/.."
total_pass=0; total_fail=0
suite_limit=${CORVANE_SUITE_TIMEOUT:-900}
mkdir -p build/test-logs
# One choice of Wine for the whole run, said once.
if CORVANE_WINE_ARCH=$(bash tests/wine/wine_arch.sh); then
  export CORVANE_WINE_ARCH CORVANE_WINE_ARCH_CHOSEN=1
fi
for suite in tests/suites.d/*.sh; do
  name=$(basename "$suite" .sh)
  log=build/test-logs/$name.log
  echo "== $name"
  # No suite may hold up the rest: a hang shows as a failed suite with its log.
  timeout -k 20 "$suite_limit" bash "$suite" >"$log" 2>&1
  rc=$?
  [ "$rc" -eq 124 ] && echo "bench: suite $name did not end within $suite_limit s" >>"$log"
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "   suite $name gave no count (exit $rc); log: $log"
    tail -n 30 "$log" | sed 's/^/   | /'
    total_fail=$((total_fail + 1)); continue
  fi
  p=$(echo "$line" | sed -E 's/^([0-9]+) passed.*/\1/')
  f=$(echo "$line" | sed -E 's/^[0-9]+ passed, ([0-9]+) failed.*/\1/')
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
  echo "   $line"
  if [ "$f" -ne 0 ]; then
    grep -E "FAILED|FAIL:|ERROR|Failure|^bench: " "$log" | head -n 20 | sed 's/^/   | /'
  fi
  total_pass=$((total_pass + p)); total_fail=$((total_fail + f))
done
echo "$total_pass passed, $total_fail failed"
[ "$total_fail" -eq 0 ]
