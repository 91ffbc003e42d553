#!/usr/bin/env bash
# The real program under Wine and Xvfb, driven from outside.
set -u
cd "$(dirname "$0")/../.."
source tests/wine/wine_env.sh
corvane_require_wine
python3 tests/e2e/run.py "$@"
