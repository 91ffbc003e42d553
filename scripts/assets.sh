#!/usr/bin/env bash
# Generates the program's art into build/assets (icons, images, skin source).
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/assets
if [ -f resources/art/generate.py ]; then
  # Regenerate only when the generator changed since the last run.
  stamp=$out/.stamp
  if [ ! -f "$stamp" ] || [ -n "$(find resources/art -newer "$stamp" -print -quit)" ]; then
    rm -rf "$out.tmp"
    python3 resources/art/generate.py "$out.tmp"
    rm -rf "$out" && mv "$out.tmp" "$out"
    touch "$stamp"
  fi
else
  # Before the art exists: plain placeholders so the build goes through.
  mkdir -p "$out/icons"
  for n in crv root office other life security systools fun; do
    [ -f "$out/icons/$n.ico" ] || convert -size 32x32 xc:'#2456c8' "$out/icons/$n.ico"
  done
fi
