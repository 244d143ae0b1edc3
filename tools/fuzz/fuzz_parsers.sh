#!/usr/bin/env bash
# Fuzzes the Win32-free parts of the skin path and of the payload extraction
# natively with libFuzzer (clang-16 from Debian), each target for a bounded
# time, and prints per target the executions, the coverage it reached and
# the time spent. Not part of the test suite: crashes found here become
# cases of tests/native. The targets: the markup reader, attribute lists and
# value formats, image drawing strings, the picture decoders with the ZIP
# reader, the whole skin path (archive, markup with its includes, pictures,
# the skin checks), and the 7z archive path of the extraction (database,
# entry names, solid blocks decoded and checked; the writing of files is
# Win32 and left out). The decoders come from the dependency cache that
# tools/build.sh fills; the archive seeds are made with 7zz.
#
# Usage: tools/fuzz/fuzz_parsers.sh [SECONDS_PER_TARGET] [TARGET...]   (default 120, all)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-120}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(markup_fuzzer attribute_list_fuzzer image_drawing_fuzzer picture_decoder_fuzzer
                                     skin_path_fuzzer archive_fuzzer)
build="$root/build/fuzz"
packages=(clang-16 libclang-rt-16-dev zlib1g-dev)

need=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S "$root/tests/native" -B "$build" -G Ninja -DNEB_BUILD_FUZZERS=ON \
  -DCMAKE_CXX_COMPILER=clang++-16 -DCMAKE_C_COMPILER=clang-16 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DNEB_DEPS_DIR="${NEB_DEPS_CACHE:-$HOME/.cache/nebinstaller}" >/dev/null
cmake --build "$build" >/dev/null

# The shipped skin as a list of files, in the skin path fuzzer's form.
skin_files() {
  for name in Layout/Layout.xml font.xml Image/CheckOn.svg Image/BkViewInit.svg; do
    printf '#file %s\n' "$name"
    cat "$root/res/skin/$name"
    printf '\n'
  done
}

# Small 7z archives of the shipped skin's files, one per coder chain the
# extraction streams (copy, LZMA, LZMA2 behind the x86 branch converter,
# PPMd, delta), one solid with a folder entry and one of blocks per file.
archive_seeds() {  # folder
  local files=(Layout/Layout.xml font.xml Image/CheckOn.svg)
  local method
  rm -f "$1"/*.7z
  for method in "-m0=Copy" "-m0=LZMA:d=64k" "-m0=BCJ -m1=LZMA2:d=64k" "-m0=PPMd:mem=1m:o=4" "-m0=Delta:4 -m1=LZMA:d=64k"; do
    (cd "$root/res/skin" && 7zz a -t7z -bso0 -bsp0 $method "$1/${method//[^A-Za-z0-9]/_}.7z" "${files[@]}")
  done
  (cd "$root/res/skin" && 7zz a -t7z -bso0 -bsp0 -ms=on -m0=LZMA2:d=64k "$1/solid_with_folder.7z" Layout "${files[1]}")
  (cd "$root/res/skin" && 7zz a -t7z -bso0 -bsp0 -ms=off -m0=LZMA:d=64k "$1/block_per_file.7z" "${files[@]}")
}

corpus_seeds() {  # fuzzer folder
  case "$1" in
    markup_fuzzer) printf '\000<Window size="640,500"><!-- c --><Font id="0" name="a&amp;b"/><VerticalLayout><Label text="x  y"/></VerticalLayout></Window>' > "$2/seed" ;;
    attribute_list_fuzzer) printf "\000file='a.png' dest=\"0,0,8,8\" bkcolor=#FF333333 float=0.5,0,1,1 'q k'=v" > "$2/seed" ;;
    image_drawing_fuzzer) printf "\000file='Image/Btn.png' source='0,0,50,30' corner='2,2,4,4' dest125='1,1,5,5'\nfade='128' hole='true'" > "$2/seed" ;;
    picture_decoder_fuzzer)
      /usr/bin/convert -size 32x24 gradient:"#EAF1FF"-white "png:$2/png"
      cp "$root/res/skin/Image/CheckOn.svg" "$2/svg"
      ;;
    skin_path_fuzzer)
      skin_files > "$2/skin"
      (cd "$root/res/skin" && python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    [z.write(n) for n in ("Layout/Layout.xml", "font.xml", "Image/CheckOn.svg")]' "$2/skin.zip")
      ;;
    archive_fuzzer) archive_seeds "$2" ;;
  esac
}

printf '%-24s %12s %8s %10s %s\n' target executions coverage seconds result
for fuzzer in "${targets[@]}"; do
  work="$build/run/$fuzzer"
  mkdir -p "$work/corpus" "$work/crashes"
  corpus_seeds "$fuzzer" "$work/corpus"
  log="$work/fuzz.log"
  start=$(date +%s)
  result=clean
  if ! "$build/$fuzzer" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2560 \
       -print_final_stats=1 -artifact_prefix="$work/crashes/" "$work/corpus" >"$log" 2>&1; then
    result="FOUND $(ls "$work/crashes" | head -1) (see $log)"
  fi
  elapsed=$(( $(date +%s) - start ))
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | awk '{print $2}' | tail -1)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  printf '%-24s %12s %8s %10s %s\n' "$fuzzer" "${runs:-?}" "${coverage:-?}" "$elapsed" "$result"
done
