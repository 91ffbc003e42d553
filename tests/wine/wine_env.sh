# Sourced by the Wine suites and make run: one prefix, one X server and one
# wineserver for the whole run.
#   CORVANE_PREFIX  the prefix (default build/wine-prefix)
#   DISPLAY         used as it is when set and reachable; otherwise Xvfb on :97
#                   or the next display no live server holds
_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=${CORVANE_PREFIX:-$_root/build/wine-prefix}
export WINEARCH=win32
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
# Wine call, so start them with nothing attached.
corvane_start_wine() {
  corvane_start_display
  bash "$_root/tests/wine/prepare_prefix.sh" </dev/null >/dev/null 2>&1 || echo "bench: could not prepare the Wine prefix $WINEPREFIX" >&2
  wineserver -p 600 </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  corvane_wait_for_shell
}

# The desktop's first start in a new prefix can outlast Wine's own ten-second
# wait, and then windows and tray icons fail; wait until the taskbar is there.
corvane_wait_for_shell() {
  local driver=$_root/build/win32/tests/e2e/crvdriver.exe
  [ -f "$driver" ] || return 0
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
  [ $((passed + failed)) -eq 0 ] && echo "bench: $1 ran no test"
  echo "$passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ] && [ $((passed + failed)) -gt 0 ]
}
