#!/usr/bin/env bash
# Unpacks the Debian source packages the build compiles from into the
# dependency cache, one folder per package and version, and prints nothing
# but errors. Usage: fetch-sources.sh CACHE_DIR
set -euo pipefail
cache=${1:?cache folder}
mkdir -p "$cache/src"

# package -> the folder under the cache that later steps use
packages=(lua5.2 7zip spdlog fmtlib curl libsdl2-image minizip)

newest_version() {
  apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -V | tail -1
}

for pkg in "${packages[@]}"; do
  version=$(newest_version "$pkg")
  [ -n "$version" ] || { echo "no source package $pkg" >&2; exit 1; }
  dest="$cache/src/$pkg-${version//[:~+]/_}"
  [ -f "$dest/.unpacked" ] && { ln -sfn "$dest" "$cache/src/$pkg"; continue; }
  work=$(mktemp -d)
  (cd "$work" && apt-get source -qq "$pkg=$version" >/dev/null)
  rm -rf "$dest"
  tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
  mv "$tree" "$dest"
  rm -rf "$work"
  touch "$dest/.unpacked"
  ln -sfn "$dest" "$cache/src/$pkg"
done
