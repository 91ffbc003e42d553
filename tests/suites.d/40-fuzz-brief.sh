#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) in build/fuzz and runs
# each for a few seconds from its seed corpus. New inputs go to a scratch
# folder, never into the committed corpus. Any sanitizer report fails the
# run: undefined behaviour halts it, and with the quarantine kept small the
# memory limit measures what the code holds, not what ASan keeps back.
set -u
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-5}
targets=(fuzz_lzh fuzz_skin_package fuzz_skin_description fuzz_skin_stream fuzz_bmp
         fuzz_classify_ini fuzz_journal)
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=quarantine_size_mb=16:thread_local_quarantine_size_kb=256
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

if ! CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DCORVANE_FUZZ=ON >/dev/null ||
   ! cmake --build build/fuzz -j "$jobs" --target "${targets[@]}" >/dev/null; then
  echo "fuzz targets failed to build"
  echo "0 passed, 1 failed, 0 skipped"; exit 1
fi

# A dictionary of section and key names, where the target has one.
dict_for() {
  case "$1" in
    fuzz_skin_description) echo "-dict=tests/fuzz/skin_description.dict" ;;
    fuzz_classify_ini) echo "-dict=tests/fuzz/classify_ini.dict" ;;
    fuzz_journal) echo "-dict=tests/fuzz/journal.dict" ;;
  esac
}

pass=0; fail=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for t in "${targets[@]}"; do
  mkdir -p "$tmp/$t"
  if build/fuzz/tests/fuzz/$t -max_total_time="$seconds" -rss_limit_mb=256 -timeout=10 \
       -artifact_prefix="$tmp/$t-" $(dict_for "$t") "$tmp/$t" "tests/fuzz/corpus/$t" >"$tmp/$t.log" 2>&1 &&
     ! grep -qE 'runtime error:|ERROR: [A-Za-z]+Sanitizer' "$tmp/$t.log"; then
    runs=$(grep -oE '^#[0-9]+' "$tmp/$t.log" | tail -n 1)
    echo "PASS $t (${runs:-#?} runs in ${seconds}s)"; pass=$((pass + 1))
  else
    echo "FAIL $t"; tail -n 30 "$tmp/$t.log"; fail=$((fail + 1))
  fi
done
echo "$pass passed, $fail failed, 0 skipped"
[ "$fail" -eq 0 ]
