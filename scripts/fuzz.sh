#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a while each, from the seeds in tests/data/fuzz and
# what earlier runs found, and prints the executions per second of each. Fails when a target
# crashed or broke a property; the input that did is kept under BUILD/fuzz/artifacts.
# usage: scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
set -euo pipefail
build=$1
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
seeds=$root/tests/data/fuzz
status=0
summary=()
for target in plist zip menutag dbusargs; do
  program="$build/fuzz/fuzz_$target"
  corpus="$build/fuzz/corpus/$target"
  artifacts="$build/fuzz/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  log="$build/fuzz/$target.log"
  echo "== fuzz_$target for $seconds s"
  # One process; the first corpus folder takes what is new, the seeds stay as they are.
  if ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp" "$program" -max_total_time="$seconds" -timeout=20 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$corpus" "$seeds/$target" >"$log" 2>&1; then
    result=clean
  else
    result="FAILED (see $log and $artifacts)"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  summary+=("$(printf '%-14s %10s runs %8s exec/s  %s' "fuzz_$target" "${runs:-?}" "${rate:-?}" "$result")")
done
printf '%s\n' "${summary[@]}"
exit $status
