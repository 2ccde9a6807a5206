#!/usr/bin/env bash
# Installs what is missing, builds, starts the reference server on the demo room and
# opens the editor as "VeradaVodirev demo 1 0" in a fresh working folder.
# Without a display (DISPLAY unset) the editor runs on a virtual X display; a
# screenshot is saved to demo-work/screenshot.png and the editor is closed again.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD

scripts/install-deps.sh build run
scripts/build.sh

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
cd "$work/room"
if [ -n "${DISPLAY:-}" ]; then
    "$editor" demo 1 0
else
    . "$top/scripts/xvfb.sh"
    start_xvfb 1920x1200x24
    DISPLAY=$display "$editor" demo 1 0 &
    editor_pid=$!
    sleep 6
    DISPLAY=$display xwd -root -silent | convert xwd:- "$work/screenshot.png"
    kill "$editor_pid" 2>/dev/null || true
    wait "$editor_pid" 2>/dev/null || true
    echo "No display here: the editor ran on the virtual display $display."
    echo "Screenshot: demo-work/screenshot.png"
fi
