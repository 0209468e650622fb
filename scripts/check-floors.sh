#!/usr/bin/env bash
# Fails on an include that reaches up a floor or sideways between the feature folders.
# The floors, lowest first (a folder may include its own files and those of lower floors):
#   platform            the seam and its two backends
#   core game_client    side by side: sealing, settings, registry layer, checksum; and the
#                       game-client contract (shared with the stand-in and the simulator)
#   forms               what the windows share: the look, the event log, its notices
#   lock                the utility password: its dialog and its rules
#   scan accounts companions   the features, side by side: none includes another
#   ui                  the main window, the help window and the program entry
# Tests, the stand-in, the end-to-end drivers, benchmarks and fuzz targets stand outside.
# Usage: scripts/check-floors.sh
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=([platform]=0 [core]=1 [game_client]=1 [forms]=2 [lock]=3 [scan]=4 [accounts]=4
                 [companions]=4 [ui]=5)

# Reaches that are known and still to go, each with its reason; nothing else may be added.
allowed=(
  # The Win32 entry point is the program's top by nature: it starts the program.
  "platform/win32/winmain.cpp ui/program.h"
)

is_allowed() {
  local pair
  for pair in "${allowed[@]}"; do [ "$pair" = "$1 $2" ] && return 0; done
  return 1
}

failed=0
while IFS= read -r file; do
  from=${file%%/*}
  [ -n "${rank[$from]+x}" ] || continue
  while IFS= read -r included; do
    to=${included%%/*}
    [ "$to" = "$included" ] && continue  # a generated header beside the build
    [ -n "${rank[$to]+x}" ] || continue
    [ "$to" = "$from" ] && continue
    if ((rank[$to] < rank[$from])); then continue; fi
    is_allowed "$file" "$included" && continue
    if ((rank[$to] == rank[$from])); then
      echo "$file includes $included: $from and $to stand side by side" >&2
    else
      echo "$file includes $included: $to is a floor above $from" >&2
    fi
    failed=1
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files '*.h' '*.cpp')

if ((failed)); then
  echo "see the floors at the top of scripts/check-floors.sh and in docs/ARCHITECTURE.md" >&2
  exit 1
fi
echo "no include reaches up a floor"
