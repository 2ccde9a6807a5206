#!/usr/bin/env bash
# Installs what is missing, builds what the demo runs (the editor, the reference
# server and the demo art; the tests are built by scripts/test.sh), starts the server
# on the demo room and opens the editor as "VeradaVodirev demo 1 0" in a fresh
# working folder. Without a display (DISPLAY unset) the editor runs on a virtual X
# display; a screenshot is saved to demo-work/screenshot.png and the editor is
# closed again. An editor that ended before its window was shot is reported with the
# reason, and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

scripts/install-deps.sh build run
scripts/build.sh VeradaVodirev vodirev-server vodirev_art_files

work=$top/demo-work
rm -rf "$work"
mkdir -p "$work/room/images"
cp -r build/demo-root "$work/server-root"
cp -r build/resources/bkicons "$work/room/images/bkicons"

server_out=$work/server.out
build/tools/server/vodirev-server --root "$work/server-root" --port 0 \
    --log "$work/server.log" >"$server_out" 2>&1 &
server_pid=$!
xvfb_pid=""
cleanup() {
    kill "$server_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

for _ in $(seq 50); do
    grep -q '^listening on ' "$server_out" 2>/dev/null && break
    sleep 0.1
done
address=$(sed -n 's/^listening on //p' "$server_out" | head -n 1)
if [ -z "$address" ]; then
    echo "run-demo: the server did not start:" >&2
    cat "$server_out" >&2
    exit 1
fi
export VERADA_SERVER=$address
echo "Server for the demo room at $address (log: demo-work/server.log)"

editor=$top/build/src/app/VeradaVodirev
editor_log=$work/editor.log

# Other processes running a program called VeradaVodirev: the editor's
# single-instance guard ends a second one at once (after bringing the first to the
# front).
other_editors() {
    local exe target
    for exe in /proc/[0-9]*/exe; do
        [ "${exe#/proc/}" = "$1/exe" ] && continue
        target=$(readlink "$exe" 2>/dev/null) || continue
        case "${target##*/}" in
            VeradaVodirev | "VeradaVodirev (deleted)") echo "${exe//[^0-9]/}" ;;
        esac
    done
}

# Says why the editor with process id $1 ended early, and fails.
editor_ended() {
    local status=0 others
    wait "$1" 2>/dev/null || status=$?
    others=$(other_editors "$1" | paste -sd ' ')
    if [ -n "$others" ]; then
        echo "run-demo: the editor did not open: another VeradaVodirev is running" \
            "(process $others) and only one editor runs at a time; close it first." >&2
    else
        echo "run-demo: the editor ended with status $status before its window was shown" \
            "(its output: demo-work/editor.log):" >&2
        tail -n 20 "$editor_log" >&2
    fi
    exit 1
}

cd "$work/room"
if [ -n "${DISPLAY:-}" ]; then
    "$editor" demo 1 0 >"$editor_log" 2>&1 &
    editor_pid=$!
    sleep 3
    kill -0 "$editor_pid" 2>/dev/null || editor_ended "$editor_pid"
    echo "The editor runs (its output: demo-work/editor.log); the server stops when it closes."
    wait "$editor_pid" || true
else
    . "$top/scripts/xvfb.sh"
    start_xvfb 1920x1200x24
    DISPLAY=$display "$editor" demo 1 0 >"$editor_log" 2>&1 &
    editor_pid=$!
    # The window is up once the editor shows it on the display; give it 30 s.
    for _ in $(seq 300); do
        kill -0 "$editor_pid" 2>/dev/null || editor_ended "$editor_pid"
        DISPLAY=$display xdotool search --onlyvisible --pid "$editor_pid" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 2
    kill -0 "$editor_pid" 2>/dev/null || editor_ended "$editor_pid"
    DISPLAY=$display xwd -root -silent | convert xwd:- "$work/screenshot.png"
    kill -0 "$editor_pid" 2>/dev/null || editor_ended "$editor_pid"
    kill "$editor_pid" 2>/dev/null || true
    wait "$editor_pid" 2>/dev/null || true
    echo "No display here: the editor ran on the virtual display $display."
    echo "Screenshot: demo-work/screenshot.png"
fi
