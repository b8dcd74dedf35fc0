#!/bin/sh
# Builds the 64-bit saver and starts it full screen under Wine: on your X
# display when there is one (press a key to end it), otherwise on a private
# Xvfb for a few seconds, saving a screenshot.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
cmake --preset win64 >/dev/null
cmake --build --preset win64
saver="$root/build/win64/glimmerbox.scr"
run_dir="$root/build/run"
mkdir -p "$run_dir"

wine=/usr/lib/wine/wine64
export WINEPREFIX="$run_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
    WINEPREFIX="$run_dir/wineprefix" wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display itself and writes its number once it listens.
    : >"$run_dir/display"
    Xvfb -screen 0 1024x768x24 -displayfd 3 -nolisten tcp 3>"$run_dir/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    deadline=$(($(date +%s) + 30))
    until [ -s "$run_dir/display" ] && xdpyinfo -display ":$(cat "$run_dir/display")" >/dev/null 2>&1; do
        [ "$(date +%s)" -lt $deadline ] && kill -0 "$xvfb_pid" 2>/dev/null ||
            { echo "run-saver: Xvfb did not start"; exit 1; }
        sleep 0.1
    done
    export DISPLAY=":$(cat "$run_dir/display")"
    private=yes
else
    private=no
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Setting up a Wine prefix in $WINEPREFIX (once, about 15 s)..."
    "$wine" wineboot -i >/dev/null 2>&1
fi

if [ "$private" = no ]; then
    echo "Starting the saver on $DISPLAY; press any key to end it."
    "$wine" "$saver" /s
    echo "The saver ended with exit code $?."
    exit 0
fi

# Without a window manager, a window close waits for X unless Wine manages
# none of its windows.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine" "$saver" /s >/dev/null 2>&1 &
saver_pid=$!
# Wine's first start in a prefix is slow on a busy machine: wait for the
# window, then let it run.
deadline=$(($(date +%s) + 60))
until xdotool search --name 'Glimmerbox v' >/dev/null 2>&1; do
    [ "$(date +%s)" -lt $deadline ] && kill -0 "$saver_pid" 2>/dev/null ||
        { echo "run-saver: the saver's window did not appear"; exit 1; }
    sleep 0.1
done
sleep 5
shot="$run_dir/screenshot.png"
import -window root "$shot"
title=""
for window in $(xdotool search --name 'Glimmerbox v' 2>/dev/null); do
    title=$(xdotool getwindowname "$window")
done
xdotool key space
code=0
wait "$saver_pid" || code=$?
echo "The saver ran on a private X display for 5 s after its window appeared; its title read \"$title\"."
echo "Screenshot: $shot"
echo "It ended on a key press with exit code $code."
