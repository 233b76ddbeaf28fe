# env.sh - sourced by the other scripts: where the repo, the builds and the Wine prefix are.
# VELMORIN_WINEPREFIX chooses another prefix (each developer or parallel job may keep its own).
REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_ROOT="${VELMORIN_BUILD_ROOT:-$REPO_ROOT/build}"
export WINEPREFIX="${VELMORIN_WINEPREFIX:-$BUILD_ROOT/wineprefix}"
export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
KIT_DIR="$BUILD_ROOT/kit"
