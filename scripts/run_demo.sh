#!/usr/bin/env bash
# make run: a demo Wine prefix with a Chinese XP Start menu, and Corvane in it.
# On a desktop the program runs until you end it from its tray icon; with no
# display it runs under Xvfb and leaves a screenshot in build/demo-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
CORVANE_WINE_ARCH=$(bash tests/wine/wine_arch.sh)
export CORVANE_WINE_ARCH CORVANE_WINE_ARCH_CHOSEN=1 CORVANE_XVFB_DISPLAY=98
suffix=; [ "$CORVANE_WINE_ARCH" = win64 ] && suffix=64
export CORVANE_PREFIX=$PWD/build/demo-prefix$suffix
source tests/wine/wine_env.sh
corvane_start_wine
drive_c=$WINEPREFIX/drive_c
if [ ! -f "$WINEPREFIX/.corvane-demo" ]; then
  wine "$CORVANE_WINE_BUILD"/tools/demo/mkdemo.exe </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.corvane-demo"
fi
mkdir -p "$drive_c/Corvane"
cp -r build/dist/Corvane/. "$drive_c/Corvane/"
# Where 32-bit programs cannot run, the same sources built for x86_64.
cp -f "$CORVANE_WINE_BUILD/src/app/Halvorn.exe" "$drive_c/Corvane/Halvorn.exe"
driver=$CORVANE_WINE_BUILD/tests/e2e/crvdriver.exe
wine "$driver" atom Halvorn --delete </dev/null >/dev/null 2>&1 || true
if [ -z "${CORVANE_HEADLESS:-}" ]; then
  echo "Corvane is running in the demo prefix ($WINEPREFIX)."
  (cd "$drive_c/Corvane" && wine 'C:\Corvane\Halvorn.exe' </dev/null >/dev/null 2>&1)
  exit 0
fi
(cd "$drive_c/Corvane" && wine 'C:\Corvane\Halvorn.exe' </dev/null >/dev/null 2>&1) &
program=$!
sleep 6
wine "$driver" screenshot 'C:\demo.bmp' </dev/null >/dev/null 2>&1
convert "$drive_c/demo.bmp" build/demo-screenshot.png && rm -f "$drive_c/demo.bmp"
echo "screenshot: build/demo-screenshot.png"
wine taskkill /f /im Halvorn.exe </dev/null >/dev/null 2>&1 || true
# Only the program: the Xvfb this script may have started is a child too.
wait "$program" || true
corvane_stop_wine
