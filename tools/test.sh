#!/usr/bin/env bash
# Sets up, builds and runs all tests; then once more with AddressSanitizer and
# UndefinedBehaviorSanitizer; then fuzzes the readers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGLYKO_SANITIZE=ON -DGLYKO_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
# Each reader's fuzzer for about a minute on its seeds and saved crash inputs.
tools/fuzz.sh 60
