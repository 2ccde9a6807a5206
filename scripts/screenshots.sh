#!/usr/bin/env bash
# Screenshots of the editor on the demo room, taken on a virtual display with the
# pointer driven by xdotool: as opened, an icon hovered, a label being dragged, the
# top context menu open, the dialogs, the save; then an editor started while the
# server is away (its start-up message and the question of its save); last, a
# 1920 x 1080 desktop on a 1366 x 768 screen, fitted and at 100 %. Run
# scripts/run-demo.sh (or scripts/build.sh) first.
# Output: demo-work/shots/*.png
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
scripts/install-deps.sh build run

work=$top/demo-work
shots=$work/shots
. scripts/screenshot-session.sh

# A dialog by its caption, on its own (a root capture shows 32-bit windows black).
shot_window() {
    local id
    id=$(xdotool search --onlyvisible --name "$2" | tail -n 1 || true)
    if [ -n "$id" ]; then
        xwd -id "$id" -silent | convert xwd:- "$shots/$1.png"
    else
        echo "no window \"$2\" for $1"
    fi
}

# Presses the second button of a dialog's button column ("닫기" or "취소"): without
# a window manager the modeless dialogs get no keyboard focus for Escape.
close_dialog() {
    local id
    id=$(xdotool search --onlyvisible --name "$1" | tail -n 1 || true)
    [ -n "$id" ] || return 0
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + 47))
    sleep 0.3
    xdotool click 1
    sleep 0.5
}

# Finds a shown window by its caption and sets X, Y, WIDTH and HEIGHT to its
# geometry; false when there is none.
find_window() {
    local id
    id=$(xdotool search --onlyvisible --name "$1" | tail -n 1 || true)
    [ -n "$id" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$id")"
    echo "\"$1\" at $X,$Y ${WIDTH}x$HEIGHT"
}

(cd "$work/room" && exec "$top/build/src/app/VeradaVodirev" demo 1 0) &
editor_pid=$!
sleep 5
xdotool mousemove 1200 880
sleep 0.5
shot opened
xdotool mousemove 232 102
sleep 0.5
shot icon_hovered
xdotool mousemove 420 612 mousedown 1
sleep 0.3
xdotool mousemove 440 580
sleep 0.2
xdotool mousemove 460 520
sleep 0.5
shot label_dragged
xdotool mouseup 1
# The folder editor on the folder "게임", then the icon registration over it.
xdotool mousemove 232 102 click 3
sleep 1
xdotool key Down Return
sleep 2
shot_window folder_editor "폴더 정보 수정"
editor_id=$(xdotool search --onlyvisible --name "폴더 정보 수정" | tail -n 1)
eval "$(xdotool getwindowgeometry --shell "$editor_id")"
xdotool mousemove $((X + 63)) $((Y + 607))
sleep 0.5
xdotool click 1
echo "folder editor at $X,$Y ${WIDTH}x$HEIGHT"
sleep 1.5
shot_window icon_insert "아이콘 등록하기"
xdotool key Escape
sleep 0.5
close_dialog "폴더 정보 수정"
sleep 0.5
# The control panel and the recycle bin (a base folder) in their dialogs.
xdotool mousemove 62 342 click 3
sleep 1
xdotool key Down Return
sleep 2
shot_window system_dialog "제어판 폴더"
close_dialog "제어판 폴더"
sleep 0.5
xdotool mousemove 62 222 click 3
sleep 1
xdotool key Down Return
sleep 2
shot_window base_folder_dialog "기본 폴더"
close_dialog "기본 폴더"
sleep 0.5
# The shortcut "홈페이지" in its dialog.
xdotool mousemove 592 102 click 3
sleep 1
xdotool key Down Return
sleep 2
shot_window shortcut_dialog "바로가기 아이콘 설정"
shortcut_id=$(xdotool search --onlyvisible --name "바로가기 아이콘 설정" | tail -n 1)
eval "$(xdotool getwindowgeometry --shell "$shortcut_id")"
echo "shortcut dialog at $X,$Y ${WIDTH}x$HEIGHT"
close_dialog "바로가기 아이콘 설정"
sleep 0.5
# An edit through the menus: a new shortcut named, pointed at a web page and given
# another folder image in its dialog, then a new folder.
xdotool mousemove 700 250 click 3
sleep 1
# "바로가기 아이콘 추가" is the fifth entry of the desktop menu.
xdotool key Down Down Down Down Down Return
sleep 1
# New items go to the point of the right click in canvas coordinates, 40 pixels
# below the pointer on the window.
xdotool mousemove 730 320 click 3
sleep 1
xdotool key Down Return
sleep 2
shortcut_id=$(xdotool search --onlyvisible --name "바로가기 아이콘 설정" | tail -n 1)
eval "$(xdotool getwindowgeometry --shell "$shortcut_id")"
xdotool mousemove $((X + 200)) $((Y + 20)) click 1 key ctrl+a
xdotool type --delay 50 "Cafe"
xdotool mousemove $((X + 180)) $((Y + 100)) click 1
xdotool mousemove $((X + 246)) $((Y + 428)) click 1
xdotool mousemove $((X + 236)) $((Y + 402)) click 1
xdotool type --delay 30 "http://example.com/cafe"
sleep 0.5
shot_window shortcut_filled "바로가기 아이콘 설정"
xdotool mousemove $((X + WIDTH - 50)) $((Y + 20)) click 1
sleep 1
xdotool mousemove 850 600 click 3
sleep 1
xdotool key Down Down Down Down Down Down Return
sleep 1
xdotool mousemove 1200 880
sleep 0.5
shot edited
# The background picker ("배경 이미지 설정", the first entry of the desktop menu).
xdotool mousemove 700 250 click 3
sleep 1
xdotool key Down Return
sleep 3
shot_window picker "배경 이미지 선택"
if find_window "배경 이미지 선택"; then
    # The third background, then "적용".
    xdotool mousemove $((X + 392)) $((Y + 77)) click 1
    sleep 0.5
    shot_window picker_chosen "배경 이미지 선택"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + 20)) click 1
    sleep 1
