#!/usr/bin/env bash
# Unpacks the Debian source packages pinned in deps/source-pins.txt into the
# dependency cache, one folder per package and version, and prints nothing
# but errors. A download is checked against the pinned checksum of its .dsc
# before anything is unpacked. Usage: fetch-sources.sh CACHE_DIR
set -euo pipefail
cache=${1:?cache folder}
pins="$(cd "$(dirname "$0")" && pwd)/source-pins.txt"
mkdir -p "$cache/src"

fetch() {  # package version sha256 destination
  local pkg=$1 version=$2 sha256=$3 dest=$4 work dsc actual
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  if ! (cd "$work" && apt-get source -qq --download-only "$pkg=$version" >/dev/null); then
    echo "source package $pkg $version is not in the archive any more:" \
         "pin a version it has in deps/source-pins.txt" >&2
    return 1
  fi
  dsc=$(find "$work" -maxdepth 1 -name '*.dsc' | head -1)
  actual=$(sha256sum "$dsc" | cut -d' ' -f1)
  if [ "$actual" != "$sha256" ]; then
    echo "source package $pkg $version: the .dsc has the checksum $actual, pinned $sha256" >&2
    return 1
  fi
  # dpkg-source checks every tarball against the checksums in the .dsc.
  (cd "$work" && dpkg-source -q -x "$dsc" tree >/dev/null)
  rm -rf "$dest"
  mv "$work/tree" "$dest"
  echo "$sha256" > "$dest/.unpacked"
}

# Whether the tree at $1 has to be fetched for the pinned checksum $2. A tree
# unpacked before checksums were recorded has an empty marker and is kept:
# the folder name carries the version.
needs_fetch() {
  [ -f "$1/.unpacked" ] || return 0
  local recorded
  recorded=$(cat "$1/.unpacked")
  [ -n "$recorded" ] && [ "$recorded" != "$2" ]
}

while read -r pkg version sha256; do
  dest="$cache/src/$pkg-${version//[:~+]/_}"
  if needs_fetch "$dest" "$sha256"; then
    fetch "$pkg" "$version" "$sha256" "$dest"
  fi
  ln -sfn "$dest" "$cache/src/$pkg"
done < <(grep -v '^[[:space:]]*\(#\|$\)' "$pins")
