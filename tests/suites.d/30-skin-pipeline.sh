#!/usr/bin/env bash
# The skin pipeline: build_skin.sh packs a skin folder, and the package holds
# every piece the engine needs. One test per skin: a skin generated here and
# Corvane's own.
set -u
cd "$(dirname "$0")/../.."
pass=0; fail=0

# pipeline LABEL OUT_DIR [build_skin.sh arguments]: packs and checks
# OUT_DIR/Corvane.skin; one test, passed only when every check is.
pipeline() {
  local label=$1 out=$2; shift 2
  if ! bash scripts/build_skin.sh "$@"; then
    fail=$((fail + 1)); echo "FAIL [$label] build_skin.sh failed"; return
  fi
  if [ ! -f "$out/Corvane.skin" ] || [ ! -f "$out/SkinStream.bin" ]; then
    fail=$((fail + 1)); echo "FAIL [$label] no package in $out"; return
  fi
  local report rc
  report=$(python3 tests/unit/skin/check_skin.py build/tools/skinpack "$out/Corvane.skin" \
             "$out/SkinStream.bin" 2>&1)
  rc=$?
  echo "$report" | sed "s/^/   [$label] /"
  if [ $rc -eq 0 ] && ! echo "$report" | grep -q '^FAIL'; then
    pass=$((pass + 1)); echo "PASS [$label]"
  else
    fail=$((fail + 1)); echo "FAIL [$label] check_skin.py (exit $rc)"
  fi
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 tests/unit/skin/make_test_skin.py "$tmp/skin"
pipeline "generated skin" "$tmp/out" "$tmp/skin" "$tmp/out"
# The build packs it too; its art generator is in the tree, so this never skips.
pipeline "Corvane skin" build/skin
echo "$pass passed, $fail failed, 0 skipped"
[ "$fail" -eq 0 ]
