#!/usr/bin/env bash
# Builds the 32-bit lane into the dependency cache: qemu-i386 10 taken out of
# bookworm-backports' qemu-user package, and an i386 Debian bookworm root
# with 32-bit Wine 8.0, the X client libraries Wine uses and the CJK font,
# and the trap-number fix for qemu (deps/lane32/trap_fix.c) preloaded into
# every program there. The host's apt set-up stays as it is (backports is
# reached through an apt configuration of the cache's own), and nothing of
# 32-bit Wine is installed on the host: /usr/bin/wine would pick the 32-bit
# loader for the 64-bit tests. Keyed by this recipe and the fix's source.
# Usage: build-lane32-root.sh CACHE_DIR   (prints the lane's folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${1:?cache folder}
key=$(cat "$here/build-lane32-root.sh" "$here/lane32/trap_fix.c" | sha256sum | cut -c1-16)
lane="$cache/lane32-$key"
if [ -f "$lane/.built" ]; then
  echo "$lane"
  exit 0
fi

mirror=http://deb.debian.org/debian
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
# What Wine loads for windows, fonts and TLS (the X libraries are only
# recommended by libwine, which is installed without its recommendations).
root_packages=(wine wine32 libgnutls30 fonts-wqy-microhei
  libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1)

# Built beside its final place; a run that stopped half-way starts again.
build="$lane.partial"
rm -rf "$build"
mkdir -p "$build"
started=$SECONDS

# qemu-i386 10: bookworm's 7.2 shares one descriptor table among threads,
# and Wine's threads then pick up each other's segment bases.
apt_dir="$build/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
echo "deb [signed-by=$keyring] $mirror bookworm-backports main" > "$apt_dir/sources.list"
private_apt=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root")
apt-get "${private_apt[@]}" -qq update
(cd "$apt_dir" && apt-get "${private_apt[@]}" -qq download qemu-user/bookworm-backports)
dpkg -x "$apt_dir"/qemu-user_*.deb "$apt_dir/qemu-user"
cp "$apt_dir/qemu-user/usr/bin/qemu-i386" "$build/qemu-i386"
qemu_version=$(dpkg-deb -f "$apt_dir"/qemu-user_*.deb Version)
rm -rf "$apt_dir"
bash "$here/lane32/binfmt.sh" "$build/qemu-i386"

# The root's own mounts live in a mount namespace of their own, so none is
# left behind whatever happens.
root="$build/root"
debootstrap --arch=i386 --variant=minbase bookworm "$root" "$mirror" >"$build/debootstrap.log" 2>&1 || {
  tail -20 "$build/debootstrap.log" >&2
  exit 1
}
cat > "$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
unshare --mount --propagation private bash -euo pipefail -c '
  root=$1; shift
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  chroot "$root" apt-get -qq update
  DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -qq --no-install-recommends "$@"
  chroot "$root" apt-get clean
' lane-root "$root" "${root_packages[@]}" >"$build/packages.log" 2>&1 || {
  tail -20 "$build/packages.log" >&2
  exit 1
}

gcc -m32 -shared -fPIC -O2 -fno-stack-protector -Wall -Wextra -o "$root/usr/local/lib/neb_trap_fix.so" \
  "$here/lane32/trap_fix.c" -ldl
echo /usr/local/lib/neb_trap_fix.so > "$root/etc/ld.so.preload"

{
  echo "qemu-user $qemu_version"
  chroot "$root" dpkg-query -W wine32 libwine fonts-wqy-microhei
  echo "set-up seconds $((SECONDS - started))"
} > "$build/versions.txt"
touch "$build/.built"
mv "$build" "$lane"
echo "$lane"
