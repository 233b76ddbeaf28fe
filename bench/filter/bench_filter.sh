#!/usr/bin/env bash
# bench_filter.sh - requests per second on directory URLs answered through Velmorin.dll,
# against the same isapi_server fetching the resolved file URLs directly: one server, one
# client (wrk), the two URLs of a pair measured in alternating rounds; prints the median of
# each, and their ratio (target >= 0.95). Prints figures; never fails on a figure.
#   bench/filter/bench_filter.sh [SECONDS_PER_ROUND [ROUNDS]]
# Then the filter's cost per call in process (bench_filter_call_cost), for reading them.
# ISAPI_SERVER_EXE, VELMORIN_DLL, CALL_COST_EXE choose other builds (default: the x64 build).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
source "$REPO_ROOT/hosts/isapi_server/server_control.sh"

seconds="${1:-3}"
rounds="${2:-3}"
server_exe="${ISAPI_SERVER_EXE:-$BUILD_ROOT/x64/hosts/isapi_server/isapi_server.exe}"
dll="${VELMORIN_DLL:-$BUILD_ROOT/x64/filter/Velmorin.dll}"
call_cost_exe="${CALL_COST_EXE:-$BUILD_ROOT/x64/bench/filter/bench_filter_call_cost.exe}"
threads=2
connections=8
SETTINGS_KEY='HKLM\SOFTWARE\Felmo\Velmorin\Parameters'
LIST="default.htm;default.html;index.htm;index.html"

for f in "$server_exe" "$dll"; do
  [ -f "$f" ] || { echo "bench_filter: $f is missing; build it first (scripts/build.sh x64 --target isapi_server Velmorin)" >&2; exit 2; }
done
command -v wrk >/dev/null || { echo "bench_filter: wrk is missing (scripts/setup.sh installs it)" >&2; exit 2; }

work="$(mktemp -d /tmp/velmorin-bench.XXXXXX)"
trap 'isapi_kill; rm -rf "$work"' EXIT

# A page of about 1 KiB in two folders: found as the first and as the last list entry.
page="$(printf '<html><body>%s</body></html>\n' "$(head -c 1000 /dev/zero | tr '\0' 'x')")"
mkdir -p "$work/site/first" "$work/site/last"
echo "$page" >"$work/site/first/default.htm"
echo "$page" >"$work/site/last/index.html"

reg_set_sz "$SETTINGS_KEY" DefaultLoadFiles "$LIST"
reg_set_sz "$SETTINGS_KEY" NotFoundPage ""
reg_set_sz "$SETTINGS_KEY" LogFile ""

if ! isapi_start "$work" "$server_exe" --root "$(winpath "$work/site")" --filter "$(winpath "$dll")"; then
  echo "bench_filter: the server did not start:" >&2
  cat "$work/server.out" >&2
  exit 2
fi
base="http://127.0.0.1:$ISAPI_PORT"

# requests/s of one wrk run on URL ("0" when wrk gave none); answers other than 2xx/3xx
# are counted in $work/non2xx.
measure() {
  local out
  out="$(wrk -t"$threads" -c"$connections" -d"${seconds}s" "$1" 2>&1)"
  echo "$out" | sed -n 's/.*Non-2xx or 3xx responses: *\([0-9]*\).*/\1/p' >>"$work/non2xx"
  echo "$out" | awk '/^Requests\/sec:/ { print $2; found = 1 } END { if (!found) print 0 }'
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else print v[int((NR + 1) / 2)] }'; }

# pair LABEL DIRECTORY_URL FILE_URL: alternating rounds, medians and ratio on one line.
pair() {
  local label="$1" dir_url="$2" file_url="$3" dirs="" files="" r
  wrk -t1 -c2 -d1s "$base$dir_url" >/dev/null 2>&1   # warm both paths up
  wrk -t1 -c2 -d1s "$base$file_url" >/dev/null 2>&1
  for r in $(seq 1 "$rounds"); do
    files="$files $(measure "$base$file_url")"
    dirs="$dirs $(measure "$base$dir_url")"
  done
  local d f
  d="$(echo "$dirs" | median)"
  f="$(echo "$files" | median)"
  printf '%-44s %12.1f %12.1f %7s\n' "$label" "$d" "$f" \
    "$(awk -v d="$d" -v f="$f" 'BEGIN { if (f > 0) printf "%.3f", d / f; else print "n/a" }')"
  printf '    rounds, directory:%s\n    rounds, file:     %s\n' "$dirs" "$files"
}

echo "isapi_server + Velmorin.dll (x86_64, wine), wrk -t$threads -c$connections, $rounds rounds of ${seconds}s per URL, median requests/s"
echo "DefaultLoadFiles: $LIST"
printf '%-44s %12s %12s %7s\n' "directory URL -> resolved file" "directory" "file" "ratio"
pair "/first/ -> first/default.htm (1st entry)" /first/ /first/default.htm
pair "/last/  -> last/index.html (4th entry)" /last/ /last/index.html
reg_set_sz "$SETTINGS_KEY" LogFile "$(winpath "$work/filter.log")"
pair "/last/, LogFile set (one line per request)" /last/ /last/index.html
reg_set_sz "$SETTINGS_KEY" LogFile ""
echo "target: ratio >= 0.95"
non2xx="$(awk '{ s += $1 } END { print s + 0 }' "$work/non2xx")"
[ "$non2xx" = 0 ] || echo "note: $non2xx answers were not 2xx/3xx: the figures above include errors"

isapi_stop || echo "note: isapi_server ended with code $?"

echo
if [ -f "$call_cost_exe" ]; then
  "$WINE" "$call_cost_exe" "$(winpath "$dll")" /last/ "$(winpath "$work/site/last")\\" \
    /last/index.html "$(winpath "$work/site/last/index.html")" || echo "note: bench_filter_call_cost failed"
else
  echo "note: $call_cost_exe is missing; no cost per call"
fi
exit 0
