#!/usr/bin/env bash
# test.sh - the whole test command: installs what is missing, builds the i686 kit and the
# x86_64 test build, runs every test program under wine64 on a virtual display, and leaves
# the kit in build/kit/ and build/velmorin-kit.zip.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$REPO_ROOT/scripts/setup.sh"
"$REPO_ROOT/scripts/build.sh" all
"$REPO_ROOT/scripts/pack_kit.sh"

# One wineserver for the whole run: every test program starts faster.
"$WINESERVER" -p >/dev/null 2>&1 || true
trap '"$WINESERVER" -k >/dev/null 2>&1 || true' EXIT

xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir "$BUILD_ROOT/x64" --output-on-failure "$@"
