#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite (the package's too).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build package
scripts/build.sh
ctest --test-dir build --output-on-failure "$@"
