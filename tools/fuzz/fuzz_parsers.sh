#!/usr/bin/env bash
# Fuzzes the UI framework's Win32-free parsers natively with libFuzzer
# (clang-16 from Debian), each for a bounded time, and prints per parser the
# executions and the time spent. Not part of the test suite: crashes found
# here become table cases of tests/native. With --decoders the picture
# decoders and the ZIP reader are fuzzed too (zlib1g-dev, and the dependency
# cache that tools/build.sh fills).
#
# Usage: tools/fuzz/fuzz_parsers.sh [--decoders] [SECONDS_PER_TARGET]   (default 120)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
targets=(markup_fuzzer attribute_list_fuzzer image_drawing_fuzzer)
build="$root/build/fuzz"
deps_args=()
packages=(clang-16 libclang-rt-16-dev)
if [ "${1:-}" = --decoders ]; then
  shift
  targets=(picture_decoder_fuzzer)
  build="$root/build/fuzz-decoders"
  deps_args=(-DNEB_DEPS_DIR="${NEB_DEPS_CACHE:-$HOME/.cache/nebinstaller}")
  packages+=(zlib1g-dev)
fi
seconds=${1:-120}

need=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S "$root/tests/native" -B "$build" -G Ninja -DNEB_BUILD_FUZZERS=ON \
  -DCMAKE_CXX_COMPILER=clang++-16 -DCMAKE_C_COMPILER=clang-16 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "${deps_args[@]}" >/dev/null
cmake --build "$build" >/dev/null

corpus_seed() {  # fuzzer folder
  case "$1" in
    markup_fuzzer) printf '\000<Window size="640,500"><!-- c --><Font id="0" name="a&amp;b"/><VerticalLayout><Label text="x  y"/></VerticalLayout></Window>' ;;
    attribute_list_fuzzer) printf "\000file='a.png' dest=\"0,0,8,8\" bkcolor=#FF333333 float=0.5,0,1,1 'q k'=v" ;;
    image_drawing_fuzzer) printf "\000file='Image/Btn.png' source='0,0,50,30' corner='2,2,4,4' dest125='1,1,5,5'\nfade='128' hole='true'" ;;
    picture_decoder_fuzzer) cat "$root/build/x64/tests/unit/ui/fixture/skin.zip" 2>/dev/null || true ;;
  esac
}

printf '%-24s %12s %10s %s\n' parser executions seconds result
for fuzzer in "${targets[@]}"; do
  work="$build/run/$fuzzer"
  mkdir -p "$work/corpus" "$work/crashes"
  corpus_seed "$fuzzer" > "$work/corpus/seed"
  log="$work/fuzz.log"
  start=$(date +%s)
  result=clean
  if ! "$build/$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$work/crashes/" "$work/corpus" >"$log" 2>&1; then
    result="FOUND $(ls "$work/crashes" | head -1) (see $log)"
  fi
  elapsed=$(( $(date +%s) - start ))
  runs=$(grep -o 'Done [0-9]* runs' "$log" | awk '{print $2}' | tail -1)
  [ -n "$runs" ] || runs=$(grep -o '#[0-9]*' "$log" | tail -1 | tr -d '#')
  printf '%-24s %12s %10s %s\n' "$fuzzer" "${runs:-?}" "$elapsed" "$result"
done
