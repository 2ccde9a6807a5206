# Sourced by the scripts that need a virtual X display.
# start_xvfb WIDTHxHEIGHTxDEPTH: starts Xvfb on a display it finds free itself
# (-displayfd) and sets xvfb_pid and display (":N") once it accepts connections.
start_xvfb() {
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$number_file" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    display=:$(head -n 1 "$number_file" | tr -d '[:space:]')
    rm -f "$number_file"
    if [ "$display" = ":" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        echo "$(basename "$0"): Xvfb did not start" >&2
        return 1
    fi
}
