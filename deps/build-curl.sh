#!/usr/bin/env bash
# Builds libcurl as a static Windows library with the MinGW-w64 posix cross
# compilers, from the Debian source tree that fetch-sources.sh unpacked.
# TLS comes from Schannel alone and only HTTP and HTTPS are compiled in, so
# the library needs nothing but DLLs that every Windows has.
#
# Usage: build-curl.sh CACHE_DIR ARCH      (ARCH: i686 or x86_64)
# Prints the install folder, which holds include/curl/*.h, lib/libcurl.a and
# link-libs.txt. A consumer compiles with -DCURL_STATICLIB and links, after
# libcurl.a, these system libraries (the list in link-libs.txt):
#   ws2_32 crypt32 bcrypt advapi32
# (secur32 and iphlpapi are loaded at run time by libcurl itself, so they
# need not be linked.)
set -euo pipefail
cache=${1:?cache folder}
arch=${2:?arch: i686 or x86_64}
# An absolute path, since CMake resolves relative ones from the build folder.
cache=$(cd "$cache" && pwd)
case "$arch" in
  i686|x86_64) ;;
  *) echo "build-curl.sh: unknown arch '$arch' (i686 or x86_64)" >&2; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
link_libs="ws2_32 crypt32 bcrypt advapi32"

src=$(readlink -f "$cache/src/curl")
[ -f "$src/CMakeLists.txt" ] || { echo "build-curl.sh: no curl source at $cache/src/curl" >&2; exit 1; }
version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
# The folder is named after the version and the options below, so a change of
# options builds anew beside the builds that other clones may still use.
options_key=$(sed -n '/^unwind_flags=/,/^fi/p;/^cmake_args=(/,/^)/p' "$0" | sha256sum | cut -c1-12)
dest="$cache/curl-${version//[:~+]/_}-$arch-$options_key"

if [ -f "$dest/.built" ]; then
  echo "$dest"
  exit 0
fi

# The temporary folder sits beside the destination so the final move is a
# rename on one file system: the install folder is whole or missing.
work=$(mktemp -d "$cache/.curl-$arch.XXXXXX")
trap 'rm -rf "$work"' EXIT


# The shipped i686 build drops unused functions only from code without unwind
# tables (MinGW's link keeps every function the tables name); no exception
# passes through libcurl, whose callbacks into the installer do not throw.
# The x86-64 build keeps them: its stack walks need them on every function.
unwind_flags=""
if [ "$arch" = i686 ]; then
  unwind_flags="-fno-asynchronous-unwind-tables -fno-unwind-tables"
fi

