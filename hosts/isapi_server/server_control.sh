# server_control.sh - sourced by the scripts that run isapi_server in the background (the
# demo, the benchmark): set registry values in the prefix, start the server on a free port,
# learn the port, stop it the clean way by closing its standard input. Source scripts/env.sh
# first ($WINE, $WINEPREFIX).

# Windows path of a path here: wine sees the whole file system as drive Z:.
winpath() { local p="$1"; echo "Z:${p//\//\\}"; }

# reg_set_sz KEY NAME DATA - stores DATA as REG_SZ, as an administrator does with reg.exe.
reg_set_sz() {
  "$WINE" reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null
}

# isapi_start WORKDIR EXE ARGS... - starts EXE with ARGS plus "--port 0 --stop-on-eof",
# output to WORKDIR/server.out, its standard input held open on file descriptor 3. Sets
# ISAPI_PID and ISAPI_PORT; returns 1 (ISAPI_PORT empty) when the server did not start.
isapi_start() {
  local work="$1" exe="$2"; shift 2
  mkfifo "$work/stop"
  "$WINE" "$exe" "$@" --port 0 --stop-on-eof <"$work/stop" >"$work/server.out" 2>&1 &
  ISAPI_PID=$!
  exec 3>"$work/stop"
  ISAPI_PORT=""
  local _
  for _ in $(seq 1 600); do
    ISAPI_PORT="$(sed -n 's|.* on http://127\.0\.0\.1:\([0-9]*\)/.*|\1|p' "$work/server.out")"
    [ -n "$ISAPI_PORT" ] && return 0
    kill -0 "$ISAPI_PID" 2>/dev/null || break
    sleep 0.1
  done
  return 1
}

# isapi_stop - closes the server's standard input and waits for it; returns its exit code.
isapi_stop() {
  exec 3>&-
  local rc=0
  if [ -n "${ISAPI_PID:-}" ]; then
    wait "$ISAPI_PID" || rc=$?
  fi
  ISAPI_PID=""
  return "$rc"
}

# isapi_kill - for an exit trap: ends a server still running after a failure.
isapi_kill() {
  exec 3>&- 2>/dev/null || true
  if [ -n "${ISAPI_PID:-}" ] && kill -0 "$ISAPI_PID" 2>/dev/null; then kill "$ISAPI_PID" 2>/dev/null || true; fi
}

# show_directory_requests URL...: requests each URL path of the running server with curl
# and prints the answer, head and body, as the demos show it.
show_directory_requests() {
  local url
  for url in "$@"; do
    echo
    echo "== curl http://127.0.0.1:$ISAPI_PORT$url"
    curl -sS -i "http://127.0.0.1:$ISAPI_PORT$url" | tr -d '\r'
  done
}
