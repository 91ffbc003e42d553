#!/usr/bin/env bash
# The skin engine on real windows under Wine: its GoogleTest program, then the
# galleries of frames, controls and menus driven with the real mouse
# (screenshots in build/e2e-screenshots).
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_require_wine
# Its count line is renamed so that only this suite's sum reads as the count.
gtest_out=$(corvane_wine_gtest "$CORVANE_WINE_BUILD"/tests/wine/skin/skin_win32_tests.exe skin_win32)
gtest_line=$(tail -n 1 <<<"$gtest_out")
sed '$d' <<<"$gtest_out"
echo "skin_win32_tests: $gtest_line"
read -r passed _ failed _ skipped _ <<<"$gtest_line"
[[ "$passed" =~ ^[0-9]+$ ]] || { passed=0; failed=1; skipped=0; }
# Each gallery script ends with its own count line.
for script in gallery_shots controls_shots menu_shots; do
  log=build/test-logs/skin_$script.out
  timeout -k 10 300 python3 tests/wine/skin/$script.py </dev/null >"$log" 2>&1
  cat "$log"
  read -r p _ f _ s _ <<<"$(tail -n 1 "$log")"
  [[ "$p" =~ ^[0-9]+$ ]] || { p=0; f=1; s=0; }
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + ${s:-0}))
done
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
