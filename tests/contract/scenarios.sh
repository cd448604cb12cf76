#!/usr/bin/env bash
# The shell contract: what every shell of the tool does, told by the bytes the controller receives
# (the simulator's wire log) and what the operator is shown. Written once, run against each shell
# through its driver; a new shell passes by writing one.
# usage: scenarios.sh DRIVER DRIVER-ARGS...
#
# A driver is a bash file, sourced here with DRIVER-ARGS, that defines over its shell:
#   sim_link          where the simulator's line must appear for the tool to open it as port 5
#   launch            start the tool in the background on the folder $work (which holds siri.DAT,
#                     naming port 5, and where the journal goes), its traffic log on
#                     (QT_LOGGING_RULES=korvane.serial.debug=true) into $work/tool.err; $tool its
#                     process id
#   hand VERB...      korvane-press.exe's verbs (tests/windows/press.cpp), run against the tool:
#                     NAME (a click), --menu N, --open PATH (answer the file dialog), --cancel
#                     (print the progress text and cancel it), --ok, --boxes, --journal (entries,
#                     the chosen row, then what the shell adds; then Enter in its list), --close,
#                     --keys NAME K,K... with
#                     keys named F4, Down, Escape, Enter; its output without carriage returns
#   driver_end        (if defined) run once the scenarios end
#   picture           a picture run (--read-and-screenshot "$work/read.png") in the foreground,
#                     ending with the program's exit status
set -euo pipefail
driver=$(realpath "$1")
shift
work=$(mktemp -d /tmp/korvane-contract.XXXXXX)
pids=()
stop() {
  for pid in "${pids[@]}"; do { kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; } || true; done
  pids=()
}
trap 'stop; ! declare -F driver_end >/dev/null || driver_end; rm -rf "$work"' EXIT
scenario=start
fail() {
  echo "FAIL ($(basename "$driver")): $scenario: $*" >&2
  exit 1
}
# shellcheck source=/dev/null
source "$driver"
printf ' 5 \r\n' >"$work/siri.DAT"

# start_sim SIM-OPTIONS...: a fresh simulator, and no tool; start: the tool on it too.
start_sim() {
  stop
  rm -f "$(sim_link)" "$work/sim.log" "$work/journal.tsv"
  "$sim" --link "$(sim_link)" --log "$work/sim.log" "$@" >"$work/sim.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$(sim_link)" ] && break; sleep 0.05; done
}
start() {
  start_sim "$@"
  launch
  pids+=("$tool")
}
count() { wc -l <"$work/sim.log"; }
sent() { tail -n +$(($1 + 1)) "$work/sim.log" | awk '{print $2}' | tr '\n' ' '; }  # after the first $1
# settle N: wait up to 20 s for N commands in all, then 1 s more for any that should not come.
settle() {
  for _ in $(seq 200); do [ "$(count)" -ge "$1" ] && break; sleep 0.1; done
  sleep 1
}
ends() {
  for _ in $(seq 100); do kill -0 "$tool" 2>/dev/null || return 0; sleep 0.1; done
  fail "the program did not end after its window closed"
}

# The 30 queries of "接続", one per row; a SET writes its field, an option switch its command and,
# a second later, its row's query.
read_all=':GXE1# :GXE4# :GXE5# :GXE7# :GXEE# :Gg# :Gt# :GG# :%BR# :%BD# :GXEA# :GXE9# :Go# :Gh# :G1# :G2# :GX81# :GXEF# '
read_all+=':GXEG# :GXEH# :GX80# :GXEL# :GXEM# :GXEN# :GXEI# :GX95# :GXEQ# :GXEP# :GXES# :GXET# '

scenario="接続, two SETs and an option switch write the same bytes"
start
hand Command11 && settle 30
hand "Command6(0)" && settle 31 && hand "Command6(1)" && settle 32
[ "$(sent 0)" = "$read_all:\$PA400# :\$PB2133# " ] || fail "$(sent 0)"

scenario="the journal lists both SETs with the newest chosen for undo; Enter there undoes nothing"
listed=$(hand --menu 3 --journal | cut -d' ' -f1-2)
[ "$listed" = "2 0" ] && grep -q $'\tmax_rate\tMaxRate\t400\t400\t\tKORVANE-AP$' "$work/journal.tsv" ||
  fail "$listed (entries, chosen), not 2 0; the journal: $(cat "$work/journal.tsv")"
sleep 1
[ "$(count)" -eq 32 ] && [ "$(hand --boxes)" = 0 ] ||
  fail "Enter in the journal's list wrote $(sent 32)and showed $(hand --boxes) boxes"
scenario="接続, two SETs and an option switch write the same bytes"
hand Command13 && settle 34
[ "$(sent 32)" = ":SX97,1# :GXEP# " ] || fail "the switch wrote $(sent 32)"

scenario="browsing the preset list writes nothing until a pick is taken"
n=$(count)
hand --keys Combo2 F4,Down,Down,Escape && sleep 2
[ "$(sent "$n")" = "" ] || fail "the list left with Escape wrote $(sent "$n")"
hand --keys Combo2 F4,Down,Down,Enter && settle $((n + 9)) && sleep 2
want=":TB# :TD# :TB# :TD# :\$PA400# :\$PB2133# :\$PC2133# :\$PD5333# :\$PE5333# "
[ "$(sent "$n")" = "$want" ] || fail "the pick wrote $(sent "$n"), not $want"

scenario="a backup from the menu shows its progress and cancelled writes no file"
n=$(count)
said=$(hand --menu 1 --open "$work/backup.ini" --cancel --ok)
sleep 1
[[ "$said" =~ ^[0-9]+\ /\ 30$ ]] && [ "$(count)" -lt $((n + 30)) ] ||
  fail "the progress said '$said' and $(($(count) - n)) settings were read"
[ ! -e "$work/backup.ini" ] || fail "a cancelled backup wrote its file"
hand --close
ends

scenario="a controller that hangs up is told once and nothing more is written"
start --hangup-after 2
hand Command11 && sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$tool/stat"; }
before=$(ticks) && sleep 5 && after=$(ticks)
[ $((after - before)) -le 25 ] || fail "$((after - before)) ticks of processor in 5 s with its box up"
boxes=$(hand --boxes)
[ "$boxes" = 1 ] || fail "told in $boxes message boxes"
# Answered, the read goes on through its rows without writing, and says nothing more.
hand --ok && sleep 3
boxes=$(hand --boxes)
[ "$boxes" = 0 ] || fail "$boxes more message boxes after the first"
# The simulator has gone with the line: what the tool wrote is in its own traffic log.
wrote=$(grep -c '^korvane.serial: [0-9.]* sent ' "$work/tool.err" || true)
[ "$wrote" -eq 2 ] || fail "the tool wrote $wrote commands, not 2: $(cat "$work/tool.err")"
start --hangup-after 2
hand Command11 && sleep 3 && hand --close  # with the message box up
ends

scenario="a picture run ends 0 after a full read, 2 without a controller"
start_sim
rc=0 && picture || rc=$?
[ "$rc" -eq 0 ] && [ "$(sent 0)" = "$read_all" ] || fail "against the simulator: status $rc, sent $(sent 0)"
stop && rm -f "$(sim_link)"
rc=0 && picture || rc=$?
[ "$rc" -eq 2 ] || fail "without a controller: status $rc"
echo "contract ($(basename "$driver")): 6 scenarios passed"
