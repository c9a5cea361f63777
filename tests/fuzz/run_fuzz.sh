#!/usr/bin/env bash
# Runs one fuzz target: every seed once, then fuzzing for a bounded time.
#   run_fuzz.sh PROGRAM SEEDS SECONDS [CORPUS]
# Without CORPUS the run starts from the seeds alone in a scratch folder, so
# every run does the same amount of replay; with it, what the fuzzer finds
# is kept there for the next run. Inputs that fail are written to
# findings/NAME/ beside PROGRAM. Non-zero when any input fails.
set -euo pipefail
program=$1 seeds=$2 secs=$3 corpus=${4:-}
name=$(basename "$program")
findings="$(dirname "$program")/findings/${name#fuzz_}"
mkdir -p "$findings"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
limits=(-timeout=20 -rss_limit_mb=2560 -malloc_limit_mb=256)

# Each seed as it stands: a reader that fails on one of our own inputs fails here.
shopt -s nullglob
files=("$seeds"/*)
if [ ${#files[@]} -eq 0 ]; then
  echo "no seeds in $seeds"
  exit 1
fi
if ! "$program" "${limits[@]}" "${files[@]}" > "$findings/replay.log" 2>&1; then
  echo "$name fails on a seed:"
  grep -E "ERROR|SUMMARY|runtime error|Running:" "$findings/replay.log" | tail -20
  exit 1
fi
echo "$name: ${#files[@]} seeds replayed"

scratch=
if [ -z "$corpus" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  corpus=$scratch
fi
mkdir -p "$corpus"
if ! "$program" "${limits[@]}" -max_total_time="$secs" -print_final_stats=1 -artifact_prefix="$findings/" \
     "$corpus" "$seeds" > "$findings/fuzz.log" 2>&1; then
  echo "$name found a problem:"
  grep -E "ERROR|SUMMARY|runtime error|Test unit written" "$findings/fuzz.log" | head -20
  exit 1
fi
grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$findings/fuzz.log" || true
