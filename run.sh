#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the library and unitstool, and shows
# what the library serves from its default catalogue: the quantities, a few
# conversions, axis labels and the variants offered to hosts, in English and
# in German. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"
scripts/install-deps
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

tool() {
  echo
  echo "\$ unitstool $*"
  build/bin/unitstool "$@"
}

tool list
tool convert 4 100                 # 100 °C into the display unit of temperature
tool convert 5 1 --to-base         # 1 bar (the display unit of pressure) in Pa
tool convert 5 50000 --relative    # a pressure difference of 50000 Pa
tool convert 25 °C °F              # between any two units of one quantity
tool label 4 5
tool names
tool --lang de names --group 1
