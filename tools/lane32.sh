#!/usr/bin/env bash
# The 32-bit lane: runs the i686 build's tests (ctest in build/x86: the
# shipped out/x86/NEBInstaller.exe and the helpers its checks use) under
# Debian's 32-bit Wine 8.0, in an i386 Debian root that the kernel runs
# through qemu-i386 (deps/build-lane32-root.sh builds both into the
# dependency cache). A fresh prefix and a private X display serve the whole
# run, as for the x86-64 tests (tools/wine-session.sh). The 64-bit Wine of
# the other tests is not touched. Usage, after tools/build.sh:
#   lane32.sh [CTEST ARGS...]
# Cases labelled lane32-extra run only with NEB_LANE32_ALL=1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${NEB_DEPS_CACHE:-$HOME/.cache/nebinstaller}

labels=(-LE lane32-extra)
[ "${NEB_LANE32_ALL:-}" = 1 ] && labels=()

if [ -z "${NEB_LANE32_DIR:-}" ]; then
  if (cd "$root/build/x86" && ctest -N "${labels[@]}" "$@") | grep -q '^Total Tests: 0$'; then
    echo "32-bit lane: no test selected"
    exit 0
  fi
  started=$SECONDS
  lane=$(bash "$root/deps/build-lane32-root.sh" "$cache")
  bash "$root/deps/lane32/binfmt.sh" "$lane/qemu-i386"
  echo "32-bit lane: $lane ready after $((SECONDS - started)) s"
  # Every mount the lane makes lives in a mount namespace of its own, so
  # they all go when the lane ends, however it ends, and no other program
  # on the machine sees them.
  NEB_LANE32_DIR=$lane exec unshare --mount --propagation private bash "$0" "$@"
fi

export NEB_LANE32_ROOT="$NEB_LANE32_DIR/root"
lane_root=$NEB_LANE32_ROOT
mount -t proc proc "$lane_root/proc"
mount --rbind /sys "$lane_root/sys"
mount --rbind /dev "$lane_root/dev"
mount -t tmpfs -o mode=1777 tmpfs "$lane_root/dev/shm"
# The prefix, the tests' scratch folders and the build are seen at the same
# paths inside the root. The X server is reached through its abstract socket.
mount --bind /tmp "$lane_root/tmp"
mkdir -p "$lane_root$root"
mount --bind "$root" "$lane_root$root"

WINE_LOADER="$root/tools/lane32/wine"
WINE_SERVER="$root/tools/lane32/wineserver"
# shellcheck source=tools/wine-session.sh
. "$root/tools/wine-session.sh"
WINE_SESSION_KEEPER="$root/build/x86/tests/helpers/listen_window.exe"
started=$SECONDS
wine_session_start
# winedbg cannot attach to a process under qemu, and would leave its dialog
# on the display for every program that crashes.
"$WINE_LOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f \
  >/dev/null 2>&1
echo "32-bit lane: prefix ready after $((SECONDS - started)) s"

cd "$root/build/x86"
ctest --output-on-failure --timeout 1200 "${labels[@]}" "$@"
