#!/usr/bin/env bash
# The distribution folder and the executable in it.
set -u
cd "$(dirname "$0")/../.."
bash scripts/make_dist.sh && python3 tests/dist/check_dist.py
