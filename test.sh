#!/usr/bin/env bash
# Sets up a fresh Debian machine and runs every test: the unit and host
# suites, the dialogs on the offscreen platform and in a real window under
# Xvfb, the install tree with its consumers and the Debian package, the
# Windows DLLs (cross-built, their suites under Wine), the same
# suites under AddressSanitizer + UndefinedBehaviorSanitizer,
# the thread stress test under ThreadSanitizer, and a bounded run of each
# fuzz target. Prints how long each stage took. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

FUZZ_SECONDS=${FUZZ_SECONDS:-30}
JOBS=${JOBS:-$(nproc)}

stage_start=$SECONDS
stage() {
  echo "== $1"
  stage_start=$SECONDS
}
stage_done() { echo "-- $1 took $((SECONDS - stage_start)) s"; }

stage "install dependencies"
scripts/install-deps
stage_done "install dependencies"

stage "build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS"
stage_done "build and test"

# The installed tree, its consumers and the Debian package, from a build
# configured for /usr as a distribution builds it.
stage "install, consume and package"
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DUNITS_BUILD_TESTS=OFF -DUNITS_BUILD_BENCH=OFF -Wno-dev >/dev/null
cmake --build build-deb -j "$JOBS"
scripts/check-install build build-deb
stage_done "install, consume and package"

# The core as Windows DLLs, cross-built with MinGW-w64, with the catalogue
# and groups files of the Linux build beside them: the 32-bit DLLs hosts
# load, checked for what they import and export, with their suites and host
# built; and the same code as 64-bit DLLs whose suites and host run under
# Wine (this kernel runs no 32-bit programs, so 32-bit Wine cannot start here).
stage "Windows DLLs"
if command -v i686-w64-mingw32-g++-posix >/dev/null && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  windows_options=(-G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
    -DUNITS_BUILD_DIALOGS=OFF -DUNITS_LINUX_DATA_DIR="$PWD/build/lib/Units")
  cmake -S . -B build-win "${windows_options[@]}" >/dev/null
  cmake --build build-win -j "$JOBS"
  scripts/check-windows-dlls build-win/bin
  cmake -S . -B build-win64 "${windows_options[@]}" \
    -DUNITS_MINGW_TRIPLET=x86_64-w64-mingw32 -DUNITS_WINE=/usr/lib/wine/wine64 >/dev/null
  cmake --build build-win64 -j "$JOBS"
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/units_wine.XXXXXX")
  export WINEPREFIX WINEDEBUG=-all
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true  # one prefix, made before the parallel runs
  ctest --test-dir build-win64 --output-on-failure -j "$JOBS"
  /usr/lib/wine/wine64 build-win64/bin/platform_speed.exe
  rm -rf "$WINEPREFIX"
  unset WINEPREFIX WINEDEBUG
else
  echo "MinGW-w64 is not installed: skipped"
fi
stage_done "Windows DLLs"

stage "sanitizer build and test"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DUNITS_SANITIZE=ON -DUNITS_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$JOBS"
stage_done "sanitizer build and test"

# clang: a GCC build with -fsanitize=thread crashes in the loader while it
# resolves the target_clones of the conversion loops.
stage "thread sanitizer build and stress test"
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DUNITS_TSAN=ON -DUNITS_BUILD_BENCH=OFF -DUNITS_BUILD_DIALOGS=OFF >/dev/null
cmake --build build-tsan -j "$JOBS" --target stress_test
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/bin/stress_test
stage_done "thread sanitizer build and stress test"

stage "fuzz (${FUZZ_SECONDS}s per target)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DUNITS_BUILD_FUZZ=ON -DUNITS_BUILD_TESTS=OFF -DUNITS_BUILD_BENCH=OFF -DUNITS_BUILD_DIALOGS=OFF >/dev/null
cmake --build build-fuzz -j "$JOBS"
scripts/run-fuzzers build-fuzz/bin "$FUZZ_SECONDS"
stage_done "fuzz"

echo "== all tests passed in $SECONDS s"
