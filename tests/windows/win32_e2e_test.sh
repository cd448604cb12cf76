#!/usr/bin/env bash
# The Windows programs under Wine against the simulator on a pseudo-terminal linked as the Wine
# port COM5: the window reads every setting (--read-and-screenshot) with its queries 400 ms apart;
# the console program backs up, compares and restores with the exit statuses of the Linux
# command line and its Japanese words (UTF-8 in a file), finds the controller's port (--find),
# logs its traffic when asked, and refuses at once a backup it could not save; the window program
# leaves those modes to the console program; and the
# window finds the port from its menu, then its own comparison (its menu, the open dialog, the
# list with the differing row ticked, "書き込み", all pressed by korvane-press.exe) writes back
# what differs.
# Run by tools/windows-check.sh, with WINEPREFIX and DISPLAY set.
# usage: win32_e2e_test.sh KORVANE_SIM WIN32_KORVANE_SETTEI_EXE WIN32_KORVANE_SETTEI_CLI_EXE
#        KORVANE_PRESS_EXE
set -euo pipefail
sim=$(realpath "$1") exe=$(realpath "$2") cli=$(realpath "$3") press=$(realpath "$4")
work=$(mktemp -d /tmp/korvane-win32-e2e.XXXXXX)
com5=$WINEPREFIX/dosdevices/com5
sim_pid=
cleanup() {
  [ -z "$sim_pid" ] || { kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null; } || true
  /usr/lib/wine/wine64 reg delete 'HKLM\Software\Wine\Ports' /v COM5 /f >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
rm -f "$com5"
"$sim" --link "$com5" --log "$work/sim.log" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -L "$com5" ] && [ -e "$com5" ] && break; sleep 0.05; done
[ -e "$com5" ] || fail "the simulator made no COM5"
# COM5 one of the system's ports, as an adapter plugged in is: Wine lists the ports its
# registry names when its server starts (the search asks the system which ports there are).
/usr/lib/wine/wine64 reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$(readlink "$com5")" /f >/dev/null 2>&1
/usr/lib/wine/wineserver -k && /usr/lib/wine/wineserver -p >/dev/null 2>&1
# run EXPECTED-STATUS PROGRAM ARGS...: from the scratch folder, whose siri.DAT names port 5.
run() {
  local want=$1 rc=0
  shift
  (cd "$work" && timeout 90 /usr/lib/wine/wine64 "$@" --data-dir "$work" \
    >"$work/out" 2>"$work/err") || rc=$?
  [ "$rc" -eq "$want" ] || { cat "$work/out" "$work/err" >&2; fail "$(basename "$1") ${*:2} ended with $rc, not $want"; }
}
printf ' 5 \r\n' >"$work/siri.DAT"

run 0 "$exe" --read-and-screenshot read.png
[ "$(wc -l <"$work/sim.log")" -eq 30 ] || fail "the read sent $(wc -l <"$work/sim.log") queries, not 30"
# As the simulator receives them: a busy machine delays a write's bytes by a few milliseconds.
awk 'NR > 1 && ($1 - last < 390 || $1 - last > 450) { print "queries " $1 - last " ms apart"; bad = 1 }
     { last = $1 } END { exit bad }' "$work/sim.log" || fail "the queries are not 400 ms apart"

run 0 "$cli" --find
tr -d '\r' <"$work/out" | grep -q $'^COM5\t.*\tコントローラー$' && [ "$(tail -n 1 "$work/out" | tr -d '\r')" = "見つかったポート: COM5" ] ||
  { cat "$work/out" >&2; fail "--find did not find COM5"; }
[ "$(wc -l <"$work/sim.log")" -eq 31 ] || fail "the search sent $(($(wc -l <"$work/sim.log") - 30)) queries, not 1"
run 0 "$cli" --backup a.ini --port COM5
# Written as Windows writes its text files, with CR LF.
grep -qx $'max_rate=400\r' "$work/a.ini" && grep -qx $'port=COM5\r' "$work/a.ini" || { cat "$work/a.ini" >&2; fail "the backup"; }
# The traffic log on standard error, turned on in cmd.exe as the read-me says (Wine passes no
# QT_ variable from here): each query and its answer, the passwords masked.
(cd "$work" && timeout 90 /usr/lib/wine/wine64 cmd /c "set QT_LOGGING_RULES=korvane.serial.debug=true&& \
  Z:$(tr / '\\' <<<"$cli") --backup c.ini --port COM5 2>err") >/dev/null 2>&1 || fail "the logged backup"
log=$(grep -c '^korvane.serial: [0-9.]* sent :' "$work/err" || true)
[ "$log" -eq 30 ] && grep -q '^korvane.serial: [0-9.]* received 400#' "$work/err" &&
  grep -q '^korvane.serial: [0-9.]* received \*\*\*\*\*\*\*\*#' "$work/err" &&
  grep -q $'^korvane.serial: [0-9.]* opened COM5\r\\?$' "$work/err" || { cat "$work/err" >&2; fail "the traffic log ($log queries)"; }
