#!/usr/bin/env bash
# A silent install of the sample product with a payload of realistic size
# (the product's files and MEGABYTES of generated mixed files, one solid
# LZMA2 archive), against 7zz extracting the same archive single-threaded,
# in the same run. Prints the wall times and their ratio, the ratio of the
# install's extraction step alone (from the script's log markers around it),
# and the size of the shipped 32-bit installer without its payload.
# Not a test: it prints figures and judges nothing.
# Usage: tools/bench/install_benchmark.sh [MEGABYTES=160]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
megabytes=${1:-160}
installer="$root/build/x64/tests/e2e/collector_installer.exe"
[ -f "$installer" ] && [ -f "$root/out/x86/NEBInstaller.exe" ] || bash "$root/tools/build.sh"

. "$root/tools/wine-session.sh"
WINE_SESSION_KEEPER="$root/build/x64/tests/helpers/listen_window.exe"
wine_session_start
work=$(mktemp -d /tmp/neb-install-bench.XXXXXX)
trap 'wine_session_end; rm -rf "$work"' EXIT  # replaces the session's own trap

# The archive is kept between runs (making it takes longer than measuring),
# under the digest of the product's files: a rebuilt product is measured
# with its own programs (the service tool the install runs, ...).
payload="$root/build/x64/product/payload"
digest=$(cd "$payload" && find . -type f | LC_ALL=C sort | xargs sha256sum | sha256sum | cut -c1-12)
archive="${NEB_BENCH_CACHE:-$HOME/.cache/nebinstaller/bench}/product-$megabytes-$digest.7z"
if [ ! -f "$archive" ]; then
  mkdir -p "$(dirname "$archive")"
  python3 "$root/tools/bench/make_corpus.py" "$work/stage/data" "$megabytes"
  cp -r "$payload/." "$work/stage/"
  (cd "$work/stage" && 7zz a -t7z -m0=lzma2 -mx=9 -ms=on -bd -bso0 "$archive.part" .)
  mv "$archive.part" "$archive"
  rm -rf "$work/stage"
fi
ls -lL "$archive" | awk '{printf "payload archive: %.1f MB\n", $5 / 1048576}'

since() { awk -v s="$1" -v n="$(date +%s.%N)" 'BEGIN{print n - s}'; }

out="$work/7zz-out"
start=$(date +%s.%N)
7zz x -mmt1 -bd -bso0 -y -o"$out" "$archive"
sevenzip=$(since "$start")
rm -rf "$out"

cp "$installer" "$WINEPREFIX/drive_c/setup.exe"
settings="InstallPackFile = [==[$(winepath_of "$archive")]==]"
# No collector: the statistics reports find a closed loopback port at once.
start=$(date +%s.%N)
NEB_TEST_SETTINGS="$settings" NEB_COLLECTOR_UDP_PORT=9 NEB_COLLECTOR_HTTP_PORT=9 \
  "$WINE_LOADER" 'C:\setup.exe' /InstallSlience true >/dev/null 2>&1
install=$(since "$start")

# The extraction step: between the log markers written just before and
# just after the script's Lua_UnCompress7z call.
log=$(ls "$WINEPREFIX"/drive_c/users/*/Temp/LumetricaClientInstall_*.log)
step=$(python3 - "$log" <<'PY'
import datetime, sys
stamps = {}
for line in open(sys.argv[1], encoding="utf-8", errors="replace"):
    for marker in ("log:NEBSE_OnInstall_2", "log:global_version"):
        if line.rstrip().endswith(marker):
            stamps[marker] = datetime.datetime.strptime(line[1:24], "%Y-%m-%d %H:%M:%S.%f")
print((stamps["log:global_version"] - stamps["log:NEBSE_OnInstall_2"]).total_seconds())
PY
)
printf '7zz x -mmt1:           %8.2f s\n' "$sevenzip"
printf 'silent install:        %8.2f s\n' "$install"
printf 'extraction step alone: %8.2f s\n' "$step"
awk "BEGIN{printf \"install / 7zz:               %.3f\n\", $install / $sevenzip}"
awk "BEGIN{printf \"extraction step / 7zz:       %.3f\n\", $step / $sevenzip}"

shipped="$root/out/x86/NEBInstaller.exe"
payload="$root/build/x86/product/payload.7z.swapped"
awk -v i="$(stat -c %s "$shipped")" -v p="$(stat -c %s "$payload")" \
  'BEGIN{printf "32-bit installer: %d bytes, of which payload %d; without it about %.1f KB\n", i, p, (i - p) / 1024}'
