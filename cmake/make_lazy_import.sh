#!/usr/bin/env bash
# make_lazy_import.sh TRIPLE LIBRARY OUTPUT: a lazy (delay-load) import
# library with the functions of MinGW's import library for LIBRARY. A library
# MinGW does not ship yields an empty archive, so nothing links against it.
set -euo pipefail
triple=$1 library=$2 output=$(realpath -m "$3")
source=/usr/$triple/lib/lib$library.a
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ ! -f "$source" ]; then
  "$triple-ar" rc "$output"
  exit 0
fi
dll=$("$triple-dlltool" --identify "$source" | head -1)
# Functions only: a lazy import cannot stand for data.
prefix=__imp_
[ "$triple" = i686-w64-mingw32 ] && prefix=__imp__
"$triple-nm" "$source" | awk -v p="$prefix" '$2 == "I" && index($3, p) == 1 { print substr($3, length(p) + 1) }' \
  | sort -u > "$work/names"
# Keep only names that also have a code thunk (data exports have none).
strip=; [ "$triple" = i686-w64-mingw32 ] && strip='s/^_//'
"$triple-nm" "$source" | awk '$2 == "T" { print $3 }' | sed "$strip" | sort -u > "$work/code"
{ echo "LIBRARY $dll"; echo EXPORTS; comm -12 "$work/names" "$work/code"; } > "$work/lib.def"
kill_at=(); [ "$triple" = i686-w64-mingw32 ] && kill_at=(--kill-at)
# dlltool makes its temporary objects in the current folder.
(cd "$work" && "$triple-dlltool" "${kill_at[@]}" --input-def lib.def --output-delaylib "$output")
# The i386 linker drops the code of an import-library member when nothing
# calls its jump stub by name, which is the case for every function called
# through its __imp_ slot; but a lazy slot starts out pointing into that code
# (the load thunk), so the slot would be left pointing at address 0. Code
# that the linker does not take for code is kept: the stubs' code goes into
# a section flagged as read-only data that still sorts into the program's
# code section. Done for both targets, so that both link alike.
"$triple-objcopy" --rename-section '.text=.text$lazy,contents,alloc,load,readonly,data' "$output"
# Some import libraries also carry ordinary objects (GDI+'s cached string
# formats and font families, shell32's interface ids): those go along as
# they are, since the headers refer to them.
mapfile -t extras < <("$triple-ar" t "$source" | grep -E '^lib(32|64)_lib.*_a-.*\.o$' || true)
if [ "${#extras[@]}" -gt 0 ]; then
  (cd "$work" && "$triple-ar" x "$source" "${extras[@]}")
  (cd "$work" && "$triple-ar" rs "$output" "${extras[@]}")
fi