sed 's/^max_rate=.*/max_rate=450/' "$work/a.ini" >"$work/b.ini"
run 1 "$cli" --compare b.ini
[ "$(cut -f1 "$work/out")" = max_rate ] || { cat "$work/out" >&2; fail "--compare names other settings"; }
run 0 "$cli" --restore b.ini
grep -q $'^max_rate\t450\t450\t一致' "$work/out" && grep -q ':$PA450#' "$work/sim.log" ||
  { cat "$work/out" >&2; fail "the restore"; }
run 2 "$cli" --compare b.ini --port COM7

# The console program never opens the window: without a mode it gives its usage, as for "/?".
run 2 "$cli"
[ "$(head -n 1 "$work/err" | tr -d '\r')" = "Usage: korvane-settei-cli.exe [options]" ] || { cat "$work/err" >&2; fail "no usage"; }
mv "$work/err" "$work/usage" && run 0 "$cli" /? && cmp -s "$work/out" "$work/usage" || fail "/? is not the usage"
# A backup that cannot be saved asks the controller nothing; the window program leaves the modes
# without a window to the console program, in a box, and ends with 2 having touched nothing.
n=$(wc -l <"$work/sim.log")
printf x >"$work/kept.ini" && chmod 444 "$work/kept.ini"
run 2 "$cli" --backup missing/a.ini --port COM5
grep -q '保存先のフォルダーがありません' "$work/err" || { cat "$work/err" >&2; fail "the backup to a missing folder"; }
run 2 "$cli" --backup kept.ini --port COM5
grep -q '読み取り専用' "$work/err" || { cat "$work/err" >&2; fail "the backup over a read-only file"; }
(cd "$work" && exec timeout 60 /usr/lib/wine/wine64 "$exe" --backup x.ini --port COM5 --data-dir "$work") >/dev/null 2>&1 &
tool=$!
/usr/lib/wine/wine64 "$press" --lone-box >"$work/box" || fail "the window program showed no box for --backup"
rc=0 && wait "$tool" || rc=$?
[ "$rc" -eq 2 ] && [ ! -e "$work/x.ini" ] && grep -q 'korvane-settei-cli.exe --backup' "$work/box" ||
  { cat "$work/box" >&2; fail "the window program's --backup ended with $rc"; }
[ "$(wc -l <"$work/sim.log")" -eq "$n" ] || fail "a refused backup queried the controller"

# The controller now holds b.ini's 450; the window, on port 1, finds it from its menu ("通信"),
# then compares it with a.ini and writes back 400.
printf ' 1 \r\n' >"$work/siri.DAT"
(cd "$work" && exec /usr/lib/wine/wine64 "$exe" --data-dir "$work") >/dev/null 2>&1 &
tool=$!
n=$(wc -l <"$work/sim.log")
/usr/lib/wine/wine64 "$press" --menu 10 --ok || fail "no word from the search"
# The port found is the one "接続" opens: its query, then the read's.
[ "$(wc -l <"$work/sim.log")" -eq $((n + 1)) ] || fail "the window's search did not reach COM5 once"
n=$((n + 1))
/usr/lib/wine/wine64 "$press" Command11  # 接続 first, as the menu asks: its 30 queries, then the
for _ in $(seq 300); do [ "$(wc -l <"$work/sim.log")" -ge $((n + 30)) ] && break; sleep 0.1; done
sleep 1  # last answer's wait
# The comparison's read shows "n / 30" over the disabled window, and its cancel stops the read.
n=$(wc -l <"$work/sim.log")
said=$(/usr/lib/wine/wine64 "$press" --menu 2 --open "Z:$(tr / '\\' <<<"$work/a.ini")" --cancel --ok | tr -d '\r')
sleep 1
[[ "$said" =~ ^[0-9]+\ /\ 30$ ]] && [ "$(wc -l <"$work/sim.log")" -lt $((n + 30)) ] ||
  fail "the read's progress said '$said' and $(($(wc -l <"$work/sim.log") - n)) settings were read"
# After "書き込み" the focus goes on to "閉じる" (2), for Tab and Escape.
focus=$(/usr/lib/wine/wine64 "$press" --menu 2 --open "Z:$(tr / '\\' <<<"$work/a.ini")" --write \
  --focus KorvaneSetteiTable | tr -d '\r')
[ "$focus" = 2 ] || fail "the focus is on $focus after 書き込み, not on 閉じる"
/usr/lib/wine/wine64 "$press" --close || true
for _ in $(seq 150); do kill -0 "$tool" 2>/dev/null || break; sleep 0.1; done
kill "$tool" 2>/dev/null && fail "the window did not end once closed"
[ "$(tail -n +$((n + 1)) "$work/sim.log" | awk '{print $2}' | tail -n 2 | tr '\n' ' ')" = ':$PA400# :GXE1# ' ] ||
  { tail -n 5 "$work/sim.log" >&2; fail "the window's comparison did not write back max_rate"; }
echo "win32 end to end: a read of 30 settings 400 ms apart; COM5 found; backup, compare and restore over COM5, by the console program and by the window; the modes refused by the window program and unsavable backups before any query"
