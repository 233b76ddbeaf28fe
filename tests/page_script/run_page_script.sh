#!/usr/bin/env bash
# run_page_script.sh - the Batch Download Window's script in Chromium: the plug-in writes the
# window (plugin_browser in page mode against isapi_server), the page is loaded headless
# with a stand-in for document.Simple that records the calls it gets, four boxes are
# ticked, the second unticked, "ADD TO BATCH" hovered and pressed, "BATCH DOWNLOAD"
# pressed; the recorded calls must be exactly those the page promises the plug-in.
#   run_page_script.sh BROWSER.exe SERVER.exe PLUGINSDIR FILTER.dll WORKDIR [SCREENSHOT.png]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
source "$REPO_ROOT/hosts/isapi_server/server_control.sh"
source "$REPO_ROOT/hosts/plugin_browser/plugin_site.sh"

browser="$(realpath "$1")" server="$(realpath "$2")" plugins="$(realpath "$3")" filter="$(realpath "$4")"
work="$(realpath -m "$5")" shot="${6:+$(realpath -m "$6")}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
rm -rf "$work"; mkdir -p "$work/site"
trap 'isapi_kill' EXIT

# 1. The window as the plug-in writes it.
plugin_site_settings
isapi_start "$work" "$server" --root "$(winpath "$work/site")" --filter "$(winpath "$filter")" ||
  { cat "$work/server.out"; echo "page_script: the server did not start" >&2; exit 1; }
plugin_site_make "$work/site" "$ISAPI_PORT"
plugin_browse "$work/drive" "$browser" "$plugins" --save-page "$(winpath "$work/window.htm")" \
  "http://127.0.0.1:$ISAPI_PORT/files/" >"$work/browser.out" 2>&1 || true
isapi_stop || true
[ -s "$work/window.htm" ] || { cat "$work/browser.out"; echo "page_script: no window was written" >&2; exit 1; }

# 2. The page with the recording stand-in and the user's clicks appended.
{ cat "$work/window.htm"; cat "$here/page_harness.js.html"; } >"$work/harness.htm"
chrome_flags=(--headless --no-sandbox --disable-gpu --disable-quic --no-first-run
  --disable-background-networking --disable-component-update --disable-sync
  --user-data-dir="$work/profile")
timeout 120 chromium "${chrome_flags[@]}" --dump-dom "file://$work/harness.htm" >"$work/dom.htm" 2>"$work/chromium.err" ||
  { tail -5 "$work/chromium.err"; echo "page_script: chromium failed" >&2; exit 1; }
sed -n '/<pre id="harness-result">/,/<\/pre>/p' "$work/dom.htm" | sed -e 's|.*<pre id="harness-result">||' \
  -e 's|</pre>||' -e 's|&lt;|<|g; s|&gt;|>|g; s|&quot;|"|g; s|&amp;|\&|g' | sed '/^$/d' >"$work/actual.txt"

L="http://127.0.0.1:$ISAPI_PORT/files/"
cat >"$work/expected.txt" <<EXPECTED
status after ticking: ${L}prices.csv
status on hover: Add the 3 checked files to the Batch Download Queue
saveString(null, 0)
saveString("${L}readme.txt", 1)
saveString("${L}manual.zip", 2)
saveString("${L}prices.csv", 3)
saveString(null, -1)
getIt()
EXPECTED
if ! diff -u "$work/expected.txt" "$work/actual.txt"; then
  echo "page_script: the page's calls differ from its contract (above: - expected, + recorded)" >&2
  exit 1
fi
echo "page_script: the page made exactly the promised calls"

# 3. A picture of the window with boxes ticked, for the docs.
if [ -n "$shot" ]; then
  { cat "$work/window.htm"; cat "$here/page_picture.js.html"; } >"$work/picture.htm"
  timeout 120 chromium "${chrome_flags[@]}" --hide-scrollbars --window-size=760,420 \
    --screenshot="$shot" "file://$work/picture.htm" >/dev/null 2>&1
  echo "page_script: screenshot $shot"
fi
