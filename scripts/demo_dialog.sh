#!/usr/bin/env bash
# demo_dialog.sh - VelmorinCfg at work on a virtual display: started from the folder that
# holds Velmorin.dll, filled in as an administrator would (typed into its fields, OK pressed,
# the restart notice answered), the registry values it wrote shown, then isapi_server
# started again and asked for folders, to show the filter following the new settings.
# The x86_64 builds are used: the shipped i686 ones cannot run here.
#   scripts/demo_dialog.sh [--screenshot FILE.png]   (FILE gets a picture of the filled dialog)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

shot=""
if [ "${1:-}" = "--screenshot" ]; then shot="$(realpath -m "$2")"; shift 2; fi

# Always a display of our own: the dialog never pops up on a real screen.
if [ -z "${DEMO_DIALOG_ON_XVFB:-}" ]; then
  [ -e "$BUILD_ROOT/boost-include/boost" ] || "$REPO_ROOT/scripts/setup.sh"
  "$REPO_ROOT/scripts/build.sh" x64 --target VelmorinCfg cfg_drive isapi_server Velmorin >/dev/null
  args=(); [ -n "$shot" ] && args=(--screenshot "$shot")
  exec env DEMO_DIALOG_ON_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${args[@]}"
fi

# Wine's desktop takes the display of the first program of a session: a session still
# running from a script before us (without a display) would leave the dialog none.
timeout 60 "$WINESERVER" -w || true

X64="$BUILD_ROOT/x64"
SETTINGS_KEY='HKLM\SOFTWARE\Felmo\Velmorin\Parameters'
SERVER_KEY='HKLM\SYSTEM\CurrentControlSet\Services\W3SVC\Parameters'
DRIVE="$X64/tests/dialog/cfg_drive.exe"
source "$REPO_ROOT/hosts/isapi_server/server_control.sh"

# The server's drive C: of the prefix gets the kit folder, as an administrator unpacks it,
# and a copy of the sample site as the web root; both go again at the end.
drive_c="$WINEPREFIX/drive_c"
kit="$drive_c/Velmorin"
inetpub="$drive_c/InetPub"
work="$(mktemp -d /tmp/velmorin-dialog-demo.XXXXXX)"
dialog_pid=""
cleanup() {
  isapi_kill
  if [ -n "$dialog_pid" ] && kill -0 "$dialog_pid" 2>/dev/null; then kill "$dialog_pid" 2>/dev/null || true; fi
  rm -rf "$work" "$kit" "$inetpub"
}
trap cleanup EXIT
rm -rf "$kit" "$inetpub"
mkdir -p "$kit" "$inetpub"
cp "$X64/config_dialog/VelmorinCfg.exe" "$X64/filter/Velmorin.dll" "$kit/"
cp -r "$REPO_ROOT/hosts/isapi_server/sample_site" "$inetpub/wwwroot"

# reg query prints its own complaint on stdout when a key is missing.
show_registry() {
  local out
  if out="$("$WINE" reg query "$SETTINGS_KEY" 2>/dev/null)"; then
    echo "$out" | tr -d '\r' | sed '/^$/d'
  else
    echo "(no key $SETTINGS_KEY)"
  fi
  if out="$("$WINE" reg query "$SERVER_KEY" /v "Filter DLLs" 2>/dev/null)"; then
    echo "$out" | tr -d '\r' | sed '/^$/d'
  else
    echo "(no value Filter DLLs under $SERVER_KEY)"
  fi
}

echo "== registry before: a server where the filter was never set up"
"$WINE" reg delete "$SETTINGS_KEY" /f >/dev/null 2>&1 || true
"$WINE" reg delete "$SERVER_KEY" /v "Filter DLLs" /f >/dev/null 2>&1 || true
show_registry

# Without a window manager Wine draws the dialog's caption and frame itself.
"$WINE" reg add 'HKCU\Software\Wine\AppDefaults\VelmorinCfg.exe\X11 Driver' /v Decorated /d N /f >/dev/null

echo
echo "== VelmorinCfg.exe started in C:\\Velmorin, the folder that holds Velmorin.dll"
(cd "$kit" && exec "$WINE" VelmorinCfg.exe) &
dialog_pid=$!
"$WINE" "$DRIVE" fill 'C:\InetPub\velmorin.log' "other.htm;index.html;default.htm" \
  'C:\InetPub\wwwroot\notfound.htm' | tr -d '\r'

if [ -n "$shot" ]; then
  import -window root "$work/screen.png"
  convert "$work/screen.png" -trim +repage "$shot"
  echo "screenshot: $shot ($(identify -format '%wx%h' "$shot"))"
fi

"$WINE" "$DRIVE" ok | tr -d '\r'
rc=0
wait "$dialog_pid" || rc=$?
dialog_pid=""
echo "VelmorinCfg exit code: $rc"

echo
echo "== registry after OK"
show_registry

echo
echo "== isapi_server restarted, as the notice asks; it loads the filters listed in Filter DLLs"
isapi_start "$work" "$X64/hosts/isapi_server/isapi_server.exe" --root 'C:\InetPub\wwwroot' || true
cat "$work/server.out"
[ -n "$ISAPI_PORT" ] || { echo "demo_dialog: the server did not start" >&2; exit 1; }
show_directory_requests /withindex/ /withdefault/ /neither/

echo
echo "== the filter's log, as named in the dialog"
tr -d '\r' <"$inetpub/velmorin.log" 2>/dev/null || echo "(no log)"

echo
echo "== stopping the server"
isapi_stop || rc=$?
tail -n 1 "$work/server.out"
exit "$rc"
