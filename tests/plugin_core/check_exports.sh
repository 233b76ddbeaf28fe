#!/bin/sh
# check_exports.sh - the shipped i686 NPTORV32.dll exports exactly the expected names at
# the expected ordinals, and nothing else (read from its export table with objdump).
#   check_exports.sh DLL EXPECTED_LIST     (list: "ordinal name" per line)
dll="$1"; expected="$2"
objdump=i686-w64-mingw32-objdump
if [ -z "$dll" ] || [ ! -f "$dll" ]; then
  echo "FAIL: no i686 DLL at '$dll' - build the kit first (scripts/build.sh i686), and" \
       "configure this build with -DVELMORIN_KIT_BUILD=<i686 build folder>" >&2
  exit 1
fi
command -v "$objdump" >/dev/null || { echo "FAIL: $objdump not found" >&2; exit 1; }

table="$("$objdump" -p "$dll")" || { echo "FAIL: $objdump cannot read $dll" >&2; exit 1; }
case "$table" in *"file format pei-i386"*) ;; *) echo "FAIL: $dll is not a 32-bit DLL" >&2; exit 1;; esac
base="$(printf '%s\n' "$table" | sed -n 's/^Ordinal Base[[:space:]]*\([0-9]*\).*/\1/p' | head -1)"
[ -n "$base" ] || { echo "FAIL: no export table in $dll" >&2; exit 1; }

# "[   3] Java_Simple_getIt_stub" lines: index from the ordinal base, then the name.
actual="$(printf '%s\n' "$table" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*\([0-9]*\)\][[:space:]]*\([^[:space:]]*\).*/\1 \2/p' |
  while read -r index name; do echo "$((index + base)) $name"; done | sort -n)"
wanted="$(sort -n "$expected")"

if [ "$actual" != "$wanted" ]; then
  echo "FAIL: exports of $dll differ from $expected (- expected, + found):" >&2
  tmp="$(mktemp -d)"
  printf '%s\n' "$wanted" >"$tmp/expected"; printf '%s\n' "$actual" >"$tmp/found"
  diff "$tmp/expected" "$tmp/found" | grep '^[<>]' | sed 's/^</-/; s/^>/+/' >&2
  rm -rf "$tmp"
  exit 1
fi
count="$(printf '%s\n' "$actual" | wc -l)"
echo "OK: $count exports of $dll at their ordinals"
