#!/usr/bin/env bash
# The decoy flood under Wine against the stand-in client: the program's flood beside a bare
# loop of the same calls, median of five each (target: ratio at most 1.2).
# Usage: bench/flood.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target flood_bench mir >/dev/null

build=$root/build/windows
state=$build/demo  # shares the demo's prefix; its lock keeps the scripts apart
. cmake/wine-env.sh
quenlar_own_session "$state" "another script holds the demo session"
QUENLAR_BUILD_DIR=$state cmake/wine-run.sh "$build/e2e/flood_bench.exe" "$build/standin/mir.exe" \
  "${1:-5}" 7>&-
