# Sourced by the scripts that need an X display: start_xvfb FOLDER [SCREEN] starts Xvfb on a
# free display, waits until it is up, exports DISPLAY and leaves its process id in XVFB_PID.
# Its log goes to FOLDER/xvfb.log. The caller ends it.
start_xvfb() {
    local folder=$1 screen=${2:-1280x1024x24} i
    rm -f "$folder/display"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
        [ -s "$folder/display" ] && break
        sleep 0.1
    done
    if [ ! -s "$folder/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$folder/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$folder/display")"
}
