# Sourced by the scripts that run Windows programs: a fresh Wine prefix, a
# private X display (windows, message boxes and painting need one), and a
# server kept alive for the whole session so programs start quickly.
# wine_session_start sets one up for the sourcing shell and ends it when the
# shell exits; wine_session_open and wine_session_close make and end one in
# a folder of its own, so that several sessions can serve tests side by side
# (tools/test.sh).
# The Wine of the session: the host's 64-bit Wine, unless the sourcing script
# names another first (the 32-bit lane, tools/lane32.sh). The test harness
# (tests/e2e/neb.py) runs programs with the loader named in NEB_WINE.
WINE_LOADER=${WINE_LOADER:-/usr/lib/wine/wine64}
WINE_SERVER=${WINE_SERVER:-/usr/lib/wine/wineserver}
export NEB_WINE=$WINE_LOADER

wine_session_environment() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LANG=C.UTF-8
}

# wine_session_open DIR: the session's prefix (DIR/prefix), X display, server
# and window keeper. DIR/env holds the session's variables for a shell to
# source; its processes end with wine_session_close DIR.
wine_session_open() {
  local dir=$1 waited
  wine_session_environment
  export WINEPREFIX="$dir/prefix"

  # Xvfb picks a free display itself and writes its number once it is ready.
  # The screen holds the dialog at 300 % (1920 x 1500) with its shadow.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp \
    3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  echo $! >"$dir/xvfb.pid"
  for waited in $(seq 100); do
    [ -s "$dir/display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(cat "$dir/display")"

  "$WINE_LOADER" wineboot -i >"$dir/wineboot.log" 2>&1
  "$WINE_SERVER" -w
  # Wine links the user's Desktop, Documents and the like to the Unix home
  # folder, which every prefix on the machine shares: links a test writes
  # there would be seen by other test runs. Plain folders keep each prefix
  # to itself.
  local shell_folder
  for shell_folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$shell_folder" ]; then
      rm "$shell_folder"
      mkdir "$shell_folder"
    fi
  done
  # Keep one server for the whole session: every start of a new server is a
  # "restart" to Wine, which also carries out pending delete-at-restart work.
  "$WINE_SERVER" -p >/dev/null 2>&1
  "$WINE_LOADER" cmd /c exit >/dev/null 2>&1
  # A program that opens a window and stays for the whole session: Wine's
  # desktop process starts with it (and with its quiet output) and stays up,
  # instead of stopping after every program and starting again with the
  # output of whichever program opens the next window.
  if [ -n "${WINE_SESSION_KEEPER:-}" ]; then
    "$WINE_LOADER" "$WINE_SESSION_KEEPER" --class NEBWineSessionKeeper --seconds 86400 \
      </dev/null >"$dir/keeper.out" 2>/dev/null &
    echo $! >"$dir/keeper.pid"
    # It prints its window's handle once the window exists, and so the
    # desktop process: no test may open a window before that.
    for waited in $(seq 300); do
      [ -s "$dir/keeper.out" ] && break
      sleep 0.1
    done
  fi
  printf 'export WINEPREFIX=%q DISPLAY=%q\n' "$WINEPREFIX" "$DISPLAY" >"$dir/env"
}

wine_session_close() {
  local dir=$1
  [ -s "$dir/keeper.pid" ] && kill "$(cat "$dir/keeper.pid")" 2>/dev/null
  WINEPREFIX="$dir/prefix" "$WINE_SERVER" -k 2>/dev/null || true
  if [ -s "$dir/xvfb.pid" ]; then
    local xvfb
    xvfb=$(cat "$dir/xvfb.pid")
    kill "$xvfb" 2>/dev/null || true
    # Reaped here when this shell started it; otherwise waited for until
    # it is gone.
    wait "$xvfb" 2>/dev/null || true
    while kill -0 "$xvfb" 2>/dev/null; do sleep 0.1; done
  fi
  rm -rf "$dir"
}

wine_session_start() {
  wine_session_dir=$(mktemp -d /tmp/neb-wine.XXXXXX)
  wine_session_open "$wine_session_dir"
  trap wine_session_end EXIT
}

wine_session_end() { wine_session_close "$wine_session_dir"; }

# The Windows name of a Unix path, through Wine's Z: drive.
winepath_of() { printf 'Z:%s' "$(readlink -f "$1" | tr / '\\')"; }
