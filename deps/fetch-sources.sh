#!/usr/bin/env bash
# Unpacks the Debian source packages pinned in deps/source-pins.txt into the
# dependency cache, one folder per package and version, and prints nothing
# but errors. A download is checked against the pinned checksum of its .dsc
# before anything is unpacked. Usage: fetch-sources.sh CACHE_DIR
set -euo pipefail
cache=${1:?cache folder}
pins="$(cd "$(dirname "$0")" && pwd)/source-pins.txt"
mkdir -p "$cache/src"

# A package pinned from another Debian suite than the machine's (its fourth
# column) comes through an apt configuration of its own in the cache, with
# only that suite's source lists, so that the machine's own sources and
# packages stay as they are.
suite_options() {  # suite
  local dir="$cache/apt-$1"
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
  cat > "$dir/$1.sources" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $1
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  local options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$dir"
                 -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache" -o APT::Sandbox::User=root)
  if [ -z "$(ls "$dir/lists/"*_Sources* 2>/dev/null)" ]; then
    apt-get "${options[@]}" update -qq >/dev/null
  fi
  printf '%s\n' "${options[@]}"
}

fetch() {  # package version sha256 destination [suite]
  local pkg=$1 version=$2 sha256=$3 dest=$4 suite=${5:-} work dsc actual options=()
  work=$(mktemp -d)
  trap 'rm -rf "$work"' RETURN
  [ -z "$suite" ] || mapfile -t options < <(suite_options "$suite")
  if ! (cd "$work" && apt-get "${options[@]}" source -qq --download-only "$pkg=$version" >/dev/null); then
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

while read -r pkg version sha256 suite; do
  dest="$cache/src/$pkg-${version//[:~+]/_}"
  if needs_fetch "$dest" "$sha256"; then
    fetch "$pkg" "$version" "$sha256" "$dest" "$suite"
  fi
  ln -sfn "$dest" "$cache/src/$pkg"
done < <(grep -v '^[[:space:]]*\(#\|$\)' "$pins")
