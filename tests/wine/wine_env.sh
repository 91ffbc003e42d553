# Sourced by the Wine suites and make run: one prefix, one X server and one
# wineserver for the whole run.
#   CORVANE_WINE_ARCH  win32 or win64; chosen once per run (tests/wine/wine_arch.sh)
#   CORVANE_PREFIX     the prefix (default build/wine-prefix, build/wine-prefix64)
#   DISPLAY            used as it is when set and reachable; otherwise Xvfb on :97
#                      or the next display no live server holds
# CORVANE_WINE_BUILD is the build tree whose programs run: build/win32 under the
# 32-bit loader, build/win64 under wine64 where 32-bit programs cannot run.
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if [ -z "${CORVANE_WINE_ARCH_CHOSEN:-}" ]; then
  CORVANE_WINE_ARCH=$(bash "$_root/tests/wine/wine_arch.sh") || return 1 2>/dev/null || exit 1
  export CORVANE_WINE_ARCH CORVANE_WINE_ARCH_CHOSEN=1
fi
export WINEARCH=$CORVANE_WINE_ARCH
if [ "$WINEARCH" = win64 ]; then
  export WINEPREFIX=${CORVANE_PREFIX:-$_root/build/wine-prefix64}
  export CORVANE_WINE_BUILD=$_root/build/win64
  # Debian's wine, wine-stable and wineboot pick the 32-bit loader whenever it
  # is installed, runnable or not; these stand-ins take wine64.
  export WINELOADER=/usr/lib/wine/wine64
  _shims=$_root/build/wine64-bin
  if [ ! -x "$_shims/wine" ]; then
    mkdir -p "$_shims"
    for _n in wine wine-stable wine64; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$_shims/$_n"
    done
    chmod +x "$_shims"/*
  fi
  case ":$PATH:" in *":$_shims:"*) ;; *) export PATH=$_shims:$PATH ;; esac
else
  export WINEPREFIX=${CORVANE_PREFIX:-$_root/build/wine-prefix}
  export CORVANE_WINE_BUILD=$_root/build/win32
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

corvane_start_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${CORVANE_HEADLESS:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  export CORVANE_HEADLESS=1
  local n=${CORVANE_XVFB_DISPLAY:-97}
  # A server that answers is used again. The socket and lock of a killed one
  # stay behind; Xvfb clears those itself when the lock's process is gone.
  local pid
  for n in $(seq "$n" $((n + 20))); do
    export DISPLAY=:$n
    xdpyinfo >/dev/null 2>&1 && return 0
    pid=$(tr -dc 0-9 2>/dev/null <"/tmp/.X$n-lock" || true)
    [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && continue
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "bench: Xvfb on $DISPLAY did not answer" >&2
  done
  return 1
}

# The wineserver and the desktop inherit the standard handles of the first
# Wine call, so start them with nothing attached. What this machine cannot do
# fails here at once, with one line saying why.
corvane_start_wine() {
  local loader=/usr/lib/wine/wine out
  [ "$WINEARCH" = win64 ] && loader=/usr/lib/wine/wine64
  if ! out=$(LC_ALL=C bash -c '"$0" --version' "$loader" 2>&1 </dev/null); then
    echo "bench: the $WINEARCH Wine loader cannot run on this machine: ${out##*: }" >&2
    return 1
  fi
  if [ ! -f "$CORVANE_WINE_BUILD/tests/e2e/crvdriver.exe" ]; then
    echo "bench: $CORVANE_WINE_BUILD holds no driver; build it with 'make $WINEARCH'" >&2
    return 1
  fi
  corvane_start_display || return 1
  if ! bash "$_root/tests/wine/prepare_prefix.sh" </dev/null >/dev/null 2>&1; then
    echo "bench: could not prepare the Wine prefix $WINEPREFIX" >&2
    return 1
  fi
  wineserver -p 600 </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  corvane_wait_for_shell
}

# For a suite: the Wine session, or the suite ends here as one failure.
corvane_require_wine() {
  corvane_start_wine && corvane_register_browser || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }
}

# Wine's own browser engine stays off (above), so the suites' prefix serves
# the web-browser control and the HTML engine from the bench's stand-in
# (tests/wine/browser); the tests find its file name in CORVANE_BROWSER_STANDIN.
# Registered again at each start, as a prefix update re-registers Wine's own,
# and read back: a registration that did not take ends the suite here.
export CORVANE_BROWSER_STANDIN=crvbrowser.dll
corvane_register_browser() {
  local dll=$CORVANE_WINE_BUILD/tests/wine/$CORVANE_BROWSER_STANDIN
  if [ ! -f "$dll" ]; then
    echo "bench: $dll is missing; build it with 'make $WINEARCH'" >&2
    return 1
  fi
  local win="Z:${dll//\//\\}" file="$WINEPREFIX/drive_c/corvane_browser.reg" cls query=
  local classes="{8856F961-340A-11D0-A96B-00C04FD705A2} {25336920-03F9-11CF-8FD0-00AA00686F13}"
  {
    printf 'REGEDIT4\r\n'
    for cls in $classes; do
      printf '\r\n[HKEY_CLASSES_ROOT\\CLSID\\%s\\InprocServer32]\r\n@="%s"\r\n' \
        "$cls" "${win//\\/\\\\}"
      printf '"ThreadingModel"="Apartment"\r\n'
      query+="reg query HKCR\\CLSID\\$cls\\InprocServer32 /ve & "
    done
  } >"$file"
  wine reg import 'C:\corvane_browser.reg' </dev/null >/dev/null 2>&1
  rm -f "$file"
  local answer
  answer=$(wine cmd /c "${query% & }" </dev/null 2>&1 | tr -d '\r')
  # (The value's label comes in the prefix's code page: bytes, not text.)
  if [ "$(LC_ALL=C sed -n 's/.*REG_SZ[[:space:]]*//p' <<<"$answer" | grep -cxF "$win")" -ne 2 ]; then
    echo "bench: the browser stand-in is not registered in $WINEPREFIX: $answer" >&2
    return 1
  fi
}

