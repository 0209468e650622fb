#!/bin/bash
# wine-session.sh start|stop [build dir]
# Starts (or stops) the display and the persistent wineserver that the Wine tests of a
# build tree share; the display is recorded in <build>/wine/display. The build dir is
# the argument, else $QUENLAR_BUILD_DIR.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

command=${1:-}
build=${2:-${QUENLAR_BUILD_DIR:-}}
if [ -z "$build" ] || [ ! -f "$build/CMakeCache.txt" ]; then
  echo "usage: wine-session.sh start|stop <build dir>" >&2
  exit 2
fi
quenlar_wine_env "$(cd "$build" && pwd -P)"

case $command in
  start) quenlar_session_start "$QUENLAR_WINE_DIR" && echo "Wine session on $(cat "$QUENLAR_WINE_DIR/display")" ;;
  stop) quenlar_session_stop "$QUENLAR_WINE_DIR" ;;
  *) echo "usage: wine-session.sh start|stop <build dir>" >&2; exit 2 ;;
esac
