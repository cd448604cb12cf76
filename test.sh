#!/usr/bin/env bash
# Installs what is missing, builds everything from nothing and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default "$@"