fi
# A new label ("문구 추가", third entry), its text in three lines, its font, its colour.
xdotool mousemove 700 250 click 3
sleep 1
xdotool key Down Down Down Return
sleep 1
xdotool mousemove 510 196 click 3
sleep 1
xdotool key Down Return
sleep 2
if find_window "문구 추가 및 수정"; then
    xdotool mousemove $((X + 100)) $((Y + 60)) click 1 key ctrl+a
    xdotool type --delay 60 "어서 오세요"
    xdotool key Return
    xdotool type --delay 60 "PC room"
    xdotool key Return
    xdotool type --delay 60 "24시간 영업"
    sleep 0.5
    shot_window text_dialog "문구 추가 및 수정"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + 20)) click 1
    sleep 1
fi
xdotool mousemove 510 196 click 3
sleep 1
xdotool key Down Down Down Return
sleep 2
shot_window font_dialog "폰트 수정"
if find_window "폰트 수정"; then
    # "바탕" in bold at 28, then "수정".
    xdotool mousemove $((X + 45)) $((Y + 115)) click 1
    xdotool mousemove $((X + 160)) $((Y + 63)) click 1
    xdotool mousemove $((X + 315)) $((Y + 205)) click 1 key ctrl+a
    xdotool type --delay 60 "28"
    sleep 0.5
    shot_window font_chosen "폰트 수정"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + 20)) click 1
    sleep 1
fi
xdotool mousemove 510 196 click 3
sleep 1
xdotool key Down Down Down Down Return
sleep 2
shot_with_popups colour_dialog
if find_window "Select Colo"; then
    # The orange of the basic colours, then OK.
    xdotool mousemove $((X + 192)) $((Y + 114)) click 1
    sleep 0.3
    xdotool mousemove $((X + 391)) $((Y + 381)) click 1
else
    xdotool key Escape
fi
sleep 1
xdotool mousemove 1200 880
sleep 0.5
shot label_styled
xdotool mousemove 700 250 click 3
sleep 2
xdotool mousemove 720 262
sleep 1
shot_with_popups top_menu
# Save and exit: the name dialog, then the upload dialog while it works.
xdotool mousemove 760 512 click 1
sleep 1.5
xdotool type --delay 50 "demo desktop"
shot_with_popups name_dialog
xdotool key Return
sleep 2.5
shot_with_popups uploading
wait "$editor_pid" 2>/dev/null || true
editor_pid=""
if [ -f "$work/server-root/pcroom/demo/desktop001.gif" ]; then
    echo "Saved: the server holds demo/desktop001.gif"
    convert "$work/server-root/pcroom/demo/desktop001.gif" "$shots/preview.png"
fi

# Presses Return in a message box (the window manager that would focus it is missing).
answer_box() {
    local id
    id=$(xdotool search --onlyvisible --name "$1" | tail -n 1 || true)
    [ -n "$id" ] || { echo "no window \"$1\" to answer"; return 0; }
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    xdotool key Return
    sleep 1
}

