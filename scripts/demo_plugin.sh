#!/usr/bin/env bash
# demo_plugin.sh - NPTORV32.dll at work in plugin_browser, over HTTP from isapi_server (with
# Velmorin.dll answering the folder URL with its listing page): a download list opened in
# list mode, then the listing page in page mode with three boxes ticked, "ADD TO BATCH"
# and "BATCH DOWNLOAD" pressed. Prints each download folder, the console lines, the
# activity log and where the window pictures are. Each run gets a drive X: of its own.
# The x86_64 builds are used: the shipped i686 ones cannot run here.
#   scripts/demo_plugin.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
source "$REPO_ROOT/hosts/isapi_server/server_control.sh"
source "$REPO_ROOT/hosts/plugin_browser/plugin_site.sh"

X64="$BUILD_ROOT/x64"
BROWSER="$X64/hosts/plugin_browser/plugin_browser.exe"
SERVER="$X64/hosts/isapi_server/isapi_server.exe"
FILTER="$X64/filter/Velmorin.dll"
PLUGINS="$X64/plugin"

[ -e "$BUILD_ROOT/boost-include/boost" ] || "$REPO_ROOT/scripts/setup.sh"
"$REPO_ROOT/scripts/build.sh" x64 --target plugin_browser isapi_server NPTORV32 Velmorin >/dev/null

work="$BUILD_ROOT/demo_plugin"
rm -rf "$work"; mkdir -p "$work/site"
trap 'isapi_kill' EXIT

# Windows need a display: use the caller's, or a virtual one for the whole demo.
if [ -z "${DISPLAY:-}" ] && [ -z "${DEMO_PLUGIN_INNER:-}" ]; then
  DEMO_PLUGIN_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

plugin_site_settings
isapi_start "$work" "$SERVER" --root "$(winpath "$work/site")" --filter "$(winpath "$FILTER")" ||
  { cat "$work/server.out"; echo "demo_plugin: the server did not start" >&2; exit 1; }
plugin_site_make "$work/site" "$ISAPI_PORT"
base="http://127.0.0.1:$ISAPI_PORT"

show_run() { # title drive output
  local drive="$2" out="$3"
  echo
  echo "-- console lines (the Java console of the plug-in)"
  sed -n 's/^\[console\] /  /p' "$out"
  echo "-- browser lines"
  sed -n 's/^\[browser\] /  /p' "$out" | grep -v '^  plug-in \|^  loaded \|^  unloaded ' || true
  echo "-- download folder X:\\download\\ ($drive/download)"
  local f name
  for f in "$drive"/download/*; do
    [ -e "$f" ] || continue
    name="$(basename "$f")"
    local src
    src="$(find "$work/site/files" -maxdepth 1 -iname "$name" | head -1)"
    if [ -n "$src" ] && cmp -s "$f" "$src"; then
      printf '  %-12s %8d bytes  same bytes as %s\n' "$name" "$(stat -c %s "$f")" "${src#$work/site}"
    else
      printf '  %-12s %8d bytes\n' "$name" "$(stat -c %s "$f")"
    fi
  done
  if [ -f "$drive/status.txt" ]; then
    echo "-- activity log X:\\status.txt"
    tr -d '\r' <"$drive/status.txt" | sed 's/^/  /'
  fi
}

echo "== list mode: $base/lists/sample.tvn"
tr -d '\r' <"$work/site/lists/sample.tvn" | sed 's/^/  /'
plugin_browse "$work/list_drive" "$BROWSER" "$PLUGINS" --screenshot "$(winpath "$work/list_window.bmp")" \
  "$base/lists/sample.tvn" >"$work/list.out" 2>&1 || echo "(plugin_browser exit code $?)"
show_run "list mode" "$work/list_drive" "$work/list.out"

echo
echo "== page mode: $base/files/ (boxes 1, 3 and 4 ticked, ADD TO BATCH, BATCH DOWNLOAD)"
plugin_browse "$work/page_drive" "$BROWSER" "$PLUGINS" --tick 1,3,4 --add --download \
  --save-page "$(winpath "$work/batch_window.htm")" --screenshot "$(winpath "$work/batch_window.bmp")" \
  "$base/files/" >"$work/page.out" 2>&1 || echo "(plugin_browser exit code $?)"
show_run "page mode" "$work/page_drive" "$work/page.out"

isapi_stop || true
echo
echo "== pictures"
for b in list_window batch_window; do
  if [ -f "$work/$b.bmp" ]; then
    convert "$work/$b.bmp" "$work/$b.png" && echo "  $work/$b.png"
  fi
done
echo "  the window as written: $work/batch_window.htm"
