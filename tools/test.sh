#!/usr/bin/env bash
# Builds everything (tools/build.sh), then runs the whole test suite in two
# steps: the x86-64 build under the host's 64-bit Wine (ctest in build/x64),
# then the 32-bit lane, the i686 build under 32-bit Wine (tools/lane32.sh,
# ctest in build/x86). CTest arguments (-R REGEX, ...) go to both; a step
# with no test selected sets up nothing. Exit code: 0 when both passed.
#
# The x86-64 tests run side by side, NEB_TEST_JOBS at a time (default 4:
# most of a Wine test's time is spent waiting, so more jobs than cores pay).
# Each job has a Wine session of its own, with a fresh prefix and a private
# X display that exist only for the run (tools/wine-session.sh); each test
# takes a free one for as long as it runs (tools/in-wine-session.sh), so no
# two tests share a prefix or a display at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"

run_x64() {
  # shellcheck source=tools/wine-session.sh
  . "$root/tools/wine-session.sh"
  WINE_SESSION_KEEPER="$root/build/x64/tests/helpers/listen_window.exe"
  local jobs=${NEB_TEST_JOBS:-4} started=$SECONDS index session pids=()
  NEB_WINE_SESSIONS=$(mktemp -d /tmp/neb-sessions.XXXXXX)
  export NEB_WINE_SESSIONS
  close_sessions() {
    for session in "$NEB_WINE_SESSIONS"/s*; do
      [ -d "$session" ] && wine_session_close "$session"
    done
    rm -rf "$NEB_WINE_SESSIONS"
  }
  trap close_sessions EXIT
  for index in $(seq 0 $((jobs - 1))); do
    session="$NEB_WINE_SESSIONS/s$index"
    mkdir "$session"
    (wine_session_open "$session") &
    pids+=($!)
  done
  for index in "${pids[@]}"; do wait "$index"; done
  echo "x86-64 build: $jobs Wine sessions ready after $((SECONDS - started)) s"
  cd "$root/build/x64"
  ctest --output-on-failure --timeout 1200 -j "$jobs" "$@"
}

status=0
if (cd "$root/build/x64" && ctest -N "$@") | grep -q '^Total Tests: 0$'; then
  echo "x86-64 build: no test selected"
else
  (run_x64 "$@") || status=1
fi
bash "$root/tools/lane32.sh" "$@" || status=1
exit $status
