#!/usr/bin/env bash
# Builds the score file fuzzers with clang and runs each for a bounded time
# on its seed corpus (workbooks the office saved, and text lists).
#   run_fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]
# Exit 77 (skipped) without clang; non-zero when a fuzzer finds anything.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../../build-score-fuzz}
secs=${2:-8}
if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  echo "clang is not installed: fuzzing skipped"
  exit 77
fi
mkdir -p "$out"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$here" -B "$out" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug > "$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
fi
cmake --build "$out" -j2 > "$out/build.log" 2>&1 || { tail -50 "$out/build.log"; exit 1; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
status=0
for t in xlsx ods text; do
  corpus="$out/corpus/$t"
  mkdir -p "$corpus" "$out/findings/$t"
  echo "== fuzz_$t for ${secs}s"
  if ! "$out/fuzz_$t" -max_total_time="$secs" -timeout=20 -rss_limit_mb=2560 -malloc_limit_mb=512 -print_final_stats=1 \
       -artifact_prefix="$out/findings/$t/" "$corpus" "$here/seeds/$t" > "$out/$t.log" 2>&1; then
    echo "fuzz_$t found a problem:"
    grep -E "ERROR|SUMMARY|runtime error|Test unit written" "$out/$t.log" | head -20
    status=1
  else
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$out/$t.log" || true
  fi
done
exit $status
