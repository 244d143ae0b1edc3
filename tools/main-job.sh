#!/usr/bin/env bash
# The main job: builds both targets, then installs silently into a fresh Wine
# prefix with the x86-64 build and shows what the installer did: its
# debugger output lines, in order.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/tools/build.sh"

# shellcheck source=tools/wine-session.sh
. "$root/tools/wine-session.sh"
wine_session_start

# The installer removes its own file at the next restart: run a copy.
cp "$root/out/x64/NEBInstaller.exe" "$WINEPREFIX/drive_c/NEBInstaller.exe"
echo "== silent install: C:\\NEBInstaller.exe /InstallSlience true"
WINEDEBUG=warn+seh "$WINE64" 'C:\NEBInstaller.exe' /InstallSlience true 2>"$wine_session_dir/run.log"
echo "exit code: $?"
echo "== debugger output"
PYTHONDONTWRITEBYTECODE=1 python3 -c '
import sys
sys.path.insert(0, sys.argv[1])
import neb
for line in neb.debug_lines(open(sys.argv[2], encoding="utf-8", errors="replace").read()):
    print(line.rstrip("\r\n"))
' "$root/tests/e2e" "$wine_session_dir/run.log"
echo "== installed files (C:\\Program Files\\Lumetrica)"
installed="$WINEPREFIX/drive_c/Program Files/Lumetrica"
if [ -d "$installed" ]; then
  (cd "$installed" && find . -mindepth 1 | sort | sed 's|^\./|  |')
else
  echo "  (none)"
fi
echo "== install log"
cat "$WINEPREFIX"/drive_c/users/*/Temp/LumetricaClientInstall_*.log 2>/dev/null || echo "  (none)"
