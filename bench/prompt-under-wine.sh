#!/usr/bin/env bash
# The cost of one utility password prompt's check under Wine, beside the system's own
# PBKDF2 of the same rounds (bench/prompt_wine_bench.cpp).
# Usage: bench/prompt-under-wine.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target prompt_wine_bench >/dev/null

build=$root/build/windows
state=$build/demo  # shares the demo's prefix; its lock keeps the scripts apart
. cmake/wine-env.sh
quenlar_own_session "$state" "another script holds the demo session"
QUENLAR_BUILD_DIR=$state cmake/wine-run.sh "$build/prompt_wine_bench.exe" "${1:-5}" 7>&-
