#!/usr/bin/env bash
# `--find` and `--port auto` of the built program against simulators on pseudo-terminals: a
# controller, a silent port, another device (a modem answering "OK"), a link to nothing, and a
# port another process holds open. The exit status says one (0), none (1) or several (3); each
# device gets one query and nothing more, under all its names; the held port gets nothing, not
# even its line set; a backup with --port auto goes to the one controller found, and to none when
# there are two.
# Run as an ordinary user when started as root, as an owner runs it: this machine's own serial
# ports are then refused (no query reaches them) instead of probed.
# usage: find_cli_test.sh KORVANE_SETTEI KORVANE_SIM
set -euo pipefail
app=$(realpath "$1") sim=$(realpath "$2")
. "$(dirname "$0")/lib.sh"

as=()
ports=$work
if [ "$(id -u)" = 0 ]; then
  as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  ports=$work/ports && mkdir "$ports" && chmod 755 "$work" && chown 65534:65534 "$ports"
fi
# port N SIM-OPTIONS...: a simulator behind COMN of the folder, logging to $work/N.log.
port() {
  local n=$1
  shift
  "${as[@]}" "$sim" --link "$ports/COM$n" --log "$ports/$n.log" "$@" >/dev/null 2>&1 &
  sim_pids+=($!)
  for _ in $(seq 100); do [ -e "$ports/COM$n" ] && return 0; sleep 0.05; done
  fail "no simulator behind COM$n"
}
# run EXPECTED-STATUS ARGS...: the program without a display; its output in $work/out, $work/err.
run() {
  local want=$1 rc=0
  shift
  (cd "$ports" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "${as[@]}" "$app" "$@" \
    --port-dir "$ports" --data-dir "$ports" >"$work/out" 2>"$work/err") || rc=$?
  [ "$rc" -eq "$want" ] || { cat "$work/out" "$work/err" >&2; fail "$* ended with $rc, not $want"; }
}
found() { [ "$(tail -n 1 "$work/out")" = "見つかったポート: $1" ] || { cat "$work/out" >&2; fail "not found: $1"; }; }

port 2 --silent
port 3 --modem
ln -s /dev/ttyKorvaneNone "$ports/COM4"
port 5
"${as[@]}" sleep 600 <>"$ports/COM5" &
sim_pids+=($!)
for _ in $(seq 100); do [ "$(readlink /proc/$!/fd/0)" = "$(readlink -f "$ports/COM5")" ] && break; sleep 0.05; done
line=$(stty -g -F "$ports/COM5")
run 1 --find && found なし
grep -q $'^COM3\t.*\t別の機器の応答$' "$work/out" || { cat "$work/out" >&2; fail "COM3's line"; }
grep -q $'^COM5\t.*\tほかのプログラムが使用中$' "$work/out" && [ ! -s "$ports/5.log" ] &&
  [ "$(stty -g -F "$ports/COM5")" = "$line" ] || { cat "$work/out" >&2; fail "COM5 was touched"; }
port 21
ln -s "$ports/COM21" "$ports/COM22"  # one device, two names
port 6 --delay 1500 --keep-unsent  # answers after its port was given up: the answer waits there for the next open
port 8 --answer 9999  # a mount of another make: beyond what the controller can answer
run 0 --find && found COM21
grep -q $'^COM21 = COM22\t' "$work/out" || { cat "$work/out" >&2; fail "COM21 = COM22"; }
grep -q $'^COM8\t.*\t別の機器の応答$' "$work/out" || { cat "$work/out" >&2; fail "COM8's 9999"; }
sleep 1
run 0 --find && found COM21  # the late answer from before is no answer now
run 0 --backup "$ports/a.ini" --port auto
grep -qx 'port=COM21' "$ports/a.ini" && [ "$(wc -l <"$ports/21.log")" -eq 33 ] ||
  { cat "$ports/a.ini" >&2; fail "the backup is not of COM21, after one query a search"; }
port 7
run 3 --find && found "COM7 COM21"
run 2 --compare "$ports/a.ini" --port auto
grep -q 'COM7 COM21' "$work/err" && [ "$(wc -l <"$ports/7.log")" -eq 2 ] ||
  { cat "$work/err" >&2; fail "--port auto went on with two controllers"; }
echo "find: none (1), one (0) above COM19 under two names, several (3); a held port untouched;" \
  "--port auto backs up the one and refuses two"
