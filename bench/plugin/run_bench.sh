#!/usr/bin/env bash
# run_bench.sh - one list of 1,000 files of 4 KB and 5 files of 20 MB served by isapi_server,
# fetched by plugin_browser with NPTORV32.dll (list mode) and by wget -nc -i, in one run.
# Prints both times, their ratio (target <= 1.2) and the physical floor: copying the same
# bytes on the same disk. The data is made once under the build root, never in git.
#   bench/plugin/run_bench.sh BROWSER.exe SERVER.exe PLUGINSDIR WORKDIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
source "$REPO_ROOT/hosts/isapi_server/server_control.sh"
source "$REPO_ROOT/hosts/plugin_browser/plugin_site.sh"

browser="$(realpath "$1")" server="$(realpath "$2")" plugins="$(realpath "$3")" work="$(realpath -m "$4")"
SMALL_FILES=1000 SMALL_BYTES=4096 BIG_FILES=5 BIG_MB=20
data="$work/site/data"

if [ ! -f "$data/.complete" ]; then
  echo "bench: making $SMALL_FILES files of $SMALL_BYTES bytes and $BIG_FILES of $BIG_MB MB in $data"
  rm -rf "$data"; mkdir -p "$data"
  head -c $((SMALL_FILES * SMALL_BYTES)) /dev/urandom >"$work/small.all"
  split -b "$SMALL_BYTES" -a 4 -d "$work/small.all" "$data/s"
  rm "$work/small.all"
  for f in "$data"/s*; do mv "$f" "$f.dat"; done
  for i in $(seq 1 "$BIG_FILES"); do head -c $((BIG_MB * 1048576)) /dev/urandom >"$data/big$i.bin"; done
  touch "$data/.complete"
fi
total_bytes=$(du -sb --exclude=.complete "$data" | cut -f1)

trap 'isapi_kill' EXIT
rm -f "$work/stop"
isapi_start "$work" "$server" --root "$(winpath "$work/site")" ||
  { cat "$work/server.out"; echo "bench: the server did not start" >&2; exit 1; }
base="http://127.0.0.1:$ISAPI_PORT/data"
(cd "$data" && ls | grep -v '^\.complete$' | sed "s|^|$base/|") >"$work/urls.txt"
tr -d '\r' <"$work/urls.txt" | sed 's/$/\r/' >"$work/site/bench.tvn"
count=$(wc -l <"$work/urls.txt")

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# The browser (its start and its plug-in's start-up included).
rm -rf "$work/drive"; mkdir -p "$work/drive"
"$WINESERVER" -p >/dev/null 2>&1 || true   # one wineserver for the run, as for a user's session
t0=$(now)
plugin_browse "$work/drive" "$browser" "$plugins" --time-limit 3600 "http://127.0.0.1:$ISAPI_PORT/bench.tvn" \
  >"$work/browser.out" 2>&1 || { tail -5 "$work/browser.out"; echo "bench: plugin_browser failed" >&2; exit 1; }
t1=$(now)
got=$(ls "$work/drive/download" | wc -l)

# wget, the same list.
rm -rf "$work/wget"; mkdir -p "$work/wget"
t2=$(now)
wget -q -nc -i "$work/urls.txt" -P "$work/wget"
t3=$(now)
wgot=$(ls "$work/wget" | wc -l)

# The floor: the same bytes copied on the same disk.
rm -rf "$work/floor"
t4=$(now)
cp -r "$data" "$work/floor"
t5=$(now)
isapi_stop || true

bt=$(seconds "$t0" "$t1"); wt=$(seconds "$t2" "$t3"); ft=$(seconds "$t4" "$t5")
mb=$(awk -v b="$total_bytes" 'BEGIN { printf "%.1f", b / 1048576 }')
echo "bench: $count files, $mb MB, from isapi_server on 127.0.0.1"
printf '  plugin_browser + NPTORV32: %7s s  (%d files stored)\n' "$bt" "$got"
printf '  wget -nc -i:               %7s s  (%d files stored)\n' "$wt" "$wgot"
printf '  ratio browser / wget:      %7s    (target <= 1.2)\n' "$(awk -v a="$bt" -v b="$wt" 'BEGIN { printf "%.2f", a / b }')"
printf '  floor (cp of the bytes):   %7s s\n' "$ft"
sed -n 's/^\[browser\] message loop: \([0-9.]*\) s.*/  of the browser'"'"'s time, its message loop (transfers and plug-in): \1 s/p' "$work/browser.out"
bad=0
for f in "$data"/*; do
  [ "$(basename "$f")" = .complete ] && continue
  name="$(basename "$f" | tr 'a-z' 'A-Z')"
  cmp -s "$f" "$work/drive/download/$name" || bad=$((bad + 1))
done
if [ "$got" -ne "$count" ] || [ "$bad" -ne 0 ]; then
  echo "bench: the browser's download folder differs from the served files ($bad files)" >&2
  exit 1
fi
