#!/usr/bin/env bash
# build.sh - configures and builds both targets: build/i686 (the shipped kit) and
# build/x64 (the same sources with tests, hosts and benchmarks, run under wine64).
#   scripts/build.sh [i686|x64|all] [extra cmake --build args...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
which="${1:-all}"; shift || true
jobs="${VELMORIN_JOBS:-2}"

configure() { # dir toolchain extra...
  local dir="$1" tc="$2"; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$REPO_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/$tc" \
      -DVELMORIN_BOOST_INCLUDE="$BUILD_ROOT/boost-include" "$@" >/dev/null
  fi
}
if [ "$which" = all ] || [ "$which" = i686 ]; then
  configure "$BUILD_ROOT/i686" mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
  cmake --build "$BUILD_ROOT/i686" -j "$jobs" "$@"
fi
if [ "$which" = all ] || [ "$which" = x64 ]; then
  configure "$BUILD_ROOT/x64" mingw-x86_64.cmake -DVELMORIN_TESTS=ON \
    -DVELMORIN_KIT_BUILD="$BUILD_ROOT/i686"
  cmake --build "$BUILD_ROOT/x64" -j "$jobs" "$@"
fi