# Every optional dependency is switched off by name: the MinGW zlib package is
# installed on the build machine and would otherwise be picked up silently.
# _WIN32_WINNT 0x0601 keeps the library from importing anything newer than
# Windows 7; the compiler's default would be Windows 10.
# Separate function and data sections let the final link drop unused code.
# Built for size: the installer makes a handful of small requests. Only what
# its HTTP GET uses is compiled in; cookies, forms, .netrc, alt-svc, HSTS,
# DNS over HTTPS, the option listing API, the progress meter, proxies (the
# query goes straight to its server, whatever proxy variables are set), HTTP
# authentication, date parsing, DNS answer shuffling and the digest and NTLM
# authentications are left out.
cmake_args=(
  -G Ninja
  -S "$src" -B "$work/build"
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake"
  -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_INSTALL_PREFIX="$work/install"
  -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections $unwind_flags"
  -DCMAKE_C_FLAGS_RELEASE="-Os -DNDEBUG"
  -DCURL_TARGET_WINDOWS_VERSION=0x0601
  -DBUILD_SHARED_LIBS=OFF
  -DBUILD_CURL_EXE=OFF
  -DBUILD_TESTING=OFF
  -DENABLE_MANUAL=OFF
  -DPICKY_COMPILER=OFF
  -DCURL_USE_SCHANNEL=ON
  -DCURL_WINDOWS_SSPI=ON
  -DCURL_USE_OPENSSL=OFF
  -DCURL_USE_MBEDTLS=OFF
  -DCURL_USE_BEARSSL=OFF
  -DCURL_USE_NSS=OFF
  -DCURL_USE_WOLFSSL=OFF
  -DCURL_CA_BUNDLE=none
  -DCURL_CA_PATH=none
  -DCURL_ZLIB=OFF
  -DCURL_BROTLI=OFF
  -DCURL_ZSTD=OFF
  -DCURL_USE_LIBSSH2=OFF
  -DCURL_USE_LIBSSH=OFF
  -DCURL_USE_GSSAPI=OFF
  -DCURL_USE_LIBPSL=OFF
  -DUSE_LIBIDN2=OFF
  -DUSE_WIN32_IDN=OFF
  -DUSE_NGHTTP2=OFF
  -DUSE_NGTCP2=OFF
  -DUSE_QUICHE=OFF
  -DUSE_MSH3=OFF
  -DENABLE_ARES=OFF
  -DENABLE_THREADED_RESOLVER=ON
  -DENABLE_IPV6=ON
  -DENABLE_UNIX_SOCKETS=OFF
  -DHTTP_ONLY=ON
  -DCURL_DISABLE_DICT=ON
  -DCURL_DISABLE_FILE=ON
  -DCURL_DISABLE_FTP=ON
  -DCURL_DISABLE_GOPHER=ON
  -DCURL_DISABLE_IMAP=ON
  -DCURL_DISABLE_LDAP=ON
  -DCURL_DISABLE_LDAPS=ON
  -DCURL_DISABLE_MQTT=ON
  -DCURL_DISABLE_POP3=ON
  -DCURL_DISABLE_RTSP=ON
  -DCURL_DISABLE_SMB=ON
  -DCURL_DISABLE_SMTP=ON
  -DCURL_DISABLE_TELNET=ON
  -DCURL_DISABLE_TFTP=ON
  -DCURL_DISABLE_COOKIES=ON
  -DCURL_DISABLE_MIME=ON
  -DCURL_DISABLE_NETRC=ON
  -DCURL_DISABLE_ALTSVC=ON
  -DCURL_DISABLE_HSTS=ON
  -DCURL_DISABLE_DOH=ON
  -DCURL_DISABLE_GETOPTIONS=ON
  -DCURL_DISABLE_PROGRESS_METER=ON
  -DCURL_DISABLE_CRYPTO_AUTH=ON
  -DCURL_DISABLE_PROXY=ON
  -DCURL_DISABLE_HTTP_AUTH=ON
  -DCURL_DISABLE_PARSEDATE=ON
  -DCURL_DISABLE_SHUFFLE_DNS=ON
)

log="$work/build.log"
if ! { cmake "${cmake_args[@]}" &&
       cmake --build "$work/build" --parallel "$(nproc)" &&
       cmake --install "$work/build"; } >"$log" 2>&1; then
  tail -n 60 "$log" >&2
  echo "build-curl.sh: the $arch build failed (the end of its log is above)" >&2
  exit 1
fi

# Only the headers and the archive are kept: curl-config, the pkg-config file
# and the CMake package files would name the temporary prefix.
out="$work/out"
mkdir -p "$out/include" "$out/lib"
cp -a "$work/install/include/curl" "$out/include/"
cp -a "$work/install/lib/libcurl.a" "$out/lib/"
echo "$link_libs" > "$out/link-libs.txt"
touch "$out/.built"

# A folder left without its marker (an interrupted older layout) is replaced;
# if another run finished first, its result stands and this one is dropped.
[ -f "$dest/.built" ] || rm -rf "$dest"
mv -T "$out" "$dest" 2>/dev/null || [ -f "$dest/.built" ] || {
  echo "build-curl.sh: could not move the build to $dest" >&2; exit 1; }
echo "$dest"
