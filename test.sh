#!/usr/bin/env bash
# Sets up a fresh Debian machine and runs every test: the unit and host
# suites, the same suites under AddressSanitizer + UndefinedBehaviorSanitizer,
# and a bounded run of each fuzz target. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
JOBS=${JOBS:-$(nproc)}

scripts/install-deps

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS"

echo "== sanitizer build and test"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DUNITS_SANITIZE=ON -DUNITS_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$JOBS"

echo "== fuzz (${FUZZ_SECONDS}s per target)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DUNITS_BUILD_FUZZ=ON -DUNITS_BUILD_TESTS=OFF -DUNITS_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$JOBS"
scripts/run-fuzzers build-fuzz/bin "$FUZZ_SECONDS"

echo "== all tests passed"
