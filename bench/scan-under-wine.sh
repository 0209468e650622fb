#!/usr/bin/env bash
# The start-up scan of quenlar.exe under Wine on a virtual display with a persistent
# wineserver, in a Wine prefix of its own (build/windows/scan-bench): how much longer a clean
# start takes with <entries> autostart entries in each bench place than with none, beside a
# bare loop that reads the same places and their snapshots in the same run (target: the
# ratio at most 1.2), and how much longer a start with <changed> new entries takes
# (target: at most 2 s). Each figure is a median; the script reports, it never fails
# because the machine is slow.
# The bench places are both Run keys; <places> "spread" or "folder" adds the current user's
# RunOnce key, Explorer policy Run key and Startup folder, and puts the new entries evenly
# into the user's Run, RunOnce, policy Run and Startup folder ("spread") or all into the
# Startup folder ("folder", or "links" with shortcuts there instead of program files);
# "run" puts them into the user's Run key.
# Usage: bench/scan-under-wine.sh [runs] [entries] [changed] [changed runs] [places]
#        (defaults 5 200 5000 <runs> run; changed 0 skips that case)
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
