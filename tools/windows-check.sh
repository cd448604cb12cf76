#!/usr/bin/env bash
# The core and its unit tests as Windows programs: cross-built with MinGW-w64 (GoogleTest from
# Debian's sources, built with the same compiler) and run under Wine, headless. Installs what it
# needs the first time, through setup.sh. Builds in build-windows/, where Wine's prefix lives too.
#   tools/windows-check.sh [GoogleTest options, e.g. --gtest_filter=UserPreset.*]
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh g++-mingw-w64-x86-64-posix wine64 googletest

build=$PWD/build-windows
# Release without debug information: the quickest build, and the program an owner would run.
cmake -S . -B "$build" -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 \
  -DKORVANE_WITH_QT=OFF -DKORVANE_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$build" --target unit_tests

# A prefix of our own, no display (console programs need none), no Mono or Gecko to offer.
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "windows-check: preparing Wine in $WINEPREFIX" >&2
  "$wine" wineboot --init >"$build/wineboot.log" 2>&1 || { cat "$build/wineboot.log" >&2; exit 1; }
fi

echo "windows-check: the core's unit tests under $("$wine" --version)" >&2
rc=0
"$wine" "$build/tests/unit/unit_tests.exe" --gtest_brief=1 "$@" || rc=$?
/usr/lib/wine/wineserver -w  # the prefix's server ends by itself once its programs have
exit "$rc"
