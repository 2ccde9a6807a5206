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
. scripts/screenshot-session.sh

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
