#!/usr/bin/env bash
# Installs what is missing, builds everything from nothing and runs every test; then cross-builds
# the core and its unit tests for Windows and runs them under Wine (tools/windows-check.sh); then
# builds the whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer (preset "asan")
# and runs it once more. KORVANE_WINDOWS=0 skips the Windows check, KORVANE_SANITIZE=0 the
# sanitizer run. Arguments go to both ctest runs.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default "$@"

if [ "${KORVANE_WINDOWS:-1}" != 0 ]; then
  echo "test.sh: the core's unit tests built for Windows, under Wine" >&2
  ./tools/windows-check.sh
fi

if [ "${KORVANE_SANITIZE:-1}" != 0 ]; then
  echo "test.sh: the same suite under AddressSanitizer and UndefinedBehaviorSanitizer" >&2
  cmake --preset asan >/dev/null
  cmake --build --preset asan
  ctest --preset asan "$@"
fi
