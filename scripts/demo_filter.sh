#!/usr/bin/env bash
# demo_filter.sh - Velmorin.dll at work behind isapi_server: the filter's three settings and
# "Filter DLLs" written to the registry of the project's Wine prefix as an administrator
# would, the sample site served on 127.0.0.1, its three folders requested over HTTP with
# curl, the answers and the filter's log printed, the server stopped cleanly.
# The x86_64 build of the filter is used: the shipped i686 one cannot run here.
#   scripts/demo_filter.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

X64="$BUILD_ROOT/x64"
SERVER="$X64/hosts/isapi_server/isapi_server.exe"
DLL="$X64/filter/Velmorin.dll"
SITE="$REPO_ROOT/hosts/isapi_server/sample_site"
SETTINGS_KEY='HKLM\SOFTWARE\Felmo\Velmorin\Parameters'
SERVER_KEY='HKLM\SYSTEM\CurrentControlSet\Services\W3SVC\Parameters'

source "$REPO_ROOT/hosts/isapi_server/server_control.sh"

[ -e "$BUILD_ROOT/boost-include/boost" ] || "$REPO_ROOT/scripts/setup.sh"
"$REPO_ROOT/scripts/build.sh" x64 --target isapi_server Velmorin >/dev/null

work="$(mktemp -d /tmp/velmorin-demo.XXXXXX)"
log="$work/filter.log"
cleanup() {
  isapi_kill
  rm -rf "$work"
}
trap cleanup EXIT

echo "== registry, as the administrator sets it"
reg_set_sz "$SETTINGS_KEY" DefaultLoadFiles "default.htm;default.html;index.htm;index.html"
reg_set_sz "$SETTINGS_KEY" LogFile "$(winpath "$log")"
reg_set_sz "$SETTINGS_KEY" NotFoundPage "$(winpath "$SITE/notfound.htm")"
reg_set_sz "$SERVER_KEY" "Filter DLLs" ",$(winpath "$DLL")"
"$WINE" reg query "$SETTINGS_KEY" | tr -d '\r' | sed '/^$/d'
"$WINE" reg query "$SERVER_KEY" /v "Filter DLLs" | tr -d '\r' | sed '/^$/d'

echo
echo "== isapi_server on the sample site ($SITE)"
isapi_start "$work" "$SERVER" --root "$(winpath "$SITE")" || true
cat "$work/server.out"
[ -n "$ISAPI_PORT" ] || { echo "demo_filter: the server did not start" >&2; exit 1; }

show_directory_requests /withindex/ /withdefault/ /neither/

echo
echo "== the filter's log ($(winpath "$log"))"
cat "$log" 2>/dev/null | tr -d '\r' || echo "(no log)"

echo
echo "== stopping the server"
rc=0
isapi_stop || rc=$?
tail -n 1 "$work/server.out"
echo "isapi_server exit code: $rc"
exit "$rc"
