#!/usr/bin/env bash
# Launch to first paint of a markup window with twenty controls (the UI
# framework, tests/helpers/skin_window.exe with twenty_controls.xml) and of
# the shipped dialog's markup (res/skin: its pictures, fonts, rich edit and
# shadow), once in that plain markup window (no shadow) and once on the
# window base the installer's dialog uses (tests/helpers/frame_window.exe,
# which gives it its drop shadow), against a bare Win32 window program
# (bare_window.exe), all x86-64
# under the same 64-bit Wine in one run. Each program measures itself: the milliseconds from
# its process's creation to the end of its first paint, then it ends. The
# figure is the best of RUNS starts; the whole process's wall time (with
# Wine's start and end of a process around it) is printed beside it. Not a
# test: it prints the figures and the ratio and judges nothing (the aim is at
# most 1.5 for the markup window, 1.3 for the shipped dialog).
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

# best_of NAME COMMAND...: the best launch-to-first-paint time and the best
# process wall time of RUNS starts.
best_of() {
  local name=$1; shift
  local best="" best_wall="" paint wall
  "$@" >/dev/null 2>&1  # one start to warm the file cache
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time" -f '%e' "$@" >"$work/out" 2>/dev/null
    paint=$(tr -d '\r' < "$work/out" | awk '/^first-paint-ms/ {print $2}')
    wall=$(cat "$work/time")
    [ -n "$paint" ] || { echo "$name printed no first-paint time" >&2; exit 1; }
    if [ -z "$best" ] || awk "BEGIN{exit !($paint < $best)}"; then best=$paint; fi
    if [ -z "$best_wall" ] || awk "BEGIN{exit !($wall < $best_wall)}"; then best_wall=$wall; fi
  done
  printf '%-14s first paint %8.1f ms   process %6.2f s\n' "$name" "$best" "$best_wall"
  eval "${name}_paint=$best"
}

best_of bare_win32 "$WINE_LOADER" "$build/tools/bench/bare_window.exe"
best_of markup_window "$WINE_LOADER" "$build/tests/helpers/skin_window.exe" \
  --markup "$(winepath_of "$root/tools/bench/twenty_controls.xml")" --exit-after-paint
best_of shipped_markup "$WINE_LOADER" "$build/tests/helpers/skin_window.exe" \
  --skin "$(winepath_of "$root/res/skin")" --markup Layout/Layout.xml --exit-after-paint
best_of shipped_dialog "$WINE_LOADER" "$build/tests/helpers/frame_window.exe" \
  --skin "$(winepath_of "$root/res/skin")" --markup Layout/Layout.xml --exit-after-paint
awk "BEGIN{printf \"launch to first paint, markup window / bare window: %.3f\n\", $markup_window_paint / $bare_win32_paint}"
awk "BEGIN{printf \"launch to first paint, shipped markup without shadow / bare window: %.3f\n\", $shipped_markup_paint / $bare_win32_paint}"
awk "BEGIN{printf \"launch to first paint, shipped dialog on the window base / bare window: %.3f\n\", $shipped_dialog_paint / $bare_win32_paint}"
