#!/usr/bin/env bash
# Extraction speed of the installer's Lua_UnCompress7z (x86-64 build, under
# Wine) against 7zz on the same solid LZMA2 archive, single-threaded, in the
# same run; wall time and peak memory of each, best of RUNS, and the ratio.
# Not a test: it prints figures and judges nothing.
# Usage: tools/bench/extract_benchmark.sh [MEGABYTES=300] [RUNS=3]
# NEB_BENCH_OUT names the folder to extract into (default: under /tmp); a
# tmpfs such as /dev/shm takes the disk's write-back out of the figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
megabytes=${1:-300}
runs=${2:-3}
[ -x "$root/out/x64/nebscript.exe" ] || bash "$root/tools/build.sh"

. "$root/tools/wine-session.sh"
wine_session_start
work=$(mktemp -d /tmp/neb-bench.XXXXXX)
trap 'wine_session_end; rm -rf "$work"' EXIT  # replaces the session's own trap

# The archive is kept between runs of the benchmark: making it takes longer
# than the measurement.
archive="${NEB_BENCH_CACHE:-$HOME/.cache/nebinstaller/bench}/corpus-$megabytes.7z"
if [ ! -f "$archive" ]; then
  mkdir -p "$(dirname "$archive")"
  python3 "$root/tools/bench/make_corpus.py" "$work/corpus" "$megabytes"
  (cd "$work/corpus" && 7zz a -t7z -m0=lzma2 -mx=5 -ms=on -bd -bso0 "$archive.part" .)
  mv "$archive.part" "$archive"
  rm -rf "$work/corpus"
fi
ln -s "$archive" "$work/corpus.7z"
ls -lL "$work/corpus.7z" | awk '{printf "archive: %.1f MB\n", $5 / 1048576}'
cat > "$work/extract.lua" <<'LUA'
assert(Lua_UnCompress7z(arg[1], arg[2], true), "extraction failed")
LUA

# best_of NAME COMMAND...: runs the command RUNS times into a fresh folder,
# prints the best wall time and the largest peak memory.
out=${NEB_BENCH_OUT:-$work}/neb-bench-out
best_of() {
  local name=$1; shift
  local best="" peak=0 wall rss
  for _ in $(seq "$runs"); do
    rm -rf "$out"; mkdir -p "$out"
    /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1
    read -r wall rss < "$work/time"
    if [ -z "$best" ] || awk "BEGIN{exit !($wall < $best)}"; then best=$wall; fi
    [ "$rss" -gt "$peak" ] && peak=$rss
  done
  rm -rf "$out"
  printf '%-12s %8.2f s %8.1f MB peak\n' "$name" "$best" "$(awk "BEGIN{print $peak/1024}")"
  eval "${name}_wall=$best"
}

best_of sevenzip 7zz x -mmt1 -bd -y -o"$out" "$work/corpus.7z"
best_of installer "$WINE64" "$root/out/x64/nebscript.exe" "$(winepath_of "$work/extract.lua")" \
  "$(winepath_of "$work/corpus.7z")" "$(winepath_of "$out")"
awk "BEGIN{printf \"installer / 7zz wall time: %.3f\n\", $installer_wall / $sevenzip_wall}"
