#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, only those missing; silent when
# everything is there. Usage: scripts/install-deps.sh [build|run|fuzz|package]...
set -euo pipefail

# libqt6gui6 (pulled in by qt6-base-dev) holds the GIF, JPEG and ICO image plugins
# that LoadImageBitmap reads with; named here because they are loaded at run time.
# qt6-translations-l10n: Qt's own dialogs and standard buttons in Korean.
build_pkgs=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6gui6 libgl-dev
    libcurl4-openssl-dev libpugixml-dev libgif-dev libcpp-httplib-dev libgtest-dev
    libbenchmark-dev fonts-nanum fonts-nanum-coding qt6-translations-l10n)
run_pkgs=(xvfb x11-apps x11-utils imagemagick xdotool)
fuzz_pkgs=(clang libclang-rt-14-dev)
# CPack's Debian packages: dpkg-shlibdeps declares their libraries; the package test
# checks the menu entry with desktop-file-validate and the packages with lintian.
package_pkgs=(dpkg-dev desktop-file-utils lintian)

wanted=("${build_pkgs[@]}")
for group in "$@"; do
    case "$group" in
        build) ;;
        run) wanted+=("${run_pkgs[@]}") ;;
        fuzz) wanted+=("${fuzz_pkgs[@]}") ;;
        package) wanted+=("${package_pkgs[@]}") ;;
        *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
    esac
done

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
