#!/usr/bin/env bash
# Fuzzes one target under AddressSanitizer and UndefinedBehaviorSanitizer for a number of seconds,
# then merges the inputs that reached new code into fuzz/corpus/TARGET (commit them).
#   tools/fuzz.sh TARGET SECONDS [libFuzzer options...]      e.g. tools/fuzz.sh receive 600
# Targets: the files of fuzz/ (receive, set_command, number_conversions, set_data, port_file,
# sim_parser, backup_file). An input that breaks a property is kept under
# build-fuzz/fuzz-artifacts/TARGET/; once the fault is fixed, add it to the corpus, where
# fuzz_replay_TARGET replays it in every test run.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: tools/fuzz.sh TARGET SECONDS [libFuzzer options...]" >&2
  exit 2
}
[ $# -ge 2 ] || usage
target=$1
seconds=$2
shift 2
if [ ! -f "fuzz/$target.cpp" ] || [ ! -d "fuzz/corpus/$target" ]; then
  echo "fuzz.sh: no target \"$target\" (see fuzz/)" >&2
  usage
fi
[[ "$seconds" =~ ^[0-9]+$ ]] || usage

# What every build needs, and clang 14 with its runtime (libFuzzer, the sanitizers).
./tools/setup.sh clang-14 libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target"

fuzzer="build-fuzz/fuzz/fuzz_$target"
corpus="fuzz/corpus/$target"
artifacts="build-fuzz/fuzz-artifacts/$target"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$artifacts" "$work/corpus"
cp "$corpus"/* "$work/corpus/"

# The run works on a copy, so that an interrupted run leaves the committed corpus as it was.
set +e
"$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$@" "$work/corpus" 2>&1 | tee "$work/log"
status=${PIPESTATUS[0]}
set -e

# Keep only what reaches code (edges, not hit counts) that the committed corpus does not.
before=$(find "$corpus" -type f | wc -l)
"$fuzzer" -merge=1 -use_counters=0 "$corpus" "$work/corpus" >"$work/merge.log" 2>&1 ||
  { cat "$work/merge.log" >&2; echo "fuzz.sh: merge failed" >&2; exit 1; }
after=$(find "$corpus" -type f | wc -l)

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log" | tail -1)
echo "fuzz.sh: $target: ${runs:-?} executions in $seconds s, ${speed:-?} per second;" \
  "corpus $before -> $after inputs"
if [ "$status" -ne 0 ]; then
  echo "fuzz.sh: $target broke a property or crashed (exit $status); input(s) in $artifacts/" >&2
  exit "$status"
fi
