#!/usr/bin/env bash
# The generated art: sizes, icon structure, skin description against its bitmaps,
# determinism. Runs the generator into temporary folders.
set -u
cd "$(dirname "$0")/../.."
py=/usr/bin/python3
[ -x "$py" ] || py=python3
out=$("$py" -m unittest -v tests/unit/art/test_art.py 2>&1)
rc=$?
echo "$out"
ran=$(echo "$out" | sed -nE 's/^Ran ([0-9]+) tests? .*/\1/p' | tail -n 1)
bad=$(echo "$out" | sed -nE 's/^FAILED \((.*)\)$/\1/p' | tail -n 1 |
      awk -F'[=, ]+' '{n=0; for (i=1;i<=NF;i++) if ($i=="failures"||$i=="errors") n+=$(i+1); print n}')
ran=${ran:-0}; bad=${bad:-0}
if [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ]; then bad=1; fi
echo "$((ran - bad)) passed, $bad failed"
exit $rc
