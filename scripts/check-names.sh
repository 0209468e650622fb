#!/usr/bin/env bash
# Fails on a name that breaks the house rule: .clang-tidy holds it, docs/ARCHITECTURE.md
# ("Naming") says it in words. The portable code is read with the host build's compile
# commands, platform/win32 with the Windows build's (configured here when missing).
# Usage: scripts/check-names.sh
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=2
tidy=clang-tidy-14
if ! command -v "$tidy" >/dev/null; then
  echo "$tidy is missing: install the Debian package clang-tidy-14 (scripts/install-deps.sh does)" >&2
  exit 2
fi
[ -f build/host/compile_commands.json ] || cmake --preset host >/dev/null
[ -f build/windows/compile_commands.json ] || cmake --preset windows >/dev/null

floors=(platform core game_client forms lock scan accounts companions ui tests/support)
portable=$(git ls-files "${floors[@]/%//*.cpp}" | grep -v '^platform/win32/')
win32=$(git ls-files 'platform/win32/*.cpp')

# clang reads the mingw build as the cross compiler does: its target, its C++ library and
# the mingw headers (GCC's own intrinsics headers are left to clang's).
gxx=x86_64-w64-mingw32-g++-posix
win32_args=(--extra-arg-before=--target=x86_64-w64-mingw32)
while IFS= read -r dir; do
  win32_args+=("--extra-arg=-isystem$dir")
done < <("$gxx" -std=c++20 -E -x c++ - -v </dev/null 2>&1 |
         sed -n '/#include <...> search starts here/,/End of search list/{/^ /s/^ //p}' |
         grep -E '/c\+\+|mingw32/include$')

# clang-tidy's own status is not used: what it prints decides.
tidy() {
  { xargs -n 6 -P "$jobs" "$tidy" --quiet "$@" 2>/dev/null || true; } |
    { grep -E '^[^ ].*: (error|warning):' || true; }
}
found=$( (echo "$portable" | tidy -p build/host; echo "$win32" | tidy -p build/windows "${win32_args[@]}") | sort -u)
if [ -n "$found" ]; then
  echo "$found" | sed "s#^$PWD/##" >&2
  echo "see \"Naming\" in docs/ARCHITECTURE.md; the historic names .clang-tidy lets stand are listed there" >&2
  exit 1
fi
echo "every name follows the house rule"
