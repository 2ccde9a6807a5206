#!/usr/bin/env bash
# Configures (once) and builds into build/: everything, or only the targets named.
# Usage: scripts/build.sh [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
    cmake --preset default >/dev/null
fi
if [ $# -gt 0 ]; then
    cmake --build build --target "$@"
else
    cmake --build build
fi
