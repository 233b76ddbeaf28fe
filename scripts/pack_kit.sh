#!/usr/bin/env bash
# pack_kit.sh - gathers the i686 deliverables and the administrators' notes into
# build/kit/ and packs them as build/velmorin-kit.zip.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
rm -rf "$KIT_DIR"
cmake --install "$BUILD_ROOT/i686" --prefix "$KIT_DIR" >/dev/null
cp "$REPO_ROOT/docs/INSTALL.txt" "$KIT_DIR/INSTALL.txt"
rm -f "$BUILD_ROOT/velmorin-kit.zip"
(cd "$KIT_DIR" && zip -q -r "$BUILD_ROOT/velmorin-kit.zip" .)
echo "kit: $KIT_DIR ($(cd "$KIT_DIR" && ls | tr '\n' ' '))"
