#!/usr/bin/env bash
# Launch to first paint of a markup window with twenty controls (the UI
# framework, tests/helpers/skin_window.exe with twenty_controls.xml) against
# a bare Win32 window program (bare_window.exe), both x86-64 under the same
# 64-bit Wine in one run. Each program ends right after its first paint; the
# figure is the best wall time of RUNS starts. Not a test: it prints the
# figures and the ratio and judges nothing (the aim is at most 1.5).
# Usage: tools/bench/launch_benchmark.sh [RUNS=10]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-10}
build="$root/build/x64"
[ -x "$build/tests/helpers/skin_window.exe" ] || bash "$root/tools/build.sh"

. "$root/tools/wine-session.sh"
WINE_SESSION_KEEPER="$build/tests/helpers/listen_window.exe"
wine_session_start
work=$(mktemp -d /tmp/neb-launch.XXXXXX)
trap 'wine_session_end; rm -rf "$work"' EXIT  # replaces the session's own trap

# best_of NAME COMMAND...: the best wall time of RUNS starts.
best_of() {
  local name=$1; shift
  local best="" wall
  "$@" >/dev/null 2>&1  # one start to warm the file cache
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time" -f '%e' "$@" >/dev/null 2>&1
    wall=$(cat "$work/time")
    if [ -z "$best" ] || awk "BEGIN{exit !($wall < $best)}"; then best=$wall; fi
  done
  printf '%-14s %6.3f s\n' "$name" "$best"
  eval "${name}_wall=$best"
}

best_of bare_win32 "$WINE64" "$build/tools/bench/bare_window.exe"
best_of markup_window "$WINE64" "$build/tests/helpers/skin_window.exe" \
  --markup "$(winepath_of "$root/tools/bench/twenty_controls.xml")" --exit-after-paint
awk "BEGIN{printf \"markup window / bare window: %.3f\n\", $markup_window_wall / $bare_win32_wall}"
