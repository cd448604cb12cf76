#!/usr/bin/env bash
# Figures of the Windows programs under Wine, not tests: the size of each .exe, start-up to the
# window shown, the processor share of the window idle for 10 s with its port open, and the
# spacing of a read-all's queries on the wire. Needs tools/windows-check.sh's build (and its Wine
# prefix) and build/korvane-sim; starts a virtual display of its own.
#   bench/windows-figures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build-windows
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64 press=$build/korvane-press.exe
work=$(mktemp -d /tmp/korvane-win32-figures.XXXXXX)
pids=()
cleanup() {  # the display last: the programs still on it would complain
  for ((i = ${#pids[@]} - 1; i >= 1; i--)); do { kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null; } || true; done
  /usr/lib/wine/wineserver -k 2>/dev/null || true  # the prefix's server, kept warm above
  kill "${pids[0]}" 2>/dev/null && wait "${pids[0]}" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
/usr/lib/wine/wineserver -p >/dev/null 2>&1 || true  # warm: what a second start costs
"$wine" "$build/korvane-settei-cli.exe" --version >/dev/null  # Wine's own services started
printf ' 5 \r\n' >"$work/siri.DAT"
build/korvane-sim --link "$WINEPREFIX/dosdevices/com5" --log "$work/sim.log" >/dev/null 2>&1 &
pids+=($!)
sleep 0.3

for exe in korvane-settei.exe korvane-settei-cli.exe; do
  echo "$exe: $(($(stat -c %s "$build/$exe") / 1024)) KiB"
done
start=$(date +%s%N)
(cd "$work" && exec "$wine" "$build/korvane-settei.exe" --data-dir "$work" --port-dir "$work") >/dev/null 2>&1 &
tool=$!
pids+=("$tool")
"$wine" "$press" --boxes >/dev/null  # returns once the window and its controls are shown
echo "start-up to the window shown (Wine warm, including the press tool's own start): $((($(date +%s%N) - start) / 1000000)) ms"

"$wine" "$press" Command11 && sleep 13
awk 'NR > 1 { d = $1 - last; if (min == "" || d < min) min = d; if (d > max) max = d }
     { last = $1 } END { printf "read-all: %d queries, %.1f to %.1f ms apart\n", NR, min, max }' "$work/sim.log"
ticks() { awk '{print $14 + $15}' "/proc/$tool/stat"; }
before=$(ticks) && sleep 10 && after=$(ticks)
echo "processor share of 10 s idle with the port open: $(awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * t / hz / 10 }') %"
"$wine" "$press" --close
