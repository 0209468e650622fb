#!/usr/bin/env bash
# Builds every fuzz/*_fuzz.cpp with libFuzzer and the sanitizers, and runs each one
# for a bounded time.
#
#   fuzz/build.sh [seconds] [name...]
#
# seconds: run time per target (default 30; 0 builds without running).
# name:    targets to build and run, e.g. unseal_fuzz (default: all).
# Binaries go to build/fuzz/<name>, the growing corpus to build/fuzz/corpus/<name>
# (seeds are read from fuzz/corpus/<name> when it exists), crash inputs to
# build/fuzz/artifacts/. Exits non-zero when a build fails or a target finds a fault.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
shift || true
out="$root/build/fuzz"
cxx="${CXX_FUZZ:-clang++}"
jobs="${FUZZ_JOBS:-2}"

common=(-std=c++20 -g -O1 -I"$root" -fno-omit-frame-pointer -fno-sanitize-recover=all)
# The library code gets coverage instrumentation; only the targets link the driver.
lib_flags=("${common[@]}" -fsanitize=fuzzer-no-link,address,undefined)
target_flags=("${common[@]}" -fsanitize=fuzzer,address,undefined)

if [[ $# -gt 0 ]]; then
  targets=()
  for name in "$@"; do targets+=("$root/fuzz/${name%.cpp}.cpp"); done
else
  shopt -s nullglob
  targets=("$root"/fuzz/*_fuzz.cpp)
  shopt -u nullglob
fi
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "no fuzz targets in fuzz/" >&2
  exit 1
fi

# The portable sources a target may need: core/ and the platform/ files beside the
# headers (the in-memory and Win32 backends live in subfolders and are left out).
# They go into an archive, so a target pulls in only the objects it uses.
mkdir -p "$out/obj" "$out/artifacts"
rm -f "$out"/obj/*.o "$out/libportable.a"
sources=("$root"/core/*.cpp "$root"/platform/*.cpp)
printf '%s\n' "${sources[@]}" | while read -r src; do
  rel="${src#"$root"/}"
  printf '%s\0%s\0' "$src" "$out/obj/${rel//\//_}.o"
done | xargs -0 -n 2 -P "$jobs" sh -c '"$0" "$@"' "$cxx" "${lib_flags[@]}" -c -o-swap-placeholder \
  2>/dev/null || true
