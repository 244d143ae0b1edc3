#!/usr/bin/env bash
# Runs a test's command in the Wine session ctest allotted to it. tools/test.sh
# opens one session (prefix, X display, server) per parallel job in
# NEB_WINE_SESSIONS and gives ctest one "wine" resource for each; ctest names
# the one a test holds in CTEST_RESOURCE_GROUP_0_WINE ("id:s2,slots:1").
# Without an allotment (the 32-bit lane, or ctest started by hand inside one
# session) the command runs in the session it was started in.
set -euo pipefail
allotted=${CTEST_RESOURCE_GROUP_0_WINE:-}
if [ -n "$allotted" ] && [ -n "${NEB_WINE_SESSIONS:-}" ]; then
  session=${allotted#id:}
  # shellcheck source=/dev/null
  . "$NEB_WINE_SESSIONS/${session%%,*}/env"
  # Each test finds the pointer where a fresh display has it, in the middle
  # of the screen, wherever the session's last test left it.
  xdotool mousemove 640 512
fi
exec "$@"
