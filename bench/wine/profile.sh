#!/usr/bin/env bash
# The resident program's start-up, idle and redraw profile under Wine, beside
# a bare window: bench/wine/profile.sh [--runs N] [--only startup|redraw|idle|scale]
# [--against EARLIER.exe] (a second build started in turn with the first)
# Then the skin engine's paints, skinned beside unskinned (crvskinbench.exe).
# Needs the cross build (make win32) with bench/wine's programs.
set -eu
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_start_wine >/dev/null
trap corvane_stop_wine EXIT
status=0
python3 bench/wine/profile.py "$@" || status=$?
skinbench=$CORVANE_WINE_BUILD/bench/wine/crvskinbench.exe
if [ -f "$skinbench" ]; then
  # Wine's output is read through a file (see tests/wine/wine_env.sh).
  out=$(mktemp)
  timeout -k 10 300 wine "$skinbench" </dev/null >"$out" 2>&1 || echo "crvskinbench: failed ($?)" >>"$out"
  tr -d '\r' <"$out"
  rm -f "$out"
else
  echo "bench: $skinbench is missing; build it with 'make $WINEARCH'"
fi
exit "$status"
