#!/usr/bin/env bash
# Fuzzes each reader (month table, diary file, glykoval.ini, the importers)
# for the given number of seconds (default 60) on its seeds and on every input
# that ever crashed it (inputs up to 64 KB, so long damaged lines are tried);
# fails on the first crash or broken promise. Builds the fuzzers
# in build-fuzz (clang, GLYKO_FUZZ=ON) first. A new crash input is written to
# build-fuzz/crashes/; keep it in fuzz/regressions/<reader>/ with its fix.
# Usage: tools/fuzz.sh [seconds] [reader ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
readers=("$@")
[ ${#readers[@]} -gt 0 ] || readers=(month diary settings import)
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DGLYKO_FUZZ=ON -DGLYKO_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${readers[@]/#/fuzz_}"
export ASAN_OPTIONS=detect_leaks=0:malloc_context_size=5
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p build-fuzz/crashes
for reader in "${readers[@]}"; do
  work=build-fuzz/corpus/$reader
  mkdir -p "$work"
  inputs=("$work" fuzz/corpus/"$reader")
  [ -d fuzz/regressions/"$reader" ] && inputs+=(fuzz/regressions/"$reader")
  echo "Fuzzing the $reader reader for ${seconds}s"
  build-fuzz/fuzz_"$reader" -max_total_time="$seconds" -timeout=60 -detect_leaks=0 \
    -dict=fuzz/dict/"$reader".dict -max_len=65536 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/crashes/"$reader"- "${inputs[@]}"
done
