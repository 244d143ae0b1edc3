#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, and makes the
# source packages reachable. Safe to run again: apt skips what is present.
set -euo pipefail

sources=/etc/apt/sources.list.d/nebinstaller-src.sources
if [ ! -f "$sources" ]; then
  cat > "$sources" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  rm -f /var/lib/apt/lists/nebinstaller-updated
fi

# zlib1g-dev: the native tests inflate the skin's ZIP entries.
# libgnutls30: Wine's Schannel does its TLS through it, and wine64 only
# recommends it. openssl: the tests make a self-signed server certificate.
# debootstrap: the 32-bit lane's i386 root (deps/build-lane32-root.sh).
# ccache: a clone built again (or beside another) compiles only what changed.
# python3-pytest: runs the end-to-end suites (tests/e2e), in Debian's python3.
# osslsigncode: signs installers the way product teams do after nebpack
# (tests/e2e/test_signing.py).
packages=(
  cmake ninja-build dpkg-dev ccache
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine64 libgnutls30 7zip time
  g++-multilib qemu-user debootstrap
  xvfb xdotool imagemagick fonts-wqy-microhei
  googletest python3 python3-pefile python3-pytest openssl osslsigncode
  zlib1g-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
need_update=0
[ ${#missing[@]} -gt 0 ] && need_update=1
[ -n "$(ls /var/lib/apt/lists/*_Sources* 2>/dev/null)" ] || need_update=1
if [ "$need_update" = 1 ]; then
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
