#!/usr/bin/env bash
# Makes the Wine prefix the tests and the demo run in: Chinese code page,
# CJK fonts, no Mono or Gecko prompts, a virtual desktop, Windows XP.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
# Bump the stamp when the preparation changes, so old prefixes are redone.
stamp="$WINEPREFIX/.corvane-prepared-5"
[ -f "$stamp" ] && exit 0
corvane_start_display
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i </dev/null >/dev/null 2>&1 || true
# A loader that cannot start leaves a prefix with an empty drive_c. (The
# registry files are written later, when the wineserver saves them.)
if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
  echo "prepare_prefix: wineboot made no Windows in $WINEPREFIX" >&2
  exit 1
fi
# A Song face with 12-pixel bitmaps stands in for 宋体, as on a Chinese XP.
font='AR PL UMing CN'
add() { wine reg add "$1" /v "$2" /d "$3" /f </dev/null >/dev/null 2>&1; }
add 'HKCU\Software\Wine' Version winxp
# A desktop named "shell" comes with a taskbar, which holds the notification area.
add 'HKCU\Software\Wine\Explorer' Desktop shell
add 'HKCU\Software\Wine\Explorer\Desktops' shell 1024x768
for name in 宋体 SimSun 新宋体 NSimSun 楷体_GB2312 'MS Sans Serif' 'MS Shell Dlg' Tahoma; do
  add 'HKCU\Software\Wine\Fonts\Replacements' "$name" "$font"
done
# Wine's own fonts (Marlett draws the caption buttons) are not always found
# by the 32-bit loader; the prefix's Fonts folder always is.
for f in /usr/share/wine/fonts/*.ttf; do
  [ -e "$f" ] && cp -n "$f" "$WINEPREFIX/drive_c/windows/Fonts/"
done
touch "$stamp"
