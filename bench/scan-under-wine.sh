#!/usr/bin/env bash
# The start-up scan of quenlar.exe under Wine on a virtual display with a persistent
# wineserver, in a Wine prefix of its own (build/windows/scan-bench): how much longer a clean
# start takes with <entries> autostart entries in each Run key than with none, beside a
# bare loop that enumerates and reads the same four keys in the same run (target: the
# ratio at most 1.2), and how much longer a start with <changed> new entries takes
# (target: at most 2 s). Each figure is a median; the script reports, it never fails
# because the machine is slow.
# Usage: bench/scan-under-wine.sh [runs] [entries] [changed] [changed runs]
#        (defaults 5 200 5000 <runs>; changed 0 skips that case)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quenlar mir scan_wine_bench >/dev/null

build=$root/build/windows
state=$build/scan-bench
. cmake/wine-env.sh
quenlar_own_session "$state" "another bench/scan-under-wine.sh is running"

QUENLAR_BUILD_DIR=$state cmake/wine-run.sh "$build/e2e/scan_wine_bench.exe" \
  "$build/quenlar.exe" "$build/standin/mir.exe" "$@" 7>&-
