#!/usr/bin/env bash
# Builds, for the build machine itself (the host's gcc and g++), the static
# libraries that nebpack's Linux build and the build's own packer link: the
# LZMA SDK's LZMA2 encoder with its CRC and x86 branch converter, minizip's
# reader and writer, and Lua 5.2 compiled as C++ as the installer compiles
# it. They come from the Debian source trees that fetch-sources.sh unpacked,
# with the same switches as the Windows builds (cmake/dependencies.cmake), so
# the same input packs to the same bytes on both. zlib is the host's
# zlib1g-dev, the version of the MinGW package the Windows builds link.
# The folder is keyed by this recipe and the source versions.
# Usage: build-native-libs.sh CACHE_DIR   (prints the folder: lib/, include/)
set -euo pipefail
cache=$(cd "${1:?cache folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
lzma=$(readlink -f "$cache/src/7zip")/C
minizip=$(readlink -f "$cache/src/minizip")
lua=$(readlink -f "$cache/src/lua5.2")/src
key=$( (cat "$here/build-native-libs.sh"; echo "$lzma $minizip $lua") | sha256sum | cut -c1-16)
dest="$cache/native-libs-$key"

if [ ! -f "$dest/.built" ]; then
  work=$(mktemp -d "$cache/.native-libs.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/lib" "$work/include/lzma" "$work/include/minizip" "$work/include/lua" "$work/obj"
  compile() {  # compiler output source flags...
    local compiler=$1 output=$2 source=$3
    shift 3
    "$compiler" -O2 -w -c -o "$work/obj/$output" "$source" "$@"
  }

  # The encoder single-threaded (Z7_ST), the decoder parts left out
  # (Z7_EXTRACT_ONLY is not set, so Bra86 keeps its encoding half).
  for source in 7zCrc.c 7zCrcOpt.c CpuArch.c Bra86.c LzFind.c LzFindOpt.c LzmaEnc.c Lzma2Enc.c; do
    compile gcc "lzma_${source%.c}.o" "$lzma/$source" -DZ7_ST
  done
  ar rcs "$work/lib/liblzma_sdk.a" "$work"/obj/lzma_*.o
  cp "$lzma"/*.h "$work/include/lzma/"

  for source in ioapi.c unzip.c zip.c; do
    compile gcc "minizip_${source%.c}.o" "$minizip/$source"
  done
  ar rcs "$work/lib/libminizip.a" "$work"/obj/minizip_*.o
  cp "$minizip"/ioapi.h "$minizip"/unzip.h "$minizip"/zip.h "$minizip"/crypt.h "$work/include/minizip/"

  # g++ compiles the .c files as C++, so that a script error unwinds C++
  # frames, as in the installer. Debian's path patch wants its multiarch
  # header on Linux hosts; the value only names search paths.
  echo '#define DEB_HOST_MULTIARCH "nebinstaller-host"' > "$work/include/lua/lua5.2-deb-multiarch.h"
  cp "$lua"/*.h "$work/include/lua/"
  for source in $(ls "$lua"/*.c | grep -v -e '/lua\.c$' -e '/luac\.c$'); do
    name=$(basename "$source" .c)
    compile g++ "lua_$name.o" "$source" -DLUA_COMPAT_ALL -I"$work/include/lua"
  done
  ar rcs "$work/lib/liblua.a" "$work"/obj/lua_*.o

  rm -rf "$work/obj" "$dest"
  mv "$work" "$dest"
  trap - EXIT
  touch "$dest/.built"
fi
echo "$dest"
