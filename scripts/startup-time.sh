#!/usr/bin/env bash
# Start-up time under Wine on a virtual display with a persistent wineserver: from starting
# quenlar.exe to its main window being visible, beside the same figure for Wine's builtin
# notepad in the same session. Each program is started once to warm up, then <runs> times;
# the median is printed.
# Usage: scripts/startup-time.sh [runs]   (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)
runs=${1:-7}

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quenlar startup_timer >/dev/null

build=$root/build/windows
state=$build/demo  # shares the demo's prefix; its lock keeps the two scripts apart
. cmake/wine-env.sh
quenlar_own_session "$state" "scripts/run.sh or startup-time.sh is running"

timer() {
  QUENLAR_BUILD_DIR=$state cmake/wine-run.sh "$build/e2e/startup_timer.exe" "$runs" "$@" 7>&-
}
echo "quenlar.exe (start to visible main window):"
timer "$build/quenlar.exe"
echo "notepad.exe, Wine's builtin (start to visible main window):"
timer 'C:\windows\system32\notepad.exe'
