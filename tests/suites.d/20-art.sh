#!/usr/bin/env bash
# The generated art: sizes, icon structure, skin description against its bitmaps,
# determinism. Runs the generator into temporary folders.
set -u
cd "$(dirname "$0")/../.."
py=/usr/bin/python3
[ -x "$py" ] || py=python3
"$py" tests/count.py unittest tests/unit/art/test_art.py 2>&1
