# Checks run on an installed tree (PREFIX/bin, PREFIX/share), sourced by the
# install and package tests; $scratch is the test's temporary folder. A failed
# check says what failed and ends the test.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Width and height of a PNG file, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# Runs an installed program as an operator would: no build-tree libraries, the
# offscreen platform, a cache folder of the test's own.
run_installed() {
    env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen XDG_CACHE_HOME="$scratch/cache" \
        timeout 60 "$@"
}

# True when some process runs a program called VeradaVodirev (the editor's
# single-instance guard counts those).
other_editor_runs() {
    local exe target
    for exe in /proc/[0-9]*/exe; do
        target=$(readlink "$exe" 2>/dev/null) || continue
        case "${target##*/}" in
            VeradaVodirev | "VeradaVodirev (deleted)") return 0 ;;
        esac
    done
    return 1
}

# The programs, the data and the menu entry are where the install rules put them.
check_installed_files() {
    local prefix=$1 name exec icon
    for name in VeradaVodirev vodirev vodirev-server vodirev-open; do
        [ -x "$prefix/bin/$name" ] || fail "$prefix/bin/$name is not installed"
    done
    for name in 64X64_01.gif 64X64_16.gif 64X64_17.gif 64X64_18.gif launcherA.bmp launcherB.bmp; do
        [ -s "$prefix/share/vodirev/bkicons/$name" ] || fail "installation image $name missing"
    done
    local desktop=$prefix/share/applications/verada-vodirev.desktop
    [ -f "$desktop" ] || fail "no menu entry $desktop"
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$exec" ] || fail "the menu entry starts $exec, which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -s "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
        fail "the menu entry's icon $icon is not installed"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
    fi
}

# The installed editor in a fresh, empty working folder with desktop 0 (no server):
# it opens, ends cleanly when its windows are closed, and leaves the installation
# images in the folder.
check_editor_provides_images() {
    local prefix=$1 work=$scratch/editor-work quit_ms=500 start elapsed rc=0 name
    mkdir -p "$work"
    start=$(date +%s%N)
    (cd "$work" && VODIREV_QUIT_AFTER_MS=$quit_ms run_installed "$prefix/bin/VeradaVodirev" \
        install 0 0) || rc=$?
    elapsed=$((($(date +%s%N) - start) / 1000000))
    [ "$rc" -eq 0 ] || fail "the installed editor ended with status $rc"
    # Closed by the timer only once its window was open; sooner means it did not open.
    if [ "$elapsed" -lt "$quit_ms" ]; then
        if other_editor_runs; then
            echo "note: another editor runs on this machine; the installed one ended at once"
        else
            fail "the installed editor ended after ${elapsed} ms, before its window opened"
        fi
    fi
    for name in "$prefix"/share/vodirev/bkicons/*; do
        cmp -s "$name" "$work/images/bkicons/${name##*/}" ||
            fail "the editor did not provide images/bkicons/${name##*/}"
    done
}

# vodirev render on a small layout that shows an installation image: the frame is
# the layout's resolution over the 40-pixel toolbar strip.
check_render() {
    local prefix=$1 work=$scratch/render-work out=$scratch/frame.png size
    mkdir -p "$work/images/bkicons"
    cp "$prefix/share/vodirev/bkicons/64X64_01.gif" "$work/images/bkicons/"
    printf '%s\r\n' '<?xml version="1.0" encoding="euc-kr" ?>' '<desktop>' \
        '<background name="bg" width="320" height="200">' '<image></image>' '</background>' \
        '<icon name="icon1" x="10" y="10" width="64" height="64"  flag="1"  type="1" showflag="1" >' \
        '<title> PC</title>' '<image> images\bkicons\64X64_01.gif</image>' '<link></link>' \
        '<dir></dir>' '</icon>' '</desktop>' >"$work/desktop000.xml"
    run_installed "$prefix/bin/vodirev" render "$work" 0 "$out" >/dev/null ||
        fail "the installed vodirev render failed"
    [ -s "$out" ] || fail "vodirev render wrote no $out"
    size=$(png_size "$out")
    [ "$size" = 320x240 ] || fail "the rendered frame is $size, not 320x240"
}

# The menu entry's vodirev-open, with a stand-in editor that prints its folder and
# words: it starts in $VODIREV_WORKDIR (default ~/VeradaVodirev, made when missing)
# with the blank-separated words of vodirev-room.txt, or with none.
check_menu_start() {
    local prefix=$1 bin=$scratch/menu-bin work=$scratch/menu-work out
    mkdir -p "$bin" "$work"
    cp "$prefix/bin/vodirev-open" "$bin/"
    printf '#!/bin/sh\nprintf "%%s|" "$PWD" "$@"\n' >"$bin/VeradaVodirev"
    chmod +x "$bin/VeradaVodirev"
    printf '방1  2 0\r\nsecond line\r\n' >"$work/vodirev-room.txt"
    out=$(VODIREV_WORKDIR=$work "$bin/vodirev-open")
    [ "$out" = "$work|방1|2|0|" ] || fail "vodirev-open ran: $out"
    out=$(cd / && env -u VODIREV_WORKDIR HOME="$scratch/home" "$bin/vodirev-open")
    [ "$out" = "$scratch/home/VeradaVodirev|" ] || fail "vodirev-open without a room file ran: $out"
}
