# Shared by the screenshot scripts: a virtual display, the reference server on a
# copy of the demo room, and captures. Source it after setting top, work and shots;
# it prepares $work/room and $work/server-root and exports DISPLAY and VERADA_SERVER.
# server_delay (milliseconds), when set, makes the server answer every request that late.
rm -rf "$work/room" "$work/server-root" "$shots"
mkdir -p "$work/room/images" "$shots"
cp -r build/demo-root "$work/server-root"
cp -r build/resources/bkicons "$work/room/images/bkicons"

. scripts/xvfb.sh
start_xvfb 1280x900x24
build/tools/server/vodirev-server --root "$work/server-root" --port 0 ${server_delay:+--delay "$server_delay"} \
    >"$work/server.out" 2>&1 &
server_pid=$!
finish() {
    # The editor ends by the signal: its status is not the script's.
    if [ -n "${editor_pid:-}" ]; then
        kill "$editor_pid" 2>/dev/null && wait "$editor_pid" 2>/dev/null || true
    fi
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

