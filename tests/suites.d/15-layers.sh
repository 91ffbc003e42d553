#!/usr/bin/env bash
# The layering of src/, read from its #include lines.
set -u
cd "$(dirname "$0")/../.."
python3 tests/layering/check_includes.py src
