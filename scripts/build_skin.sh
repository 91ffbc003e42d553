#!/usr/bin/env bash
# Builds Corvane's skin: skinpack in its own Release tree, the art if it has
# not been generated yet, then the package and the stored SkinStream.
#
#   scripts/build_skin.sh [SKIN_FOLDER [OUT_DIR]]
#
# Defaults: build/assets/skin and build/skin. Writes OUT_DIR/Corvane.skin (the
# package) and OUT_DIR/SkinStream.bin (int32 LE count, then the package).
set -euo pipefail
cd "$(dirname "$0")/.."

skin_folder=${1:-build/assets/skin}
out_dir=${2:-build/skin}
tree=build/tools-tree
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))

cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DCORVANE_SANITIZE=OFF >/dev/null
cmake --build "$tree" -j "$jobs" --target skinpack >/dev/null
mkdir -p build/tools
cp -f "$tree/tools/skinpack/skinpack" build/tools/skinpack

if [ "$skin_folder" = build/assets/skin ] && [ ! -d build/assets/skin ]; then
  if [ ! -f resources/art/generate.py ]; then
    echo "build_skin: no build/assets/skin and no art generator (resources/art/generate.py)" >&2
    exit 2
  fi
  python3 resources/art/generate.py build/assets
fi
if [ ! -d "$skin_folder" ]; then
  echo "build_skin: $skin_folder is not a folder" >&2
  exit 2
fi

mkdir -p "$out_dir"
build/tools/skinpack pack "$skin_folder" "$out_dir/Corvane.skin"
build/tools/skinpack stream "$out_dir/Corvane.skin" "$out_dir/SkinStream.bin"
echo "build_skin: $out_dir/Corvane.skin ($(stat -c %s "$out_dir/Corvane.skin") bytes), $out_dir/SkinStream.bin"
