#!/usr/bin/env bash
# Runs every suite in tests/suites.d in name order and adds up their counts.
# Each suite prints, as its last count line, "N passed, M failed, K skipped".
# A suite fails when it gives no count line, ends with an error while counting
# no failure, or ran no test (nothing passed or failed).
set -u
cd "$(dirname "$0")/.."
total_pass=0; total_fail=0; total_skip=0; suites=0
suite_limit=${CORVANE_SUITE_TIMEOUT:-900}
mkdir -p build/test-logs
# One choice of Wine for the whole run, said once.
if CORVANE_WINE_ARCH=$(bash tests/wine/wine_arch.sh); then
  export CORVANE_WINE_ARCH CORVANE_WINE_ARCH_CHOSEN=1
fi
for suite in tests/suites.d/*.sh; do
  [ -f "$suite" ] || continue
  suites=$((suites + 1))
  name=$(basename "$suite" .sh)
  log=build/test-logs/$name.log
  echo "== $name"
  # No suite may hold up the rest: a hang shows as a failed suite with its log.
  timeout -k 20 "$suite_limit" bash "$suite" >"$log" 2>&1
  rc=$?
  [ "$rc" -eq 124 ] && echo "bench: suite $name did not end within $suite_limit s" >>"$log"
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "   suite $name gave no count (exit $rc); log: $log"
    tail -n 30 "$log" | sed 's/^/   | /'
    total_fail=$((total_fail + 1)); continue
  fi
  read -r p f k <<<"$(echo "$line" | sed -E 's/^([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/')"
  echo "   $line"
  if [ $((p + f)) -eq 0 ]; then
    echo "   suite $name ran no test; log: $log"; f=1
  elif [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then
    echo "   suite $name ended with exit $rc but counted no failure; log: $log"; f=1
  fi
  if [ "$f" -ne 0 ]; then
    grep -E "FAILED|FAIL:|FAIL |ERROR|Failure|^bench: |no test|has no tests|^[A-Za-z_.]+(Error|Exception|Expired): " "$log" | head -n 30 |
      sed 's/^/   | /'
  fi
  if [ "$k" -ne 0 ]; then
    grep -E "^SKIP " "$log" | head -n 20 | sed 's/^/   | /'
  fi
  total_pass=$((total_pass + p)); total_fail=$((total_fail + f)); total_skip=$((total_skip + k))
done
if [ "$suites" -eq 0 ]; then
  echo "no suite in tests/suites.d"; total_fail=$((total_fail + 1))
fi
echo "$total_pass passed, $total_fail failed, $total_skip skipped"
[ "$total_fail" -eq 0 ]
