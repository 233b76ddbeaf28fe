#!/usr/bin/env bash
# test.sh - the whole test command: installs what is missing, builds the i686 kit and the
# x86_64 test build, runs every test program under wine64 on a virtual display, and leaves
# the kit in build/kit/ and build/velmorin-kit.zip.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$REPO_ROOT/scripts/setup.sh"
"$REPO_ROOT/scripts/build.sh" all
"$REPO_ROOT/scripts/pack_kit.sh"

# No persistent wineserver: Wine's helper processes (services, desktop) inherit the output
# pipe of the test that started them, and CTest waits for that pipe until they end, which
# they only do when the wineserver goes away after the last program.
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir "$BUILD_ROOT/x64" --output-on-failure "$@"
