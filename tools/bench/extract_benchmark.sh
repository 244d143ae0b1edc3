#!/usr/bin/env bash
# Extraction speed of the installer's Lua_UnCompress7z (x86-64 build, under
# Wine) against `7zz x -mmt1` on the same solid LZMA2 archives, in the same
# run: wall time (best of RUNS) and peak memory of each, and the ratio, for
# a mixed corpus of MEGABYTES and for SMALL files of a few kilobytes, each
# extracted onto the disk and onto a tmpfs. For the small files, Wine's own
# floor beside them: write_files.exe, a bare create-write-close loop making
# the same files (same folders, names and sizes), and the installer's time
# over it. With --memory, also the peak
# memory for one solid block of 1 GB beside its dictionary size (slow: the
# corpus takes minutes to make the first time).
# Not a test: it prints figures and judges nothing.
# Usage: tools/bench/extract_benchmark.sh [--memory] [MEGABYTES=200] [RUNS=3] [SMALL=20000]
# NEB_BENCH_DISK and NEB_BENCH_TMPFS name the folders to extract into
# (default: under /var/tmp and /dev/shm); NEB_BENCH_NEBSCRIPT another
# nebscript.exe to time (an older build, say).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
memory=no
if [ "${1:-}" = --memory ]; then memory=yes; shift; fi
megabytes=${1:-200}
runs=${2:-3}
small=${3:-20000}
nebscript=${NEB_BENCH_NEBSCRIPT:-$root/out/x64/nebscript.exe}
write_files="$root/build/x64/tools/bench/write_files.exe"
[ -x "$nebscript" ] && [ -f "$write_files" ] || bash "$root/tools/build.sh"

. "$root/tools/wine-session.sh"
wine_session_start
work=$(mktemp -d /tmp/neb-bench.XXXXXX)
trap 'wine_session_end; rm -rf "$work"' EXIT  # replaces the session's own trap
cache="${NEB_BENCH_CACHE:-$HOME/.cache/nebinstaller/bench}"
mkdir -p "$cache"

# corpus NAME MAKE-ARGUMENTS... [-- 7ZZ-OPTIONS...]: the archive, made once
# and kept between runs of the benchmark (making it takes longer than the
# measurement).
corpus() {
  local name=$1; shift
  local make=() options=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do make+=("$1"); shift; done
  [ $# -gt 0 ] && shift && options=("$@")
  local archive="$cache/$name.7z"
  if [ ! -f "$archive" ]; then
    rm -rf "$work/corpus"
    python3 "$root/tools/bench/make_corpus.py" "${make[@]}" >&2
    (cd "$work/corpus" && 7zz a -t7z -m0=lzma2 -mx=5 -ms=on "${options[@]}" -bd -bso0 "$archive.part" .)
    mv "$archive.part" "$archive"
    rm -rf "$work/corpus"
  fi
  printf '%s' "$archive"
}

cat > "$work/extract.lua" <<'LUA'
assert(Lua_UnCompress7z(arg[1], arg[2], true), "extraction failed")
LUA

# best_of OUT COMMAND...: runs the command RUNS times into a fresh OUT,
# sets best (wall seconds) and peak (MB, the largest of the runs).
best_of() {
  local out=$1; shift
  local wall rss
  best="" peak=0
  for _ in $(seq "$runs"); do
    rm -rf "$out"; mkdir -p "$out"; sync
    /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1
    read -r wall rss < "$work/time"
    if [ -z "$best" ] || awk "BEGIN{exit !($wall < $best)}"; then best=$wall; fi
    [ "$rss" -gt "$peak" ] && peak=$rss
  done
  rm -rf "$out"
  peak=$(awk "BEGIN{printf \"%.0f\", $peak / 1024}")
}

# manifest ARCHIVE: the files of the archive as write_files.exe reads them
# ("SIZE PATH" lines, backslashes), into $work/manifest.
manifest() {
  7zz l -slt "$1" | awk '
    /^Path = / { path = substr($0, 8); gsub("/", "\\\\", path) }
    /^Size = / { size = $3 }
    /^Attributes = / { if (path != "" && $3 !~ /D/) print size, path; path = "" }
  ' > "$work/manifest"
}

# compare LABEL ARCHIVE OUT-FOLDER [floor]: one line of the table; with
# "floor", also write_files.exe's time for the same files and the ratio of
# the installer to it.
compare() {
  local label=$1 archive=$2 out=$3/neb-bench-out floor=${4:-}
  best_of "$out" 7zz x -mmt1 -bd -y -o"$out" "$archive"
  local seven=$best seven_peak=$peak
  best_of "$out" "$WINE_LOADER" "$nebscript" "$(winepath_of "$work/extract.lua")" "$(winepath_of "$archive")" \
    "$(winepath_of "$out")"
  local installer=$best installer_peak=$peak floor_columns=""
  if [ -n "$floor" ]; then
    manifest "$archive"
    best_of "$out" "$WINE_LOADER" "$write_files" "$(winepath_of "$work/manifest")" "$(winepath_of "$out")"
    floor_columns=$(printf '%8.2f s %7.3f' "$best" "$(awk "BEGIN{print $installer / $best}")")
  fi
  printf '%-28s %8.2f s %8.2f s %7.3f %6d MB %6d MB %s\n' "$label" "$seven" "$installer" \
    "$(awk "BEGIN{print $installer / $seven}")" "$seven_peak" "$installer_peak" "$floor_columns"
}

disk=${NEB_BENCH_DISK:-/var/tmp}
tmpfs=${NEB_BENCH_TMPFS:-/dev/shm}
mixed=$(corpus "mixed-$megabytes" "$work/corpus" "$megabytes")
smallfiles=$(corpus "small-$small-in-400" --small "$work/corpus" "$small")
printf 'best of %d; ratio = installer / 7zz; peak = largest resident size;\n' "$runs"
printf 'floor = a bare create-write-close loop under Wine making the same files\n'
printf '%-28s %10s %10s %7s %9s %9s %10s %7s\n' corpus 7zz installer ratio "7zz peak" "inst peak" floor "/floor"
compare "${megabytes} MB mixed, disk" "$mixed" "$disk"
compare "${megabytes} MB mixed, tmpfs" "$mixed" "$tmpfs"
compare "$small small files, disk" "$smallfiles" "$disk" floor
compare "$small small files, tmpfs" "$smallfiles" "$tmpfs" floor

if [ "$memory" = yes ]; then
  # One solid block of 1 GB, with the dictionary 7zz chooses for -mx=5.
  big=$(corpus "block-1024" "$work/corpus" 1024 -- -ms=4g)
  runs=1
  compare "1 GB solid block, tmpfs" "$big" "$tmpfs"
  7zz l -slt "$big" | grep -m2 -E '^(Method|Blocks) = '
  printf 'LZMA2:N is a dictionary of 2^N bytes; the installer may use at most that + 32 MB\n'
fi
