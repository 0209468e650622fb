#!/usr/bin/env bash
# Formats the project's C++ sources with .clang-format (clang-format 14, the version the
# style was settled with). Usage: scripts/format.sh [--check]
# --check changes nothing: it lists the files that would change and fails if there are any.
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=clang-format-14
if ! command -v "$formatter" >/dev/null; then
  echo "$formatter is missing: install the Debian package clang-format-14" \
       "(scripts/install-deps.sh does)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files '*.h' '*.cpp' '*.c')
if [ "${1:-}" = "--check" ]; then
  unformatted=()
  for f in "${files[@]}"; do
    "$formatter" --style=file "$f" | cmp -s - "$f" || unformatted+=("$f")
  done
  if ((${#unformatted[@]})); then
    printf 'not formatted (run scripts/format.sh):\n' >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
  fi
  echo "all ${#files[@]} sources formatted"
else
  "$formatter" --style=file -i "${files[@]}"
fi
