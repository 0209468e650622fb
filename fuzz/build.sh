#!/usr/bin/env bash
# Builds every fuzz/*_fuzz.cpp with libFuzzer and the sanitizers, and runs each one
# for a bounded time.
#
#   fuzz/build.sh [seconds] [name...]
#
# seconds: run time per target (default 30; 0 only builds).
# name:    targets to build and run, e.g. unseal_fuzz (default: all of them).
# Binaries go to build/fuzz/<name>, the growing corpus to build/fuzz/corpus/<name>
# (seeds are also read from fuzz/corpus/<name> when it exists), crash inputs to
# build/fuzz/artifacts/. Exits non-zero when a build fails or a target finds a fault.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
[[ $# -gt 0 ]] && shift
if ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "fuzz: run time must be a whole number of seconds, not '$seconds'" >&2
  exit 2
fi
out="$root/build/fuzz"
cxx="${FUZZ_CXX:-clang++}"
jobs="${FUZZ_JOBS:-2}"

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx is missing: install the Debian package clang (scripts/install-deps.sh does)" >&2
  exit 1
fi
probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }'
if ! echo "$probe" | "$cxx" -x c++ -fsanitize=fuzzer,address,undefined - -o /dev/null 2>/dev/null; then
  echo "fuzz: the sanitizer runtime is missing: install the Debian package libclang-rt-14-dev" \
    "(scripts/install-deps.sh does)" >&2
  exit 1
fi

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
  echo "fuzz: no targets" >&2
  exit 1
fi

# The portable sources a target may need: core/ and the platform/ files beside the
# headers (the in-memory and Win32 backends live in subfolders and stay out). They
# go into an archive, so each target links only the objects it uses.
rm -rf "$out/obj"
mkdir -p "$out/obj" "$out/artifacts"
shopt -s nullglob
sources=("$root"/core/*.cpp "$root"/platform/*.cpp)
shopt -u nullglob

pids=()
objects=()
for src in "${sources[@]}"; do
  rel="${src#"$root"/}"
  obj="$out/obj/${rel//\//_}.o"
  objects+=("$obj")
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  "$cxx" "${lib_flags[@]}" -c "$src" -o "$obj" &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
if [[ $failed -ne 0 ]]; then
  echo "fuzz: compiling the portable sources failed" >&2
  exit 1
fi
rm -f "$out/libportable.a"
ar rcs "$out/libportable.a" "${objects[@]}"

built=()
for target in "${targets[@]}"; do
  name="$(basename "$target" .cpp)"
  echo "fuzz: building $name"
  "$cxx" "${target_flags[@]}" "$target" "$out/libportable.a" -o "$out/$name"
  built+=("$name")
done

[[ "$seconds" -eq 0 ]] && exit 0

status=0
for name in "${built[@]}"; do
  corpus="$out/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [[ -d "$root/fuzz/corpus/$name" ]] && seeds+=("$root/fuzz/corpus/$name")
  echo "fuzz: running $name for ${seconds}s"
  if ! "$out/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$out/artifacts/$name-" \
      "$corpus" "${seeds[@]}" </dev/null; then
    echo "fuzz: $name found a fault; see $out/artifacts/" >&2
    status=1
  fi
done
exit $status
