#!/usr/bin/env bash
# The backup modes of the built program against two simulated controllers, with no display: back
# up one, make the other differ in settings of every kind, restore the first one's file onto it,
# and see that only the differing settings went over the wire and both controllers now answer
# alike. A file that smuggles a second command into a value, a port that is not there, and a
# backup that could not be saved end with status 2 before anything reaches the controller; a
# controller that hangs up is told once.
# usage: backup_cli_test.sh KORVANE_SETTEI KORVANE_SIM
set -euo pipefail
app=$1 sim=$2
. "$(dirname "$0")/lib.sh"

start_sim "$sim" "$work/COM1" "$work/a.log"
start_sim "$sim" "$work/COM2" "$work/b.log"
# run EXPECTED-STATUS MODE FILE PORT [MORE...]: the program without a display, from $work (or
# $from); its output in $work/out.
run() {
  local rc=0
  (cd "${from:-$work}" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 90 "$app" "--$2" "$3" --port "$4" \
    "${@:5}" --port-dir "$work" --data-dir "$work" >"$work/out" 2>"$work/err") || rc=$?
  [ "$rc" -eq "$1" ] || { cat "$work/out" "$work/err" >&2; fail "--$2 $3 --port $4 ended with $rc, not $1"; }
}
writes() { grep -Ev ' :(G|%B)' "$1" | awk '{print $2}' || true; }

echo " 7 " >"$work/siri.DAT"  # another port: the header must name the one opened
mkdir "$work/ports" && ln -s "$work/COM1" "$work/ports/COM1" && ln -s "$work/COM2" "$work/ports/COM2"
run 0 backup "$work/a.ini" ports/COM1  # a path from the current folder, not from /dev
[ "$(stat -c %a "$work/a.ini")" = 600 ] || fail "the backup is not for its owner only"
grep -q '^wifi_st_password=stargazer$' "$work/a.ini" || { cat "$work/a.ini" >&2; fail "a value missing"; }
grep -qx "port=$work/ports/COM1" "$work/a.ini" || { cat "$work/a.ini" >&2; fail "the header names another port"; }
grep -qx 'korvane-settei: 30/30 wifi_st_password' "$work/err" || { cat "$work/err" >&2; fail "the progress"; }

# The file forgotten: "--port" is no file name, and COM1 no stray word; nothing is read.
run 2 backup --port COM1
grep -q '^usage: ' "$work/err" && [ ! -e "$work/--port" ] || { cat "$work/err" >&2; fail "a missing FILE went unnoticed"; }

# The other controller made to differ: a whole number, three digits, a sign-inverted text, a
# typed text with a comma, an option row, a direction and a password.
sed -e 's/^max_rate=.*/max_rate=450/' -e 's/^backlash_ra=.*/backlash_ra=7/' \
  -e 's/^site_longitude=.*/site_longitude=+135*30/' -e 's/^wifi_ap_ssid=.*/wifi_ap_ssid=My,Scope 2/' \
  -e 's/^option_buzzer=.*/option_buzzer=0/' -e 's/^ra_direction=.*/ra_direction=0/' \
  -e 's/^wifi_st_password=.*/wifi_st_password=other-pw/' -e 's/^ra_steps_per_degree=.*/ra_steps_per_degree=11520/' \
  -e 's/^mount=.*/mount=EQ-A/' "$work/a.ini" >"$work/other.ini"
# Another mount's steps: refused unless accepted, naming the values and both mounts.
run 2 restore "$work/other.ini" ports/COM2
grep -q 'ra_steps_per_degree.*2133 → 11520' "$work/err" && grep -q '「EQ-A」' "$work/err" && grep -q 'accept-mechanics' "$work/err" ||
  { cat "$work/err" >&2; fail "a restore of the steps went unasked"; }
