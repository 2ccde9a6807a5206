#!/usr/bin/env bash
# The three dialogs that store a program, each with a program picked in a Wine
# prefix and its client path shown: "아이콘 등록하기", "아이콘 수정" (from the folder
# editor) and "바로가기 아이콘 설정". Screenshots go to build/screenshots/clientpath.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD work=$top/build/clientpath-work shots=$top/build/screenshots/clientpath
. scripts/screenshot-session.sh

# A Wine prefix of the demo's own: C: holds a game under a Hangul folder.
export WINEPREFIX=$work/wine XDG_CONFIG_HOME=$work/config
rm -rf "$WINEPREFIX" "$XDG_CONFIG_HOME"
mkdir -p "$WINEPREFIX/dosdevices" "$WINEPREFIX/drive_c/Games/게임" "$XDG_CONFIG_HOME"
ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
printf 'MZ' >"$WINEPREFIX/drive_c/Games/게임/abc.exe"
program=$WINEPREFIX/drive_c/Games/게임/abc.exe

shot_window() {
    local id
    id=$(xdotool search --onlyvisible --name "$2" | tail -n 1 || true)
    [ -n "$id" ] && xwd -id "$id" -silent | convert xwd:- "$shots/$1.png"
}
# Sets X, Y, WIDTH and HEIGHT to a shown window's geometry.
find_window() {
    local id
    id=$(xdotool search --onlyvisible --name "$1" | tail -n 1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
}
# Types the program's path into the open file dialog and confirms it.
choose_program() {
    sleep 1.5
    xdotool type --delay 20 "$program"
    xdotool key Return
    sleep 1
}

(cd "$work/room" && exec "$top/build/src/app/VeradaVodirev" demo 1 0) &
editor_pid=$!
sleep 5
# The folder "게임" in the folder editor, then "아이콘 등록".
xdotool mousemove 232 102 click 3
sleep 1
xdotool key Down Return
sleep 2
find_window "폴더 정보 수정"
folder_x=$X folder_y=$Y
xdotool mousemove $((X + 63)) $((Y + 607)) click 1
sleep 1.5
find_window "아이콘 등록하기"
echo "registration at $X,$Y ${WIDTH}x$HEIGHT"
shot_window registration_before "아이콘 등록하기"
xdotool mousemove $((X + 180)) $((Y + 131)) click 1
choose_program
shot_window registration "아이콘 등록하기"
xdotool key Escape
sleep 1
shot_window folder_editor "폴더 정보 수정"
# A program of the folder in "아이콘 수정", pointed at the game.
xdotool mousemove $((folder_x + 440)) $((folder_y + 296)) click 1
sleep 0.5
xdotool mousemove $((folder_x + 148)) $((folder_y + 607)) click 1
sleep 1.5
find_window "아이콘 수정"
echo "icon update at $X,$Y ${WIDTH}x$HEIGHT"
shot_window icon_update_before "아이콘 수정"
xdotool mousemove $((X + 310)) $((Y + 33)) click 1
choose_program
shot_window icon_update "아이콘 수정"
xdotool key Escape
sleep 1
find_window "폴더 정보 수정"
xdotool mousemove $((X + WIDTH - 50)) $((Y + 47)) click 1
sleep 1
# The shortcut "홈페이지" pointed at the game.
xdotool mousemove 592 102 click 3
sleep 1
xdotool key Down Return
sleep 2
find_window "바로가기 아이콘 설정"
echo "shortcut at $X,$Y ${WIDTH}x$HEIGHT"
shot_window shortcut_before "바로가기 아이콘 설정"
xdotool mousemove $((X + 400)) $((Y + 374)) click 1
choose_program
shot_window shortcut "바로가기 아이콘 설정"
rm -f "$shots"/*_before.png
echo "Screenshots in $shots"
