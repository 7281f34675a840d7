#!/usr/bin/env bash
# Regenerates the screenshots in docs/screenshots/ from the real program (build/remedor) on a
# copy of the sample machine, shown on a virtual X display (Xvfb) with a small window manager
# and driven from the keyboard as a user would drive it:
#
#   1-welcome.png  1-welcome-200.png (at 200 % display scale)
#   2-products.png (three editions ticked)  3-confirm.png
#   4-process.png (progress under way)  5-finish.png
#   5-finish-failures.png (two packages failed, the registry refused one key, a restart asked)
#   2-products-deu.png  2-products-jpn.png  2-products-rus.png (the program alone in a folder with that translation)
#
# Each picture is the wizard's window with its frame, cut out of the screen. The sample file in
# the repository is never changed. Installs what it needs with apt-get (as root or via sudo).
# Usage: scripts/take-screenshots.sh        Environment: BUILD_DIR (default: build)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/scripts/xvfb.sh"
build=${BUILD_DIR:-$repo/build}
out=$repo/docs/screenshots
delay_ms=400 # the stand-in installer's time per package

"$repo/scripts/install-deps.sh"
"$repo/scripts/install-deps.sh" xvfb openbox xdotool x11-utils python3 python3-pil \
    fonts-dejavu-core fonts-noto-cjk

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target remedor fake_msiexec remedor_lrelease | tail -n 1
for language in deu jpn rus; do
    [ -f "$build/translations/remedor_$language.qm" ] || {
        echo "no $build/translations/remedor_$language.qm" >&2
        exit 1
    }
done

work=$(mktemp -d)
pids=() # every process started here, ended in reverse order
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    chattr -R -i "$work" 2>/dev/null || true # the failure run locks its registry's folder
    rm -rf "$work"
}
trap cleanup EXIT

# --- display and window manager ----------------------------------------------------------
start_xvfb "$work" 1600x1200x24 || exit 1 # room for the wizard at 200 %
pids+=("$XVFB_PID")
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xdotool mousemove 0 0

# --- the program -------------------------------------------------------------------------
app_pid=""
window=""

# Starts the program found in folder $1 on a fresh copy of the sample machine, named $2, with
# the stand-in installer's knobs in the array installer_env and Qt's in display_env.
installer_env=()
display_env=()
launch() {
    local folder=$1 name=$2
    mkdir -p "$work/$name"
    cp "$repo/scripts/sample-machine.reg" "$work/$name/registry.reg"
    env "${installer_env[@]}" "${display_env[@]}" REMEDOR_REGISTRY="$work/$name/registry.reg" \
        REMEDOR_FAKE_MSIEXEC_LOG="$work/$name/msiexec.log" \
        REMEDOR_FAKE_MSIEXEC_DELAY_MS=$delay_ms \
        PATH="$build/tests/fake-msiexec:$PATH" \
        QT_QPA_PLATFORM=xcb LANG=C.UTF-8 XDG_RUNTIME_DIR="$work" \
        "$folder/remedor" >"$work/$name/program.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app_pid" | head -1) || {
        echo "the wizard's window did not appear" >&2
        cat "$work/$name/program.log" >&2
        exit 1
    }
    xdotool windowactivate --sync "$window"
    settle
}

quit() {
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
}

settle() { sleep 0.7; }

keys() {
    xdotool key --delay 60 "$@"
    settle
}

# The window with its frame, from the screen, into docs/screenshots/$1.png.
shot() {
    local info x y width height extents left right top bottom
    info=$(xwininfo -id "$window")
    x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    width=$(sed -n 's/^ *Width: *//p' <<<"$info")
    height=$(sed -n 's/^ *Height: *//p' <<<"$info")
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
    /usr/bin/python3 - "$out/$1.png" "$((x - left))" "$((y - top))" \
        "$((x + width + right))" "$((y + height + bottom))" <<'EOF'
import os
import sys
from PIL import ImageGrab
name, box = sys.argv[1], tuple(int(v) for v in sys.argv[2:6])
ImageGrab.grab(bbox=box, xdisplay=os.environ["DISPLAY"]).save(name, optimize=True)
EOF
    echo "  $1.png ($((width + left + right))x$((height + top + bottom)))"
}

# Ticks DEU, ENU and JPN: the page gives the first box (CHS) the focus, and Tab walks the
# boxes row by row.
tick_three() {
    keys Tab Tab Tab space Tab space Tab Tab Tab Tab Tab space
}

# Waits until the stand-in installer has been started $2 times for the run named $1.
wait_for_installer_runs() {
    local log=$work/$1/msiexec.log i
    for ((i = 0; i < 300; i++)); do
        [ -f "$log" ] && [ "$(wc -l <"$log")" -ge "$2" ] && return 0
        sleep 0.1
    done
    echo "the installer was not started $2 times" >&2
    exit 1
}

mkdir -p "$out"
echo "Screenshots in $out:"

# English: the five pages.
launch "$build" en
shot 1-welcome
keys Return
tick_three
shot 2-products
keys alt+n
shot 3-confirm
keys alt+n
# DEU, ENU, JPN and, as German is the bootstrapper's language, the suite: four packages.
wait_for_installer_runs en 4
sleep "$(awk -v ms=$delay_ms 'BEGIN { print ms / 1000 + 1.2 }')"
shot 4-process
sleep 6 # the bar counts up to 100 and the wizard moves on by itself
shot 5-finish
quit

# The Welcome page at 200 %, as on a laptop that Windows scales so: Qt scales the layout and
# draws the images from their @2x renderings.
display_env=(QT_SCALE_FACTOR=2)
launch "$build" scaled
shot 1-welcome-200
quit
display_env=()

# A run that goes wrong: DEU's installer crashes, JPN's fails with 1603 (the stand-in's POSIX
# exit status keeps its low byte, 67), and the suite's asks for a restart, after which the
# registry refuses every change, so that the bootstrapper's entry cannot be removed.
suite='{6B41C7D2-B002-0000-B002-7E93A0C5D814}'
installer_env=(
    "REMEDOR_FAKE_MSIEXEC_RESULTS={6B41C7D2-B002-1031-B102-7E93A0C5D814}=crash,{6B41C7D2-B002-1041-B102-7E93A0C5D814}=1603,$suite=+3010"
    "REMEDOR_FAKE_MSIEXEC_LOCK_AFTER=$suite"
)
launch "$build" failures
keys Return
tick_three
keys alt+n alt+n
wait_for_installer_runs failures 4
sleep "$(awk -v ms=$delay_ms 'BEGIN { print ms / 1000 + 8 }')"
shot 5-finish-failures
quit
chattr -i "$work/failures"
installer_env=()

# The Products page in other languages: the program alone with one translation beside it.
for language in deu jpn rus; do
    folder=$work/program-$language
    mkdir -p "$folder"
    cp "$build/remedor" "$build/translations/remedor_$language.qm" "$folder/"
    launch "$folder" "$language"
    keys Return
    tick_three
    shot "2-products-$language"
    quit
done