[ -z "$(writes "$work/b.log")" ] || fail "a refused restore wrote to the controller"
run 0 restore "$work/other.ini" ports/COM2 --accept-mechanics
# The journal names the device opened, as the header does, not the port "siri.DAT" names.
[ "$(tail -n +2 "$work/journal.tsv" | cut -f2 | sort -u)" = "$work/ports/COM2" ] ||
  { cat "$work/journal.tsv" >&2; fail "the journal names another port"; }
# A password shows as ******** on the terminal unless asked for.
grep -qxF $'wifi_st_password\t********\t********\t一致' "$work/out" && ! grep -q 'stargazer\|other-pw' "$work/out" "$work/err" ||
  { cat "$work/out" "$work/err" >&2; fail "a password on the terminal"; }
run 1 compare "$work/a.ini" COM2 --show-secrets
[ "$(cut -f1 "$work/out" | tr '\n' ' ')" = "max_rate ra_steps_per_degree site_longitude backlash_ra ra_direction wifi_ap_ssid option_buzzer wifi_st_password " ] ||
  { cat "$work/out" >&2; fail "--compare names other settings"; }
grep -qxF $'wifi_st_password\tother-pw\tstargazer' "$work/out" || { cat "$work/out" >&2; fail "--show-secrets"; }

before=$(wc -l <"$work/b.log")
run 0 restore "$work/a.ini" COM2 --accept-mechanics
tail -n +"$((before + 1))" "$work/b.log" >"$work/b.restore.log"
want=$':$PA400#\n:$PB2133#\n:Sg-139*44#\n:$BR010#\n:TA#\n:SmKORVANE-AP#\n:SX97,1#\n:Sqstargazer#'
[ "$(writes "$work/b.restore.log")" = "$want" ] ||
  { writes "$work/b.restore.log" >&2; fail "the restore wrote more or less than what differed"; }
[ "$(grep -c "一致$" "$work/out")" -eq 8 ] || { cat "$work/out" >&2; fail "a read-back differs"; }
"$app" --journal --data-dir "$work" >"$work/out" && grep -q stargazer "$work/journal.tsv" && grep -q $'\twifi_st_password\t' \
  "$work/out" && ! grep -q 'stargazer\|other-pw' "$work/out" || fail "--journal shows a password the journal file keeps"
# COM1 is port 1 of --port-dir, whatever "siri.DAT" names and wherever the program starts.
from=/ run 0 compare "$work/a.ini" COM1

# Refused before the port: nothing reaches the controller.
before=$(wc -l <"$work/b.log")
sed 's/^wifi_ap_ssid=.*/wifi_ap_ssid=x#:Te#/' "$work/a.ini" >"$work/tampered.ini"
run 2 restore "$work/tampered.ini" COM2
grep -q '31 行目' "$work/err" || { cat "$work/err" >&2; fail "the refusal names no line"; }
run 2 compare "$work/a.ini" COM7
[ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err" >&2; fail "the compare went on without its port"; }
[ "$(wc -l <"$work/b.log")" -eq "$before" ] || fail "a refused run wrote to the controller"
# A file that cannot be saved is refused before the read, in one message that names it.
run 2 backup "$work/missing/a.ini" COM2
[ "$(wc -l <"$work/b.log")" -eq "$before" ] && [ "$(wc -l <"$work/err")" -eq 3 ] &&
  grep -qx "korvane-settei: このファイルには保存できません。" "$work/err" && grep -qx "$work/missing/a.ini" "$work/err" ||
  { cat "$work/err" >&2; fail "the backup to a missing folder"; }
# The line lost in the read: told once, and the program run again, not "接続" pressed.
start_sim "$sim" "$work/COM3" "$work/c.log" --hangup-after 2
run 2 backup "$work/c.ini" COM3
[ "$(grep -c 通信が切れました "$work/err")" -eq 1 ] && ! grep -q 接続 "$work/err" && [ ! -e "$work/c.ini" ] ||
  { cat "$work/err" >&2; fail "the lost line"; }
echo "backup modes: backup, compare, restore and refusals as expected"
