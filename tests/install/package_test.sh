#!/usr/bin/env bash
# CPack's two Debian packages: verada-vodirev (editor, vodirev, vodirev-open, data,
# menu entry, icon) and vodirev-server, each with its own libraries; Debian's own
# checks (lintian --pedantic) find no error, no warning and none of the hardening,
# manual page and section tags; then both unpacked into a scratch root run from
# there. Exit status 77 (skipped) without dpkg-shlibdeps or lintian.
# Usage: package_test.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1
build=$2
version=$3-1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
. "$(dirname "$0")/installed_checks.sh"

for tool in dpkg-shlibdeps lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing: scripts/install-deps.sh package installs it"
        exit 77
    fi
done
(cd "$build" && "$cpack" -B "$scratch/out" >"$scratch/cpack.log") ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
editor=$scratch/out/verada-vodirev_${version}_$(dpkg --print-architecture).deb
server=$scratch/out/vodirev-server_${version}_$(dpkg --print-architecture).deb
[ -f "$editor" ] && [ -f "$server" ] || fail "packages made: $(ls "$scratch/out")"

# Depends names (or must not name) each of the packages given.
check_depends() {
    local deb=$1 want=$2 pkg depends
    depends=$(dpkg-deb -f "$deb" Depends)
    shift 2
    for pkg in "$@"; do
        if [[ ", $depends," == *", $pkg"[\ ,]* ]]; then
            [ "$want" = yes ] || fail "$(basename "$deb") needlessly depends on $pkg: $depends"
        else
            [ "$want" = no ] || fail "$(basename "$deb") lacks the dependency $pkg: $depends"
        fi
    done
}
check_depends "$editor" yes libc6 libqt6gui6 libqt6widgets6 libcurl4 libpugixml1v5 libgif7 \
    fonts-nanum qt6-translations-l10n hicolor-icon-theme
check_depends "$editor" no libcpp-httplib0.11
check_depends "$server" yes libc6 libcpp-httplib0.11
check_depends "$server" no libqt6widgets6 libcurl4 fonts-nanum

# Each program, with its manual page, in its own package only.
dpkg-deb -c "$editor" | awk '{ print $6 }' >"$scratch/editor.contents"
dpkg-deb -c "$server" | awk '{ print $6 }' >"$scratch/server.contents"
for name in VeradaVodirev vodirev vodirev-open vodirev-server; do
    own=editor
    [ "$name" = vodirev-server ] && own=server
    for path in ./usr/bin/$name ./usr/share/man/man1/$name.1.gz; do
        grep -qx -- "$path" "$scratch/$own.contents" || fail "the $own package lacks $path"
        ! grep -qx -- "$path" "$scratch/$([ $own = editor ] && echo server || echo editor).contents" ||
            fail "$path is in both packages"
    done
done

lintian --pedantic --display-info --fail-on error,warning "$editor" "$server" \
    >"$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log"; fail "lintian refuses the packages"; }
if grep -E '^[EW]: |hardening-no-|no-manual-page|no-copyright-file|no-changelog|keywords-entry|unneeded-section' \
    "$scratch/lintian.log"; then
    fail "lintian reports the tags above"
fi

dpkg -x "$editor" "$scratch/root"
dpkg -x "$server" "$scratch/root"
check_installed_files "$scratch/root/usr"
check_editor_provides_images "$scratch/root/usr"
check_render "$scratch/root/usr"
echo "packages $(basename "$editor") and $(basename "$server") pass lintian and run"
