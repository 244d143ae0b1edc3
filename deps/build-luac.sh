#!/usr/bin/env bash
# Builds the two Lua 5.2 compilers that turn scripts/ into embedded chunks:
# luac64 writes the layout the x86-64 build loads (size_t 8), luac32 the
# layout of the shipped 32-bit build (size_t 4). luac32 is a static i386
# Linux program; this kernel cannot start it directly, so it runs under
# qemu-i386. Usage: build-luac.sh CACHE_DIR   (prints the install folder)
set -euo pipefail
cache=${1:?cache folder}
src=$(readlink -f "$cache/src/lua5.2")/src
dest="$cache/luac-$(basename "$(readlink -f "$cache/src/lua5.2")")"
if [ ! -f "$dest/.built" ]; then
  work=$(mktemp -d)
  # Debian's path patch wants its multiarch header on Linux hosts; the value only names search paths.
  echo '#define DEB_HOST_MULTIARCH "nebinstaller-host"' > "$work/lua5.2-deb-multiarch.h"
  core=$(ls "$src"/*.c | grep -v -e '/lua\.c$' -e '/luac\.c$')
  # luac.c reaches into the core's internals, so it is linked with the core objects.
  gcc -O2 -std=gnu99 -DLUA_COMPAT_ALL -DLUA_USE_POSIX -I"$work" -o "$work/luac64" "$src/luac.c" $core -lm
  gcc -m32 -static -O2 -std=gnu99 -DLUA_COMPAT_ALL -DLUA_USE_POSIX -I"$work" -o "$work/luac32" "$src/luac.c" $core -lm
  rm -rf "$dest"; mkdir -p "$dest"
  mv "$work/luac64" "$work/luac32" "$dest/"
  rm -rf "$work"
  touch "$dest/.built"
fi
echo "$dest"
