#!/usr/bin/env bash
# Sets up a fresh Debian machine and builds the library.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
echo "built: build/lib/libunits.so"
