#!/usr/bin/env bash
# The skin engine on real windows under Wine: its GoogleTest program, then the
# galleries of frames and of controls driven with the real mouse (screenshots in
# build/e2e-screenshots).
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_require_wine
gtest_line=$(corvane_wine_gtest "$CORVANE_WINE_BUILD"/tests/unit/skin_win32/skin_win32_tests.exe skin_win32 | tee /dev/stderr | tail -n 1)
log=build/test-logs/skin_gallery.out
timeout -k 10 300 python3 tests/unit/skin_win32/gallery_shots.py </dev/null >"$log" 2>&1
cat "$log"
gallery_line=$(tail -n 1 "$log")
log=build/test-logs/skin_controls_gallery.out
timeout -k 10 300 python3 tests/unit/skin_win32/controls_shots.py </dev/null >"$log" 2>&1
cat "$log"
controls_line=$(tail -n 1 "$log")
read -r p1 _ f1 _ s1 _ <<<"$gtest_line"
read -r p2 _ f2 _ s2 _ <<<"$gallery_line"
read -r p3 _ f3 _ s3 _ <<<"$controls_line"
[[ "$p2" =~ ^[0-9]+$ ]] || { p2=0; f2=1; s2=0; }
[[ "$p3" =~ ^[0-9]+$ ]] || { p3=0; f3=1; s3=0; }
echo "$((p1 + p2 + p3)) passed, $((f1 + f2 + f3)) failed, $((${s1:-0} + ${s2:-0} + ${s3:-0})) skipped"
[ $((f1 + f2 + f3)) -eq 0 ]
