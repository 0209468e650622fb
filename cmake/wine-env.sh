# Shared by wine-run.sh and wine-session.sh (sourced, not run): the Wine environment of
# a build tree, its prefix, and the display plus persistent wineserver of a session.
#
# Everything lives in <build>/wine: prefix/ (the Wine prefix), prefix.log (output of
# its creation), display (":N" of the session's Xvfb) and xvfb.pid.
#
# Long-lived helpers are started with their standard streams on /dev/null and lock
# descriptors closed: one that inherits CTest's pipe or a lock keeps the run waiting.

quenlar_find_build_dir() {  # <file in the build tree>: the nearest dir with CMakeCache.txt
  local dir
  dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd -P) || return 1
  while [ "$dir" != / ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      printf '%s\n' "$dir"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  return 1
}

# <file> <package>: fails with a message naming the Debian package when the file is missing.
quenlar_need_file() {
  [ -e "$1" ] && return 0
  echo "$1 is missing: install the Debian package $2 (scripts/install-deps.sh does)" >&2
  return 1
}

# <command> <package>: the same for a program on the PATH.
quenlar_need_command() {
  command -v "$1" >/dev/null 2>&1 && return 0
  echo "$1 is missing: install the Debian package $2 (scripts/install-deps.sh does)" >&2
  return 1
}

quenlar_wine_env() {  # <build dir>
  QUENLAR_WINE_DIR=$1/wine
  export WINEPREFIX=$QUENLAR_WINE_DIR/prefix
  export WINEARCH=win64
  export WINEDEBUG=-all
  # winemenubuilder would copy a Start-menu shortcut made in the prefix to the host's menus.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  mkdir -p "$QUENLAR_WINE_DIR"
}

# Creates the prefix once; concurrent callers wait for the first. A creation that was
# cut short leaves no marker and is redone from scratch.
quenlar_wine_prefix() {
  local ready=$WINEPREFIX/.quenlar-ready
  [ -f "$ready" ] && return 0
  quenlar_need_command wine wine && quenlar_need_file /usr/lib/wine/wine64 wine64 &&
    quenlar_need_file /usr/share/wine/fonts/tahoma.ttf fonts-wine || return 1
  (
    flock 9
    [ -f "$ready" ] && exit 0
    log=$QUENLAR_WINE_DIR/prefix.log
    rm -rf "$WINEPREFIX"
    unset DISPLAY
    {
      wine wineboot -i &&
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts" &&
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" &&
        timeout 60 wineserver -w  # the registry reaches disk when the server ends
    } </dev/null >"$log" 2>&1 9>&- || exit 1
    touch "$ready"
  ) 9>"$QUENLAR_WINE_DIR/prefix.lock"
}

quenlar_running() {  # <pid>: alive and not merely a zombie waiting to be reaped
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

quenlar_xvfb_pid() {  # <state dir>: the recorded Xvfb's pid, if it still runs
  local pid
  pid=$(cat "$1/xvfb.pid" 2>/dev/null) || return 1
  [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] && quenlar_running "$pid" ||
    return 1
  printf '%s\n' "$pid"
}

quenlar_session_alive() {  # <state dir>
  [ -s "$1/display" ] && quenlar_xvfb_pid "$1" >/dev/null
}

quenlar_session_stop() {  # <state dir>
  local state=$1 pid i
  wineserver -k </dev/null >/dev/null 2>&1 9>&- 8>&-
  timeout 30 wineserver -w </dev/null >/dev/null 2>&1 9>&- 8>&-
  if pid=$(quenlar_xvfb_pid "$state"); then
    kill "$pid" 2>/dev/null
    for i in $(seq 100); do
      quenlar_running "$pid" || break
      sleep 0.05
    done
  fi
  rm -f "$state/display" "$state/display.fd" "$state/xvfb.pid"
}

quenlar_session_start() {  # <state dir>
  local state=$1 pid i number
  mkdir -p "$state"
  quenlar_session_stop "$state"  # whatever an aborted run left behind
  quenlar_wine_prefix || {
    echo "could not create the Wine prefix; see $QUENLAR_WINE_DIR/prefix.log" >&2
    return 1
  }

  quenlar_need_command Xvfb xvfb || return 1
  : >"$state/display.fd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
    3>"$state/display.fd" </dev/null >/dev/null 2>&1 9>&- 8>&- &
  pid=$!
  echo "$pid" >"$state/xvfb.pid"
  for i in $(seq 200); do
    number=$(tr -dc 0-9 <"$state/display.fd")
    [ -n "$number" ] && break
    quenlar_running "$pid" || break
    sleep 0.05
  done
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    quenlar_session_stop "$state"
    return 1
  fi
  echo ":$number" >"$state/display"

  export DISPLAY=:$number
  # Boot the prefix's own processes now, detached from the caller's streams.
  if ! wineserver -p </dev/null >/dev/null 2>&1 9>&- 8>&- ||
     ! wine wineboot </dev/null >/dev/null 2>&1 9>&- 8>&-; then
    echo "the persistent wineserver did not start" >&2
    quenlar_session_stop "$state"
    return 1
  fi
}

# For a script that drives Wine itself: the Wine environment of <state dir> held alone
# (a second script on the same state dir is refused with <busy message>), a session
# started now and stopped when the script exits. Fd 7 holds the lock, so a command that
# may outlive the script is run with 7>&-.
quenlar_own_session() {  # <state dir> <busy message>
  quenlar_wine_env "$1"
  exec 7>"$QUENLAR_WINE_DIR/run.lock"
  flock -n 7 || { echo "$2" >&2; exit 1; }
  trap 'quenlar_session_stop "$QUENLAR_WINE_DIR" 7>&-' EXIT
  quenlar_session_start "$QUENLAR_WINE_DIR" 7>&- || exit 1
}
