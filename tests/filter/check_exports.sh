#!/usr/bin/env bash
# check_exports.sh - checks the export table of the shipped (i686) Velmorin.dll: exactly
# GetFilterVersion and HttpFilterProc, undecorated (no "@n"), as ordinals 1 and 2.
#   check_exports.sh KIT_BUILD_DIR    (the i686 build folder)
set -uo pipefail
fail() { echo "FAIL: $*"; exit 1; }

kit="${1:-}"
[ -n "$kit" ] || fail "no i686 build folder given: VELMORIN_KIT_BUILD is empty; configure the" \
  "x86_64 build with -DVELMORIN_KIT_BUILD=<i686 build folder> (scripts/build.sh does)"
dll="$kit/filter/Velmorin.dll"
[ -f "$dll" ] || fail "$dll not found: build the i686 kit first (scripts/build.sh i686)"
objdump=i686-w64-mingw32-objdump
command -v "$objdump" >/dev/null || fail "$objdump not installed (scripts/setup.sh installs it)"

dump="$("$objdump" -p "$dll")" || fail "$objdump cannot read $dll"
grep -q 'file format pei-i386' <<<"$dump" || fail "$dll is not a 32-bit x86 DLL"

# "[   0] GetFilterVersion" lines: the index is the ordinal less the ordinal base.
names="$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^\s*\[\s*[0-9]+\]')"
expected=$'[0] GetFilterVersion\n[1] HttpFilterProc'
got="$(echo "$names" | sed -E 's/^\s*\[\s*([0-9]+)\]\s+/[\1] /')"
if [ "$got" != "$expected" ]; then
  echo "exported names of $dll:"; echo "$names"
  fail "expected exactly GetFilterVersion and HttpFilterProc, in that order"
fi
grep -q 'Ordinal Base 1$' <<<"$dump" || fail "ordinal base of $dll is not 1"
echo "exports of $dll: GetFilterVersion (ordinal 1), HttpFilterProc (ordinal 2)"
