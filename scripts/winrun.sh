#!/usr/bin/env bash
# winrun.sh - runs one of our Windows programs under the project's Wine prefix.
#   scripts/winrun.sh [--drive X: DIR] PROGRAM.exe [ARGS...]
# --drive maps drive X: of the prefix to DIR and starts the program there, so the
# root-relative paths of the plug-in ("\status.txt", "\download\") land in DIR.
# The environment variable WINRUN_DRIVE=X: does the same with a fresh temporary
# folder (used by CTest), removed again afterwards unless WINRUN_KEEP=1.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

drive="" ; dir="" ; tmpdir=""
if [ "${1:-}" = "--drive" ]; then drive="$2"; dir="$3"; shift 3; fi
if [ -z "$drive" ] && [ -n "${WINRUN_DRIVE:-}" ]; then
  drive="$WINRUN_DRIVE"; tmpdir="$(mktemp -d /tmp/winrun.XXXXXX)"; dir="$tmpdir"
fi
[ $# -ge 1 ] || { echo "usage: winrun.sh [--drive X: DIR] PROGRAM [ARGS...]" >&2; exit 2; }

prog="$1"; shift
case "$prog" in /*) ;; *) [ -e "$prog" ] && prog="$(pwd)/$prog" ;; esac

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"; "$WINE" wineboot -i >/dev/null 2>&1 </dev/null; "$WINESERVER" -w
fi

rc=0
if [ -n "$drive" ]; then
  letter="$(echo "${drive%:}" | tr 'A-Z' 'a-z')"
  mkdir -p "$dir"
  ln -sfn "$(cd "$dir" && pwd)" "$WINEPREFIX/dosdevices/$letter:"
  (cd "$dir" && "$WINE" "$prog" "$@") || rc=$?
else
  "$WINE" "$prog" "$@" || rc=$?
fi
if [ -n "$tmpdir" ] && [ "${WINRUN_KEEP:-0}" != 1 ]; then rm -rf "$tmpdir"; fi
exit $rc
