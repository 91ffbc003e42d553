#!/usr/bin/env bash
# The real program under Wine and Xvfb, driven from outside.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_start_wine || { echo "0 passed, 1 failed"; exit 1; }
python3 tests/e2e/run.py "$@"
