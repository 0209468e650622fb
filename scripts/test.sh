#!/usr/bin/env bash
# Runs every test tier: the format, floor and naming checks, host, host under ASan/UBSan,
# the Win32 backend and the end-to-end tier under Wine, and a bounded fuzzing run.
# Usage: scripts/test.sh [fuzz-seconds-per-target]
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds="${1:-30}"
jobs=2

scripts/install-deps.sh

step() { printf '\n=== %s\n' "$*"; }

step "format, floors and names"
scripts/format.sh --check
scripts/check-floors.sh
scripts/check-names.sh

step "host"
cmake --preset host >/dev/null
cmake --build --preset host -j"$jobs"
ctest --preset host -j"$jobs"

step "host-asan"
cmake --preset host-asan >/dev/null
cmake --build --preset host-asan -j"$jobs"
ctest --preset host-asan -j"$jobs"

step "windows (win32 and e2e tiers under Wine)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"
ctest --preset windows

step "release package"
cmake --build --preset windows -j"$jobs" --target package

step "fuzz (${fuzz_seconds} s per target)"
bash fuzz/build.sh "$fuzz_seconds"

step "all tiers passed"
