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

# Windows path of a path here: wine sees the whole file system as drive Z:.
winpath() { local p="$1"; echo "Z:${p//\//\\}"; }

[ -e "$BUILD_ROOT/boost-include/boost" ] || "$REPO_ROOT/scripts/setup.sh"
"$REPO_ROOT/scripts/build.sh" x64 --target isapi_server Velmorin >/dev/null

work="$(mktemp -d /tmp/velmorin-demo.XXXXXX)"
log="$work/filter.log"
server_pid=""
cleanup() {
  exec 3>&- 2>/dev/null || true
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then kill "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

reg_set() { # key name data
  "$WINE" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null
}
echo "== registry, as the administrator sets it"
reg_set "$SETTINGS_KEY" DefaultLoadFiles "default.htm;default.html;index.htm;index.html"
reg_set "$SETTINGS_KEY" LogFile "$(winpath "$log")"
reg_set "$SETTINGS_KEY" NotFoundPage "$(winpath "$SITE/notfound.htm")"
reg_set "$SERVER_KEY" "Filter DLLs" ",$(winpath "$DLL")"
"$WINE" reg query "$SETTINGS_KEY" | tr -d '\r' | sed '/^$/d'
"$WINE" reg query "$SERVER_KEY" /v "Filter DLLs" | tr -d '\r' | sed '/^$/d'

echo
echo "== isapi_server on the sample site ($SITE)"
mkfifo "$work/stop"
"$WINE" "$SERVER" --root "$(winpath "$SITE")" --port 0 --stop-on-eof \
  <"$work/stop" >"$work/server.out" 2>&1 &
server_pid=$!
exec 3>"$work/stop"   # the server stops when this end is closed
port=""
for _ in $(seq 1 300); do
  port="$(sed -n 's|.* on http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$work/server.out")"
  [ -n "$port" ] && break
  kill -0 "$server_pid" 2>/dev/null || break
  sleep 0.1
done
cat "$work/server.out"
[ -n "$port" ] || { echo "demo_filter: the server did not start" >&2; exit 1; }

for url in /withindex/ /withdefault/ /neither/; do
  echo
  echo "== curl http://127.0.0.1:$port$url"
  curl -sS -i "http://127.0.0.1:$port$url" | tr -d '\r'
done

echo
echo "== the filter's log ($(winpath "$log"))"
cat "$log" 2>/dev/null | tr -d '\r' || echo "(no log)"

echo
echo "== stopping the server"
exec 3>&-
rc=0
wait "$server_pid" || rc=$?
server_pid=""
tail -n 1 "$work/server.out"
echo "isapi_server exit code: $rc"
exit "$rc"