# The desktop's first start in a new prefix can outlast Wine's own ten-second
# wait, and then windows and tray icons fail; wait until the taskbar is there.
corvane_wait_for_shell() {
  local driver=$CORVANE_WINE_BUILD/tests/e2e/crvdriver.exe
  local start=$SECONDS
  while [ $((SECONDS - start)) -lt 120 ]; do
    if timeout 60 wine "$driver" wait --class Shell_TrayWnd --timeout 15000 </dev/null >/dev/null 2>&1; then
      echo "bench: the taskbar is up after $((SECONDS - start)) s on $DISPLAY"
      return 0
    fi
    sleep 1
  done
  echo "bench: the Wine desktop has no taskbar after $((SECONDS - start)) s (DISPLAY=$DISPLAY)" >&2
  return 1
}

corvane_stop_wine() { wineserver -k </dev/null >/dev/null 2>&1 || true; }

# Runs a cross-built GoogleTest program under Wine, shows its output and ends
# with the count line: corvane_wine_gtest PROGRAM.exe LOGNAME. A program that
# ran no test fails.
corvane_wine_gtest() {
  mkdir -p "$_root/build/test-logs"
  local log="$_root/build/test-logs/$2.out" limit=${CORVANE_GTEST_TIMEOUT:-300} rc passed failed skipped
  # A program that waits for a window that never comes must not hold up the run.
  timeout -k 10 "$limit" wine "$1" </dev/null >"$log" 2>&1
  rc=$?
  [ "$rc" -eq 124 ] && echo "bench: $1 did not end within $limit s" >>"$log"
  cat "$log"
  passed=$(grep -c '^\[       OK \] ' "$log")
  failed=$(grep -c '^\[  FAILED  \] .*([0-9]* ms)' "$log")
  skipped=$(grep -c '^\[  SKIPPED \] .*([0-9]* ms)' "$log")
  # Each skip with the reason GoogleTest printed under "file:line: Skipped".
  tr -d '\r' <"$log" | awk '/: Skipped$/ { getline why }
    /^\[  SKIPPED \] .*\([0-9]+ ms\)$/ { sub(/ \([0-9]+ ms\)$/, ""); print "SKIP " substr($0, 14) ": " why }'
  if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
    echo "bench: $1 ended with exit $rc"; failed=1
  fi
  if [ $((passed + failed)) -eq 0 ]; then
    echo "bench: $1 ran no test"; failed=1
  fi
  echo "$passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
}
