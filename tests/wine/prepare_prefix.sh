#!/usr/bin/env bash
# Makes the Wine prefix the tests and the demo run in: Chinese code page,
# CJK fonts, no Mono or Gecko prompts, a virtual desktop, Windows XP.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
stamp="$WINEPREFIX/.corvane-prepared"
[ -f "$stamp" ] && exit 0
corvane_start_display
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
font=$(fc-match -f '%{family[0]}' 'WenQuanYi Zen Hei' 2>/dev/null || echo 'WenQuanYi Zen Hei')
reg=$(mktemp --suffix=.reg)
cat >"$reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="winxp"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"SimSun"="$font"
"MS Sans Serif"="$font"
"Tahoma"="$font"
REG
# The Chinese names go in through the registry tool, which takes UTF-8 here.
wine regedit /S "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
for name in 宋体 楷体_GB2312 新宋体; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d "$font" /f </dev/null >/dev/null 2>&1
done
rm -f "$reg"
wineserver -w
touch "$stamp"
