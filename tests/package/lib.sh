# Shared by the package tests: a scratch folder, simulators started and stopped by their own ids,
# and failing with what was seen.

work=$(mktemp -d /tmp/korvane-package-test.XXXXXX)
sim_pids=()
cleanup() {
  local pid
  for pid in "${sim_pids[@]}"; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true  # a killed holder's 143 is no failure
  done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# start_sim SIM LINK LOG [OPTION...]: a simulated controller behind the link LINK, logging what
# it receives.
start_sim() {
  "$1" --link "$2" --log "$3" "${@:4}" >"$3.out" 2>&1 &
  sim_pids+=($!)
  local _
  for _ in $(seq 100); do
    [ -e "$2" ] && return 0
    sleep 0.05
  done
  cat "$3.out" >&2
  fail "the simulator did not make $2"
}

# is_png FILE
is_png() {
  [ -s "$1" ] && [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ]
}
