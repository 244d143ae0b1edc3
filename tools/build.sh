#!/usr/bin/env bash
# Builds both targets from a clean clone: installs the Debian packages,
# unpacks and builds the dependencies into the cache (kept between runs,
# keyed by package version), then the shipped i686 program and the x86-64
# build most tests run. Artifacts: out/x86/NEBInstaller.exe,
# out/x64/NEBInstaller.exe, out/x64/nebscript.exe, out/x64/nebskin.exe, and
# nebpack.exe beside each NEBInstaller.exe (it copies the one beside it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${NEB_DEPS_CACHE:-$HOME/.cache/nebinstaller}

bash "$root/deps/install-packages.sh"
bash "$root/deps/fetch-sources.sh" "$cache"
luac_dir=$(bash "$root/deps/build-luac.sh" "$cache")
curl_x86=$(bash "$root/deps/build-curl.sh" "$cache" i686)
curl_x64=$(bash "$root/deps/build-curl.sh" "$cache" x86_64)

# Compiled objects are kept by ccache under paths relative to the clone, so
# another clone of the same sources reuses them.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

configure_and_build() {  # arch out-name luac size_t curl
  local arch=$1 out=$2 luac=$3 size_t=$4 curl=$5 build="$root/build/$2"
  # The i686 build's tests are the 32-bit lane's few (tests/lane32).
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
    -DNEB_DEPS_DIR="$cache" -DNEB_LUAC="$luac" -DNEB_LUA_SIZE_T="$size_t" -DNEB_CURL_DIR="$curl" \
    "${launcher[@]}" >/dev/null
  cmake --build "$build"
  mkdir -p "$root/out/$out"
  cp "$build/app/NEBInstaller.exe" "$build/tools/nebpack/nebpack.exe" "$root/out/$out/"
}

configure_and_build i686 x86 "qemu-i386 $luac_dir/luac32" 4 "$curl_x86"
configure_and_build x86_64 x64 "$luac_dir/luac64" 8 "$curl_x64"
cp "$root/build/x64/tools/nebscript/nebscript.exe" "$root/build/x64/tools/nebskin/nebskin.exe" "$root/out/x64/"
