#!/usr/bin/env bash
# The main job: builds quenlar.exe, the stand-in game client and the demo player, then
# runs Quenlar under Wine.
#   - With a reachable display ($DISPLAY) and no --headless: copies the stand-in game to
#     C:\Games\Mir of its own prefix and opens Quenlar on that display for a person.
#   - Otherwise (the default in a shell without a display): on its own virtual display,
#     plays a whole game: a first run (the first-time question answered Yes,
#     C:\Games\Mir\mir.exe chosen), a second start that saves an account through the
#     editor, prepares two chat lines, presses Play, sees the login filled and the lines in
#     the game's chat, and exits; a screenshot of each stage, the event log and the game's
#     transcript are left in the output folder.
# Every run starts from a clean user state of its prefix, so it can be repeated.
# --update-readme-picture also copies the game's picture to docs/ for the README.
# Usage: scripts/run.sh [--headless] [--update-readme-picture] [output-folder]
#        (default output folder: out)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd -P)

headless=0
update_picture=0
out=out
for arg in "$@"; do
  case $arg in
    --headless) headless=1 ;;
    --update-readme-picture) update_picture=1; headless=1 ;;
    -h | --help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $arg" >&2; exit 2 ;;
    *) out=$arg ;;
  esac
done

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target quenlar mir quenlar_demo

build=$root/build/windows
quenlar=$build/quenlar.exe
mir=$build/standin/mir.exe
. cmake/wine-env.sh

display_reachable() {
  [ -n "${DISPLAY:-}" ] || return 1
  if command -v xdpyinfo >/dev/null; then
    timeout 5 xdpyinfo >/dev/null 2>&1
  else
    timeout 5 xwd -root -silent >/dev/null 2>&1
  fi
}

if [ "$headless" = 0 ] && display_reachable; then
  # A prefix of its own, so the tests and the demo never touch a person's settings.
  quenlar_wine_env "$build/desktop"
  quenlar_wine_prefix || { echo "could not create the Wine prefix" >&2; exit 1; }
  # A window manager is present: let it manage Wine's windows.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
  game=$WINEPREFIX/drive_c/Games/Mir
  mkdir -p "$game"
  cp "$mir" "$(dirname "$mir")/ftp.ini" "$game/"
  echo "Starting Quenlar on $DISPLAY (the stand-in game is C:\\Games\\Mir\\mir.exe)"
  exec wine "$quenlar"
fi

# Headless: a display, prefix and wineserver of its own, apart from the test tier's.
state=$build/demo
quenlar_own_session "$state" "scripts/run.sh or startup-time.sh is running"

mkdir -p "$out"
out=$(cd "$out" && pwd -P)
rm -f "$out"/[0-9]-*.* "$out"/event-log.txt "$out"/mir-transcript.txt
QUENLAR_BUILD_DIR=$state cmake/wine-run.sh "$build/e2e/quenlar_demo.exe" "$quenlar" "$mir" "$out" 7>&-
e2e/bmp-to-png.sh "$out"

echo
echo "Screenshots, event log and game transcript:"
for f in "$out"/[0-9]-*.* "$out"/event-log.txt "$out"/mir-transcript.txt; do echo "  $f"; done
if [ "$update_picture" = 1 ]; then
  mkdir -p docs
  cp "$out/2-second-start.png" docs/screenshot.png
  cp "$out/5-chat-lines.png" docs/game.png
  echo "  docs/screenshot.png and docs/game.png updated (shown in README.md)"
fi
