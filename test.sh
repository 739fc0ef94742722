#!/usr/bin/env bash
# Installs what is missing, builds Vexa and runs every test twice: once as built for use,
# and once more built with AddressSanitizer and UndefinedBehaviorSanitizer, where any
# finding (a bad read or write, a leak, undefined behaviour) fails the test that made it.
# Then each fuzz target runs for a fixed number of inputs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
# How long each step took, printed as it ends: the whole must stay well under 20 minutes.
phase() { echo "== $1: $((SECONDS - phase_start)) s (total $SECONDS s)"; phase_start=$SECONDS; }
phase_start=$SECONDS

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build -j2 >> build.log 2>&1 || { tail -50 build.log; exit 1; }
phase "build"
ctest --test-dir build -j2 --output-on-failure || status=1
phase "tests"

# The sanitizer build: every target but the benchmarks, optimised a little and with line
# tables only, which keeps its build and its tests short.
mkdir -p build-asan
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXA_SANITIZE=ON -DVEXA_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" \
  > build-asan/build.log 2>&1 || { cat build-asan/build.log; exit 1; }
cmake --build build-asan -j2 >> build-asan/build.log 2>&1 || { tail -50 build-asan/build.log; exit 1; }
phase "sanitizer build"
ctest --test-dir build-asan -j2 --output-on-failure || status=1
phase "sanitizer tests"

FUZZ_BUILD_JOBS=2 FUZZ_JOBS=2 tests/fuzz/run.sh build/fuzz 10000 || status=1
FUZZ_BUILD_JOBS=2 tests/fuzz/run_ip.sh build/fuzz-ip || status=1
phase "fuzzing"
exit $status
