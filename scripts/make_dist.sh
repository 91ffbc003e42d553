#!/usr/bin/env bash
# build/dist/Corvane: what users unpack and start, and a zip of it.
set -euo pipefail
cd "$(dirname "$0")/.."
dist=build/dist/Corvane
rm -rf "$dist" && mkdir -p "$dist/Icon"
i686-w64-mingw32-strip -o "$dist/Halvorn.exe" build/win32/src/app/Halvorn.exe
# The program reads its files in the ANSI code page, with Windows line ends.
to_ansi() { iconv -f UTF-8 -t GBK "$1" | sed 's/\r*$/\r/' > "$2"; }
to_ansi resources/dist/classify.ini "$dist/classify.ini"
to_ansi resources/dist/whatsnew.txt "$dist/whatsnew.txt"
# The banner strip's page, carried so that the strip never needs the network.
to_ansi resources/dist/banner.htm "$dist/banner.htm"
cp build/assets/icons/*.ico "$dist/Icon/"
(cd build/dist && rm -f Corvane-1.2.zip && zip -qr Corvane-1.2.zip Corvane)
echo "dist: $dist and build/dist/Corvane-1.2.zip"
