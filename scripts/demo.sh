#!/usr/bin/env bash
# demo.sh - the kit at work: installs what is missing, builds, then runs each part's demo.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$REPO_ROOT/scripts/setup.sh"
"$REPO_ROOT/scripts/build.sh" all
for part in filter dialog plugin; do
  if [ -x "$REPO_ROOT/scripts/demo_$part.sh" ]; then
    echo "==== demo: $part ===="
    "$REPO_ROOT/scripts/demo_$part.sh"
  fi
done