# Started while nothing listens: the start-up says the room's files could not be
# brought; the server comes back and the save asks before it replaces the room's
# desktop (Return answers no: the server's files stay as they are).
address=$VERADA_SERVER
kill "$server_pid" 2>/dev/null || true
wait "$server_pid" 2>/dev/null || true
offline=$work/offline-room
rm -rf "$offline"
mkdir -p "$offline/images"
cp -r build/resources/bkicons "$offline/images/bkicons"
layout_before=$(md5sum <"$work/server-root/pcroom/demo/desktop001.xml")
(cd "$offline" && exec "$top/build/src/app/VeradaVodirev" demo 1 0) &
editor_pid=$!
sleep 4
shot_window offline_startup "Verada Vodirev"
answer_box "Verada Vodirev"
build/tools/server/vodirev-server --root "$work/server-root" --port "${address##*:}" \
    >"$work/server-again.out" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
    grep -q '^listening on ' "$work/server-again.out" 2>/dev/null && break
    sleep 0.1
done
sleep 1
xdotool mousemove 700 250 click 3
sleep 2
xdotool mousemove 760 512 click 1
sleep 1.5
xdotool type --delay 50 "offline"
xdotool key Return
sleep 2
shot_window offline_save_question "Verada Vodirev"
answer_box "Verada Vodirev"
wait "$editor_pid" 2>/dev/null || true
editor_pid=""
if [ "$(md5sum <"$work/server-root/pcroom/demo/desktop001.xml")" = "$layout_before" ]; then
    echo "Offline start: the server's desktop001.xml was left as it was"
else
    echo "Offline start: the server's desktop001.xml changed" >&2
fi

# A 1920 x 1080 desktop on a 1366 x 768 screen: the editor shows its frame fitted
# to the screen; a drag, Ctrl+Z; Ctrl+0 shows it at 100 % instead (the wheel scrolls it).
kill "$server_pid" "$xvfb_pid" 2>/dev/null || true
wait "$server_pid" "$xvfb_pid" 2>/dev/null || true
fitted_root=$work/fitted-root
fitted_room=$work/fitted-room
rm -rf "$fitted_root" "$fitted_room"
cp -r build/demo-root "$fitted_root"
sed -i 's/<background name="bg" width="1024" height="768">/<background name="bg" width="1920" height="1080">/' \
    "$fitted_root/pcroom/demo/desktop001.xml"
mkdir -p "$fitted_room/images"
cp -r build/resources/bkicons "$fitted_room/images/bkicons"
start_xvfb 1366x768x24
export DISPLAY=$display
build/tools/server/vodirev-server --root "$fitted_root" --port 0 >"$work/server-fitted.out" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
    grep -q '^listening on ' "$work/server-fitted.out" 2>/dev/null && break
    sleep 0.1
done
export VERADA_SERVER=$(sed -n 's/^listening on //p' "$work/server-fitted.out" | head -n 1)
(cd "$fitted_room" && exec "$top/build/src/app/VeradaVodirev" demo 1 0) &
editor_pid=$!
sleep 5
# The folder "게임" (client 200, 70) hovered: at 768 / 1120 it lies at (137, 48).
xdotool mousemove 150 60
sleep 0.5
xwd -root -silent | convert xwd:- "$shots/fitted.png"
editor_window=$(xdotool search --onlyvisible --name "데스탑 화면 편집 관리자" | head -n 1 || true)
[ -n "$editor_window" ] && xdotool windowfocus --sync "$editor_window" 2>/dev/null || true
# "게임" dragged on the fitted canvas, then Ctrl+Z takes the drag back.
xdotool mousedown 1
sleep 0.3
xdotool mousemove 300 200
sleep 0.2
xdotool mousemove 450 330
sleep 0.3
xdotool mouseup 1
sleep 0.5
xwd -root -silent | convert xwd:- "$shots/fitted_dragged.png"
xdotool key ctrl+z
sleep 0.5
xdotool mousemove 150 60
sleep 0.5
xwd -root -silent | convert xwd:- "$shots/fitted_undone.png"
xdotool key ctrl+0
sleep 1
xwd -root -silent | convert xwd:- "$shots/fitted_actual.png"
# Three notches of the wheel down: the canvas scrolls under the strip, which stays.
xdotool mousemove 600 400 click 5 click 5 click 5
sleep 0.5
xwd -root -silent | convert xwd:- "$shots/fitted_actual_scrolled.png"
kill "$editor_pid" 2>/dev/null || true
wait "$editor_pid" 2>/dev/null || true
editor_pid=""
echo "Screenshots in demo-work/shots"
