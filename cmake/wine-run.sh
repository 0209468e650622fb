#!/bin/bash
# wine-run.sh <exe> [args...]
# Runs a Windows program of this build tree under Wine, in the tree's own prefix, and
# returns its exit code. CTest uses it as the cross-compiling emulator. It joins the
# session that wine-session.sh started; without one it starts a private session for
# this call alone (slower), so a program can also be run by hand.
# The build tree is $QUENLAR_BUILD_DIR, else the nearest dir above <exe> holding
# CMakeCache.txt.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh <exe> [args...]" >&2
  exit 2
fi
exe=$1
shift
build=${QUENLAR_BUILD_DIR:-}
if [ -z "$build" ]; then
  build=$(quenlar_find_build_dir "$exe") || {
    echo "wine-run.sh: no build tree above $exe; set QUENLAR_BUILD_DIR" >&2
    exit 125
  }
fi
quenlar_wine_env "$(cd "$build" && pwd -P)"

# Wine ends lines with CR LF: strip the CRs of both streams, keeping them apart.
run() {
  set -o pipefail
  { wine "$exe" "$@" 2>&1 1>&3 3>&- 8>&- | tr -d '\r' >&2; } 3>&1 | tr -d '\r'
}

if quenlar_session_alive "$QUENLAR_WINE_DIR"; then
  DISPLAY=$(cat "$QUENLAR_WINE_DIR/display") run "$@"
  exit
fi

exec 8>"$QUENLAR_WINE_DIR/private.lock"
flock 8
private=$QUENLAR_WINE_DIR/private
quenlar_session_start "$private" || exit 125
run "$@"
status=$?
quenlar_session_stop "$private"
exit $status
