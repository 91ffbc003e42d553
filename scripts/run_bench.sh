#!/usr/bin/env bash
# Runs every benchmark program of a bench tree: scripts/run_bench.sh TREE
set -euo pipefail
tree=${1:-build/bench}
found=0
while IFS= read -r prog; do
  found=1
  echo "== $(basename "$prog")"
  "$prog" --benchmark_min_time=0.2
done < <(find "$tree/bench" -type f -name '*_bench' -perm -u+x | sort)
[ "$found" -eq 1 ] || { echo "no benchmark programs in $tree/bench" >&2; exit 1; }
