#!/usr/bin/env bash
# Builds everything (tools/build.sh), then runs the whole test suite in two
# steps, each in a fresh Wine prefix and on a private X display that exist
# only for its run: the x86-64 build under the host's 64-bit Wine (ctest in
# build/x64), then the 32-bit lane, the i686 build under 32-bit Wine
# (tools/lane32.sh, ctest in build/x86). CTest arguments (-R REGEX, ...) go
# to both; a step with no test selected sets up nothing. Exit code: 0 when both
# passed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"

run_x64() {
  # shellcheck source=tools/wine-session.sh
  . "$root/tools/wine-session.sh"
  WINE_SESSION_KEEPER="$root/build/x64/tests/helpers/listen_window.exe"
  wine_session_start
  cd "$root/build/x64"
  ctest --output-on-failure --timeout 1200 "$@"
}

status=0
if (cd "$root/build/x64" && ctest -N "$@") | grep -q '^Total Tests: 0$'; then
  echo "x86-64 build: no test selected"
else
  (run_x64 "$@") || status=1
fi
bash "$root/tools/lane32.sh" "$@" || status=1
exit $status
