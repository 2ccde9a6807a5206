#!/usr/bin/env bash
# cmake --install into a fresh temporary prefix; then the installed programs run
# from there: the editor offscreen in an empty working folder, vodirev render, and
# the menu entry's starter. Usage: install_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
. "$(dirname "$0")/installed_checks.sh"

prefix=$scratch/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
    { cat "$scratch/install.log"; fail "cmake --install failed"; }
check_installed_files "$prefix"
check_editor_provides_images "$prefix"
check_render "$prefix"
check_menu_start "$prefix"
echo "installed into a temporary prefix; the programs run from there"
