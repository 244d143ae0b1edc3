#!/usr/bin/env bash
# The main job: builds both targets, then installs the sample product
# silently into a fresh Wine prefix with the x86-64 build of the shipped
# scripts, whose statistics endpoints point at a local collector, and shows
# what the install left on the system, read back from the system.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"

# shellcheck source=tools/wine-session.sh
. "$root/tools/wine-session.sh"
WINE_SESSION_KEEPER="$root/build/x64/tests/helpers/listen_window.exe"
wine_session_start
export NEB_BUILD_DIR="$root/build/x64" PYTHONDONTWRITEBYTECODE=1

# The collector records what the statistics library sends, on loopback.
records="$wine_session_dir/collector.jsonl"
python3 "$root/tests/e2e/collector.py" "$records" >"$wine_session_dir/collector.ports" &
collector=$!
trap 'kill $collector 2>/dev/null; wine_session_end' EXIT
for _ in $(seq 100); do
  [ "$(wc -l <"$wine_session_dir/collector.ports")" -ge 2 ] && break
  sleep 0.1
done
udp_port=$(awk '$1 == "udp" {print $2}' "$wine_session_dir/collector.ports")
http_port=$(awk '$1 == "http" {print $2}' "$wine_session_dir/collector.ports")
echo "== collector on 127.0.0.1: UDP $udp_port, HTTP $http_port"

# The installer removes its own file at the next restart: run a copy.
cp "$root/build/x64/tests/e2e/collector_installer.exe" "$WINEPREFIX/drive_c/Lumetrica_setup.exe"
echo "== silent install: C:\\Lumetrica_setup.exe /InstallSlience true"
status=0
NEB_COLLECTOR_HOST=127.0.0.1 NEB_COLLECTOR_UDP_PORT=$udp_port NEB_COLLECTOR_HTTP_PORT=$http_port \
  WINEDEBUG=warn+seh "$WINE_LOADER" 'C:\Lumetrica_setup.exe' /InstallSlience true 2>"$wine_session_dir/run.log" ||
  status=$?
echo "exit code: $status"
echo "== debugger output"
python3 -c '
import sys
sys.path.insert(0, sys.argv[1])
import neb
for line in neb.debug_lines(open(sys.argv[2], encoding="utf-8", errors="replace").read()):
    print("  " + line.rstrip("\r\n"))
' "$root/tests/e2e" "$wine_session_dir/run.log"
# Debian's interpreter: reading the installer's chunks takes python3-pefile.
/usr/bin/python3 "$root/tests/e2e/show_install.py" 'C:\Program Files\Orrinthwake' "$records"
