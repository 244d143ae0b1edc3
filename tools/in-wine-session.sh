#!/usr/bin/env bash
# Runs a test's command in a Wine session of its own. tools/test.sh opens
# one session (prefix, X display, server) per parallel job, each a folder
# s0, s1, ... in NEB_WINE_SESSIONS, and runs as many tests at once as there
# are sessions: each test takes the first session whose lock is free and
# holds it until its command ends, so no two tests share a prefix or a
# display. The command itself does not inherit the lock, so a program it
# leaves running cannot keep the session from the next test.
# Without NEB_WINE_SESSIONS (the 32-bit lane, or ctest started by hand
# inside one session) the command runs in the session it was started in.
set -euo pipefail
[ -n "${NEB_WINE_SESSIONS:-}" ] || exec "$@"
while :; do
  for session in "$NEB_WINE_SESSIONS"/s*; do
    exec 9>"$session/lock"
    flock -n 9 && break 2
    exec 9>&-
  done
  sleep 0.2
done
# shellcheck source=/dev/null
. "$session/env"
# Each test finds the pointer where a fresh display has it, in the middle of
# the screen, wherever the session's last test left it.
xdotool mousemove 640 512
status=0
"$@" 9>&- || status=$?
exit $status
