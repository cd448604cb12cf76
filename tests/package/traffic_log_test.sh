#!/usr/bin/env bash
# The serial traffic log, switched on with QT_LOGGING_RULES="korvane.serial.debug=true": a full
# read against the simulator must log the open, every command in the order the simulator got
# them, every reply, and the close, each with a time stamp in milliseconds that runs forward and
# shows the 400 ms between the queries. Without its port, the same run ends on its own.
# usage: traffic_log_test.sh KORVANE_SETTEI KORVANE_SIM
set -euo pipefail
app=$1 sim=$2
. "$(dirname "$0")/lib.sh"

mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
start_sim "$sim" "$work/COM1" "$work/sim.log"
rc=0
env -u QT_MESSAGE_PATTERN QT_LOGGING_RULES="korvane.serial.debug=true" \
  XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
  timeout 90 "$app" --port-dir "$work" --data-dir "$work" --read-and-screenshot "$work/w.png" \
  >"$work/app.out" 2>"$work/app.err" || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/app.err" >&2; fail "the program ended with $rc"; }

log="$work/serial.log"
sed -n 's/^korvane\.serial: //p' "$work/app.err" >"$log"
show() { cat "$log" >&2; }
grep -Evq '^[0-9]+\.[0-9]{3} (opened|sent|received|closed|open failed|line failed)( |$)' "$log" &&
  { show; fail "a line of another shape"; }
[ "$(head -n1 "$log" | cut -d' ' -f2-)" = "opened $work/COM1" ] || { show; fail "no open first"; }
[ "$(tail -n1 "$log" | cut -d' ' -f2-)" = "closed $work/COM1" ] || { show; fail "no close last"; }

sent=$(awk '$2 == "sent" {print $3}' "$log")
got=$(awk '{print $2}' "$work/sim.log")
[ "$(wc -l <<<"$got")" -eq 30 ] || fail "the simulator got $(wc -l <<<"$got") commands"
[ "$sent" = "$got" ] || { diff <(echo "$got") <(echo "$sent") >&2; fail "sent differs from the wire"; }
replies=$(sed -n 's/^[0-9.]* received //p' "$log" | tr -d '\n' | tr -cd '#' | wc -c)
[ "$replies" -eq 30 ] || { show; fail "$replies replies logged, not 30"; }

# Time runs forward, and the queries of a full read are 400 ms apart.
awk '
  $1 + 0 < last { print "time runs back at line " NR; bad = 1 }
  { last = $1 + 0 }
  $2 == "sent" && n++ > 0 && $1 - prev < 399 { print "queries " $1 - prev " ms apart"; bad = 1 }
  $2 == "sent" { prev = $1 }
  END { exit bad }' "$log" || { show; fail "time stamps"; }

# A port that cannot be opened: no box waits for a click no one can give. The message goes to
# standard error, the picture is still saved, and the status says that the read did not run.
mkdir "$work/none" && ln -s /dev/ttyKorvaneNone "$work/none/COM1"
rc=0
env -u QT_LOGGING_RULES XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen \
  timeout 60 "$app" --port-dir "$work/none" --data-dir "$work/none" \
  --read-and-screenshot "$work/none.png" >/dev/null 2>"$work/none.err" || rc=$?
[ "$rc" -eq 2 ] && is_png "$work/none.png" && grep -q '現在使用できるポートがありません' "$work/none.err" ||
  { cat "$work/none.err" >&2; fail "a run without its port ended with $rc"; }
echo "traffic log: $(wc -l <"$log") lines, 30 commands and 30 replies in order"
