#!/usr/bin/env bash
# The resident program's start-up, idle and redraw profile under Wine, beside
# a bare window: bench/wine/profile.sh [--runs N] [--only startup|redraw|idle]
# Needs the cross build (make win32) with bench/wine's crvbench.exe.
set -eu
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_start_wine >/dev/null
trap corvane_stop_wine EXIT
python3 bench/wine/profile.py "$@"
