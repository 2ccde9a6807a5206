#!/usr/bin/env bash
# Screenshots of the waits against a slow server (every answer 300 ms late): the
# start-up's progress window, the save's progress in a late phase ("저장하기",
# Ctrl+S), the F1 window and the file dialog of "배경 이미지 추가". Run
# scripts/run-demo.sh (or scripts/build.sh) first.
# Output: demo-work/progress-shots/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scripts/install-deps.sh build run

work=$top/demo-work/progress
shots=$top/demo-work/progress-shots
server_delay=300
. scripts/screenshot-session.sh

(cd "$work/room" && exec "$top/build/src/app/VeradaVodirev" demo 1 0) &
editor_pid=$!
sleep 4
shot startup_progress
# The start-up ends when every file is in; then the editor window.
for _ in $(seq 60); do
    xdotool search --name '^VeradaVodirev$' >/dev/null 2>&1 || break
    sleep 0.5
done
sleep 2
xdotool mousemove 1200 880
shot opened
# Ctrl+S: the name dialog (Return keeps the title), then one display over the save.
xdotool mousemove 700 500 click 1 key ctrl+s
sleep 2
xdotool key Return
for second in 4 8 12; do
    sleep 4
    shot_with_popups "save_${second}s"
done
sleep 10
xdotool key F1
sleep 1
shot_with_popups about
xdotool key Return
sleep 1
# "배경 이미지 추가" (the desktop menu's second entry): Qt's file dialog, in Korean.
xdotool mousemove 700 500 click 3
sleep 1
xdotool key Down Down Return
sleep 2
shot_with_popups file_dialog
xdotool key Escape
