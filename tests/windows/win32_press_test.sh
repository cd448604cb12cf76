#!/usr/bin/env bash
# The Windows window under Wine pressed from outside (korvane-press.exe) against the simulator on
# the Wine port COM5, for what only this shell has to show beyond the shell contract
# (tests/contract/): the focus starts at the port box and Tab follows TabOrder(); the port box's
# tooltip shows over its text; Enter and Escape in a field open no dialog; Enter presses the
# focused button, nothing in a field, and a dialog gone leaves the focus where it was; moved to a
# monitor of another scale, every control and the journal follow; the window closed in the
# middle of a read sends nothing more and the program ends. Run by tools/windows-check.sh, with
# WINEPREFIX and DISPLAY set.
# usage: win32_press_test.sh KORVANE_SIM WIN32_KORVANE_SETTEI_EXE KORVANE_PRESS_EXE
set -euo pipefail
sim=$(realpath "$1") exe=$(realpath "$2") press=$(realpath "$3")
work=$(mktemp -d /tmp/korvane-win32-press.XXXXXX)
com5=$WINEPREFIX/dosdevices/com5
pids=()
cleanup() {
  for pid in "${pids[@]}"; do { kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; } || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
printf ' 5 \r\n' >"$work/siri.DAT"
wine=/usr/lib/wine/wine64
hand() { "$wine" "$press" "$@"; }
sent() { awk '{print $2}' "$work/sim.log" | tr '\n' ' '; }

# start SIM-OPTIONS...: a fresh simulator on COM5 and a fresh window; $tool is the window's
# process.
start() {
  for pid in "${pids[@]}"; do { kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; } || true; done
  pids=()
  rm -f "$com5" "$work/sim.log"
  "$sim" --link "$com5" --log "$work/sim.log" "$@" >"$work/sim.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$com5" ] && break; sleep 0.05; done
  (cd "$work" && exec "$wine" "$exe" --data-dir "$work") >"$work/tool.out" 2>&1 &
  tool=$!
  pids+=("$tool")
}

start
# The focus starts at the port box, and Tab goes round the core's TabOrder() back to it.
hand --order | tr -d '\r' >"$work/order.txt" && head -1 "$work/order.txt" >>"$work/order.txt"
hand --tab $(($(wc -l <"$work/order.txt") - 1)) | tr -d '\r' | diff "$work/order.txt" - >&2 ||
  fail "the first focus and Tab do not follow TabOrder()"
# The port box's tooltip shows over its text too, not over its arrow alone.
[ "$(hand --tip Combo1 | tr -d '\r')" = 1 ] || fail "no tooltip over the port box's text"
hand Command11 && sleep 13  # 接続 (30 queries 400 ms apart): the port open for the keys
# Keys with the port open: Enter (13) and Escape (27) in a field open no dialog.
for key in 13 27; do  # a file dialog can take 2 s to show under Wine
  hand --keys "Text1(0)" $key && sleep 3 && [ "$(hand --boxes | tr -d '\r')" = 0 ] || fail "key $key in a field"
done
# Enter on a button that took the focus by a click presses it, the keypad's Enter too; in a field
# nothing; a dialog in front and gone again leaves the focus where it was.
n=$(wc -l <"$work/sim.log")
for b in "Command6(0) 13" "Command6(1) 269"; do
  hand --click ${b% *} && sleep 1.5 && hand --keys $b && sleep 1.5
done
hand --click "Text1(2)" --menu 3 --journal >/dev/null && [ "$(hand --tab 0 | tr -d '\r')" = "Text1(2)" ] ||
  fail "the focus is on $(hand --tab 0 | tr -d '\r') after the journal, not on Text1(2)"
hand --keys "Text1(2)" 13 && sleep 1.5
want=":\$PA400# :\$PA400# :\$PB2133# :\$PB2133# "
[ "$(sent | cut -d' ' -f$((n + 1))-)" = "$want" ] || fail "Enter wrote $(sent | cut -d' ' -f$((n + 1))-), not $want"
# ends: the window closed, the program gone within 10 s.
ends() {
  for _ in $(seq 100); do kill -0 "$tool" 2>/dev/null || return 0; sleep 0.1; done
  fail "the program did not end after its window closed"
}
# Moved to a monitor at 150 %: every control where the table puts it at 144 DPI, and back. A
# dialog opened there is scaled as the window is: the journal's 960 x 520, its columns as wide as
# their text in the larger font.
read -r _ _ w h column < <(hand --menu 3 --journal | tr -d '\r')
[ "$w $h" = "960 520" ] || fail "the journal at 96 DPI: $w x $h, not 960 x 520"
hand --rects >"$work/96.txt" && hand --dpi 144 --rects >"$work/144.txt"
read -r _ _ w h wider < <(hand --menu 3 --journal | tr -d '\r')
[ "$w $h" = "1440 780" ] && [ "$wider" -gt $((column * 5 / 4)) ] ||
  fail "the journal at 144 DPI: $w x $h, its first column $wider (at 96 DPI $column)"
hand --dpi 96 --rects >"$work/back.txt"
awk 'NR == FNR { at[$1] = $0; next }
     { split(at[$1], a); for (i = 2; i <= 5; i++) if ($i - a[i] * 1.5 > 2 || a[i] * 1.5 - $i > 2) { print "at 144 DPI: " $0 " (96: " at[$1] ")"; bad = 1 } }
     END { exit bad }' "$work/96.txt" "$work/144.txt" || fail "the window did not follow the monitor's DPI"
cmp -s "$work/96.txt" "$work/back.txt" || fail "the window is not as it was once back at 96 DPI"
[ "$(wc -l <"$work/144.txt")" -gt 100 ] || fail "only $(wc -l <"$work/144.txt") controls at 144 DPI"
hand Command11 && sleep 2 && hand --close && sleep 1
n=$(wc -l <"$work/sim.log")
ends
[ "$(wc -l <"$work/sim.log")" -eq "$n" ] || fail "commands after the close: $(sent)"

echo "win32 presses: Tab and the focus, the port box's tooltip, Enter and Escape, 144 DPI followed, a close ends the read"
