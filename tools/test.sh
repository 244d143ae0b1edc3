#!/usr/bin/env bash
# Builds everything (tools/build.sh), then runs the whole test suite: the
# x86-64 build under 64-bit Wine, in a fresh Wine prefix and on a private X
# display that exist only for this run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"

# shellcheck source=tools/wine-session.sh
. "$root/tools/wine-session.sh"
WINE_SESSION_KEEPER="$root/build/x64/tests/helpers/listen_window.exe"
wine_session_start

cd "$root/build/x64"
ctest --output-on-failure --timeout 1200 "$@"
