#!/usr/bin/env bash
# Builds the class file fuzzer with clang and runs it for a bounded time on
# its seed corpus (class files as the program writes them, and damaged ones).
#   run_fuzz.sh BUILD_DIR [SECONDS]
# Exit 77 (skipped) without clang; non-zero when the fuzzer finds anything.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../../../build-class-fuzz}
secs=${2:-8}
if ! command -v clang++ >/dev/null; then
  echo "clang is not installed: fuzzing skipped"
  exit 77
fi
mkdir -p "$out"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$here" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    > "$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
fi
cmake --build "$out" -j2 > "$out/build.log" 2>&1 || { tail -50 "$out/build.log"; exit 1; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
corpus="$out/corpus"
mkdir -p "$corpus" "$out/findings"
echo "== fuzz_class_file for ${secs}s"
if ! "$out/fuzz_class_file" -max_total_time="$secs" -timeout=20 -rss_limit_mb=2560 -malloc_limit_mb=256 \
     -max_len=65536 -print_final_stats=1 -artifact_prefix="$out/findings/" "$corpus" "$here/seeds" \
     > "$out/fuzz.log" 2>&1; then
  echo "fuzz_class_file found a problem:"
  grep -E "ERROR|SUMMARY|runtime error|Test unit written|refused|changed" "$out/fuzz.log" | head -20
  exit 1
fi
grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$out/fuzz.log" || true
