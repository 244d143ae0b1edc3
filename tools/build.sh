#!/usr/bin/env bash
# Builds both targets from a clean clone: installs the Debian packages,
# unpacks and builds the dependencies into the cache (kept between runs,
# keyed by package version), then nebpack's Linux build (with neb_pack, the
# packer the Windows builds run for their skin package and payload), the
# shipped i686 program and the x86-64 build most tests run. Artifacts:
# out/x86/NEBInstaller.exe, out/x64/NEBInstaller.exe, out/x64/nebscript.exe,
# out/x64/nebskin.exe, nebpack.exe beside each NEBInstaller.exe (it copies
# the one beside it) and out/linux/nebpack.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${NEB_DEPS_CACHE:-$HOME/.cache/nebinstaller}

bash "$root/deps/install-packages.sh"
bash "$root/deps/fetch-sources.sh" "$cache"
luac_dir=$(bash "$root/deps/build-luac.sh" "$cache")
curl_x86=$(bash "$root/deps/build-curl.sh" "$cache" i686)
curl_x64=$(bash "$root/deps/build-curl.sh" "$cache" x86_64)
native_libs=$(bash "$root/deps/build-native-libs.sh" "$cache")

# Compiled objects are kept by ccache under paths relative to the clone, so
# another clone of the same sources reuses them.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true

# nebpack for this machine, first: the Windows builds pack their skin
# package and payload with its neb_pack.
cmake -S "$root/tools/nebpack/linux" -B "$root/build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
  -DNEB_DEPS_DIR="$cache" -DNEB_NATIVE_LIBS="$native_libs" >/dev/null
cmake --build "$root/build/linux"
mkdir -p "$root/out/linux"
cp "$root/build/linux/nebpack" "$root/out/linux/"
pack="$root/build/linux/neb_pack"

# Each target is a preset of CMakePresets.json (x86, x64: toolchain, build
# folder, chunk layout); the dependency cache's paths are this machine's.
configure_and_build() {  # preset luac curl
  local preset=$1 luac=$2 curl=$3
  (cd "$root" && cmake --preset "$preset" \
    -DNEB_DEPS_DIR="$cache" -DNEB_LUAC="$luac" -DNEB_CURL_DIR="$curl" -DNEB_PACK="$pack" >/dev/null)
  (cd "$root" && cmake --build --preset "$preset")
  mkdir -p "$root/out/$preset"
  cp "$root/build/$preset/app/NEBInstaller.exe" "$root/build/$preset/tools/nebpack/nebpack.exe" "$root/out/$preset/"
}

# The i686 build's tests are the 32-bit lane's few (tests/lane32).
configure_and_build x86 "qemu-i386 $luac_dir/luac32" "$curl_x86"
configure_and_build x64 "$luac_dir/luac64" "$curl_x64"
cp "$root/build/x64/tools/nebscript/nebscript.exe" "$root/build/x64/tools/nebskin/nebskin.exe" "$root/out/x64/"
