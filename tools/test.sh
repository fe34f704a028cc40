#!/usr/bin/env bash
# Sets up, builds and tests what ships, each build in its own folder:
#   build-release  the Release build: all tests, the installation check and
#                  the Debian package;
#   build-asan     AddressSanitizer with leak detection and
#                  UndefinedBehaviorSanitizer: all tests;
#   build-fuzz     clang with libFuzzer: each reader fuzzed for about a minute.
# Warnings are errors. Started as root, the tests run as the unprivileged user
# glykotest, so that read-only files stay read-only for them. GLYKO_STRICT=1
# (set by CI) turns a skipped test into a failure.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Leak reports for Qt's and the system's libraries are suppressed (see the
# file); every other leak fails its test. Also applies to the test discovery
# that runs the test programs while building.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

stage() { echo "== $1 (nach ${SECONDS}s)"; }

# The unprivileged user that runs the tests when the script runs as root.
tester=()
if [ "$(id -u)" -eq 0 ]; then
  id glykotest >/dev/null 2>&1 ||
    useradd --system --user-group --create-home --home-dir /var/lib/glykotest \
            --shell /usr/sbin/nologin glykotest
  if ! runuser -u glykotest -- test -r "$PWD/CMakeLists.txt"; then
    echo "Der Testbenutzer glykotest kann $PWD nicht lesen; bitte an einen lesbaren Ort klonen."
    exit 1
  fi
  tester=(runuser -u glykotest -- env HOME=/var/lib/glykotest)
fi

# Runs all tests of a build folder; lists skipped tests and, when strict,
# fails on them.
run_tests() {
  local build=$1
  [ ${#tester[@]} -eq 0 ] || chown -R glykotest: "$build"
  "${tester[@]}" ctest --test-dir "$build" --output-on-failure -j"$jobs" | tee "$build/ctest.log"
  if grep -q '\*\*\*Skipped' "$build/ctest.log"; then
    echo "Übersprungene Tests in $build:"
    grep '\*\*\*Skipped' "$build/ctest.log"
    if [ "${GLYKO_STRICT:-0}" = 1 ]; then
      echo "Ein Test wurde übersprungen, obwohl tools/setup.sh alles installiert hat."
      exit 1
    fi
  fi
}

# ---- Release build: tests, installation check, Debian package ------------
stage "Release-Build"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGLYKO_WERROR=ON
cmake --build build-release -j"$jobs"
stage "Release-Tests"
run_tests build-release
stage "Debian-Paket"
tools/package.sh build-release

# ---- Sanitizer build: tests with ASan (leaks included) and UBSan --------
stage "Sanitizer-Build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGLYKO_SANITIZE=ON \
      -DGLYKO_BENCH=OFF -DGLYKO_WERROR=ON
cmake --build build-asan -j"$jobs"
stage "Sanitizer-Tests"
run_tests build-asan

# ---- Fuzzing: each reader's fuzzer on its seeds and saved crash inputs -----
stage "Fuzzing"
tools/fuzz.sh 60

stage "Fertig"
