#!/usr/bin/env bash
# Builds the tool and opens it. With no controller attached it runs against the simulator; with no
# display it runs headless under Xvfb, connects, reads every setting from the simulator, saves a
# PNG of the window and prints its path.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target korvane-settei korvane-sim >/dev/null
bin="$PWD/build"
has_display=""
[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && has_display=yes

controller=""
for d in /dev/ttyUSB0 /dev/ttyACM0; do [ -e "$d" ] && controller="$d"; done
if [ -n "$controller" ] && [ -n "$has_display" ]; then
  exec "$bin/korvane-settei" "$@"
fi

# The demo keeps its local files in a folder of its own, so the user's "siri.DAT" and
# "SetData.txt" are never overwritten; it starts from the user's USER preset when there is one.
demo=$(mktemp -d /tmp/korvane-demo.XXXXXX)
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$demo"
}
trap cleanup EXIT
[ -f "$bin/SetData.txt" ] && cp "$bin/SetData.txt" "$demo/"
"$bin/korvane-sim" --link "$demo/COM1" >"$demo/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -e "$demo/COM1" ] && break; sleep 0.1; done
[ -e "$demo/COM1" ] || { echo "the simulator did not start:" >&2; cat "$demo/sim.out" >&2; exit 1; }

if [ -n "$has_display" ]; then
  echo "No controller attached: the window talks to the simulator on COM1."
  "$bin/korvane-settei" --port-dir "$demo" --data-dir "$demo" "$@"
else
  png="$bin/korvane-window.png"
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$bin/korvane-settei" --port-dir "$demo" --data-dir "$demo" --read-and-screenshot "$png"
fi
