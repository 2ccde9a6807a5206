#!/usr/bin/env bash
# Screenshots of editing on the demo room, on a virtual display driven by xdotool:
# a click selection with the status line, a Shift rubber band being drawn, a
# selection dragged onto a snap guide, and the context menus with their editing
# entries. Run scripts/run-demo.sh (or scripts/build.sh) first.
# Output: demo-work/editing-shots/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scripts/install-deps.sh build run

work=$top/demo-work/editing
shots=$top/demo-work/editing-shots
rm -rf "$work" "$shots"
mkdir -p "$work/room/images" "$shots"
cp -r build/demo-root "$work/server-root"
cp -r build/resources/bkicons "$work/room/images/bkicons"

. scripts/xvfb.sh
start_xvfb 1280x900x24
build/tools/server/vodirev-server --root "$work/server-root" --port 0 >"$work/server.out" 2>&1 &
server_pid=$!
finish() {
    [ -n "${editor_pid:-}" ] && kill "$editor_pid" 2>/dev/null && wait "$editor_pid" 2>/dev/null
    kill "$server_pid" "$xvfb_pid" 2>/dev/null || true
}
trap finish EXIT
sleep 1
export DISPLAY=$display
export VERADA_SERVER=$(sed -n 's/^listening on //p' "$work/server.out" | head -n 1)

shot() { xwd -root -silent | convert xwd:- -crop 1024x808+0+0 "$shots/$1.png"; }
# Popup menus use a 32-bit visual that a root capture on Xvfb shows black: capture
# each popup window on its own and lay it over the root capture.
shot_with_popups() {
    xwd -root -silent | convert xwd:- "$shots/$1.png"
    xwininfo -root -tree | awk '$1 ~ /^0x/ && /\+[0-9]+\+[0-9]+ +\+[0-9]+\+[0-9]+$/ {print $1, $(NF-1)}' |
        while read -r id geometry; do
            size=${geometry%%+*}
            w=${size%x*}; h=${size#*x}
            [ "$w" -gt 8 ] && [ "$h" -gt 8 ] && [ "$w" -lt 600 ] || continue
            offset=${geometry#"$size"}
            xwd -id "$id" -silent | convert "$shots/$1.png" xwd:- -geometry "$offset" -composite "$shots/$1.png"
        done
    convert "$shots/$1.png" -crop 1024x808+0+0 "$shots/$1.png"
}

(cd "$work/room" && exec "$top/build/src/app/VeradaVodirev" demo 1 0) &
editor_pid=$!
sleep 5
xdotool mousemove 1200 880
sleep 0.5
shot opened
# A click, then Ctrl+click: two folders selected, the status line naming them.
xdotool mousemove 232 102 click 1
sleep 0.3
xdotool keydown ctrl mousemove 352 102 click 1 keyup ctrl
sleep 0.3
xdotool mousemove 420 250
sleep 0.5
shot selection
# Shift+drag on empty canvas: the rubber band while it is drawn.
xdotool mousemove 160 62 keydown shift mousedown 1
sleep 0.2
xdotool mousemove 400 120
sleep 0.2
xdotool mousemove 650 170
sleep 0.5
shot rubber_band
xdotool mouseup 1 keyup shift
sleep 0.3
# The four folders dragged down until their tops meet the picture's: the guide.
xdotool mousemove 232 102 mousedown 1
sleep 0.2
xdotool mousemove 240 250
sleep 0.2
xdotool mousemove 236 370
sleep 0.5
shot guides
xdotool mouseup 1
sleep 0.3
# The menu of a selected folder: the editing entries and alignment after its own.
xdotool mousemove 236 372 click 3
sleep 1
shot_with_popups menu_item
xdotool key Escape
sleep 0.5
xdotool mousemove 700 520 click 3
sleep 1
shot_with_popups menu_top
xdotool key Escape
sleep 0.3
