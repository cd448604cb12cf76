#!/usr/bin/env bash
# The Windows programs: the core and its unit tests cross-built with MinGW-w64 (GoogleTest from
# Debian's sources, built with the same compiler) and run under Wine, headless; then the Win32
# window (korvane-settei.exe) under Wine on a virtual display of its own, laid over the Qt
# window of build/, and both Windows programs against build/'s simulator on a Wine COM port
# (tests/windows/), the window through the shell contract too (tests/contract/). Installs what
# it needs the first time, through setup.sh.
# Builds in build-windows/, where Wine's prefix lives too.
#   tools/windows-check.sh [GoogleTest options, e.g. --gtest_filter=UserPreset.*]
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/setup.sh g++-mingw-w64-x86-64-posix wine64 googletest python3

build=$PWD/build-windows
# Release without debug information: the quickest build, and the program an owner would run.
cmake -S . -B "$build" -G Ninja --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 \
  -DKORVANE_WITH_QT=OFF -DKORVANE_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
cmake --build "$build" --target unit_tests korvane-settei korvane-settei-cli korvane-press

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

if [ "$rc" -eq 0 ] && [ $# -eq 0 ]; then
  echo "windows-check: the Win32 window under Wine, beside the Qt window" >&2
  [ -x build/korvane-settei ] && [ -x build/korvane-sim ] ||
    { echo "windows-check: build/korvane-settei or build/korvane-sim is missing: build the default preset first" >&2; exit 1; }
  # The unit tests ran without a display; Wine's desktop of that session must go before windows
  # are made, or they land on a desktop with no display at all.
  /usr/lib/wine/wineserver -w
  # A server of our own, kept until the end: started first, with its output (and the object dump
  # it prints when told to end) away from the tests' pipes, which it would otherwise inherit.
  /usr/lib/wine/wineserver -p >/dev/null 2>&1
  exec 3>"$build/xvfb.display"
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp >"$build/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -s "$build/xvfb.display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$build/xvfb.display")"
  tests/windows/win32_window_test.sh build/korvane-settei "$build/korvane-settei.exe" || rc=$?
  [ "$rc" -ne 0 ] || tests/windows/win32_e2e_test.sh build/korvane-sim "$build/korvane-settei.exe" \
    "$build/korvane-settei-cli.exe" "$build/korvane-press.exe" || rc=$?
  [ "$rc" -ne 0 ] || tests/windows/win32_press_test.sh build/korvane-sim "$build/korvane-settei.exe" \
    "$build/korvane-press.exe" || rc=$?
  # The shell contract, as the Qt window passes it in CTest (contract_qt).
  [ "$rc" -ne 0 ] || tests/contract/scenarios.sh tests/contract/win32.sh build/korvane-sim \
    "$build/korvane-settei.exe" "$build/korvane-press.exe" || rc=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
fi
/usr/lib/wine/wineserver -w  # the prefix's server ends by itself once its programs have
[ "$rc" -ne 0 ] || [ $# -ne 0 ] || ./tools/windows-package.sh
exit "$rc"
