#!/usr/bin/env bash
# CPack's Debian package: its name and version, the programs, data, menu entry and
# icon it holds, the libraries and fonts it depends on; then its files unpacked into
# a scratch root run from there. Exit status 77 (skipped) without dpkg-shlibdeps.
# Usage: package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1
build=$2
version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
. "$(dirname "$0")/installed_checks.sh"

if ! command -v dpkg-shlibdeps >/dev/null; then
    echo "dpkg-shlibdeps is missing: scripts/install-deps.sh package installs it"
    exit 77
fi
(cd "$build" && "$cpack" -B "$scratch/out" >"$scratch/cpack.log") ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb=$(echo "$scratch"/out/verada-vodirev_"$version"_*.deb)
[ -f "$deb" ] || fail "no package verada-vodirev_${version}_*.deb: $(ls "$scratch/out")"

[ "$(dpkg-deb -f "$deb" Package)" = verada-vodirev ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong package version"
depends=$(dpkg-deb -f "$deb" Depends)
for pkg in libc6 libqt6gui6 libqt6widgets6 libcurl4 libpugixml1v5 libgif7 fonts-nanum; do
    [[ ", $depends," == *", $pkg"[\ ,]* ]] || fail "Depends lacks $pkg: $depends"
done
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$scratch/contents"
for path in ./usr/bin/VeradaVodirev ./usr/bin/vodirev ./usr/bin/vodirev-server \
    ./usr/bin/vodirev-open ./usr/share/applications/verada-vodirev.desktop \
    ./usr/share/icons/hicolor/scalable/apps/verada-vodirev.svg \
    ./usr/share/vodirev/bkicons/64X64_01.gif; do
    grep -qx -- "$path" "$scratch/contents" || fail "the package lacks $path"
done

dpkg -x "$deb" "$scratch/root"
check_installed_files "$scratch/root/usr"
check_editor_provides_images "$scratch/root/usr"
check_render "$scratch/root/usr"
echo "package $(basename "$deb") holds and runs the installed programs"
