#!/bin/sh
# The web page in Debian's headless chromium: frames asked for by time are
# glimmerbox-render's but for a few edge pixels (a portrait window shows the
# landscape frame of its width in the middle; that one is opened from disk, as
# from the release's zip), the live page draws frames in real time, and
# without WebGL the page says so.
# Usage: page_test.sh WEB_DIR RENDER_TOOL
set -u
web=$1 render=$2
[ -f "$web/index.js" ] || { echo "FAIL: no $web/index.js: build the web preset first"; exit 1; }
scratch=$(mktemp -d) || exit 1
pids=
trap 'kill $pids 2>/dev/null; rm -rf "$scratch"' EXIT
# dash runs the EXIT trap on a signal only through a trap of that signal.
trap 'exit 130' INT
trap 'exit 143' TERM
status=0
fail() { echo "FAIL: $*"; status=1; }
# poll SECONDS COMMAND...: runs COMMAND until it succeeds, false past the deadline.
poll() {
    deadline=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt $deadline ] || return 1
        sleep 0.2
    done
}
# browse PROFILE ARGUMENTS...: chromium with a new profile and no network of its own, for two minutes at most;
# its temporary folders (a singleton socket's, left behind) go into the scratch folder.
browse() {
    profile=$scratch/$1
    shift
    export TMPDIR="$scratch"
    exec timeout 120 chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader \
        --disable-background-networking --disable-component-update --disable-sync --no-first-run \
        --user-data-dir="$profile" "$@" 2>>"$scratch/chromium.log"
}
# Pixels more than 8 levels apart; the same frame differs at a dozen or so edge pixels.
differing() { compare -metric AE -fuzz 3.2% "$1" "$2" null: 2>&1; }

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$web" >"$scratch/server.log" 2>&1 &
pids=$!
served() { port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$scratch/server.log") && [ -n "$port" ]; }
poll 30 served || { echo "FAIL: no web server: $(cat "$scratch/server.log")"; exit 1; }
page=http://127.0.0.1:$port/index.html

for case in 800x600:500 800x600:10000 450x800:2000; do
    size=${case%:*} at=${case#*:}
    width=${size%x*} height=${size#*x}
    shot=$scratch/page-$size-$at.png url=$page
    [ "$width" -lt "$height" ] && url=file://$(realpath "$web")/index.html
    (browse "shot-$case" --window-size="$width,$height" --virtual-time-budget=3000 --screenshot="$shot" \
        "$url?at=$at&seed=1") || fail "chromium for $case: exit $?"
    "$render" --at "$at" --seed 1 --size "${width}x$((height < width ? height : width))" --out "$scratch" ||
        fail "render $case"
    frame=$scratch/frame-$(printf %06d "$at").png
    convert "$frame" -gravity center -background black -extent "$size" "$frame"
    count=$(differing "$shot" "$frame")
    echo "$case: $count pixels differ"
    [ "$count" -le 40 ] 2>/dev/null || fail "$case: the page is not the renderer's frame ($count)"
done

# Live, in real time: the title gives the frame rate once a second.
browse live --window-size=800,600 --remote-debugging-port=0 "$page" &
pids="$pids $!"
debugging() { devtools=$(head -1 "$scratch/live/DevToolsActivePort" 2>/dev/null) && [ -n "$devtools" ]; }
titled() {
    title=$(python3 -c 'import json, sys, urllib.request
print(*(p["title"] for p in json.load(urllib.request.urlopen(sys.argv[1])) if p["type"] == "page"))' \
        "http://127.0.0.1:$devtools/json" 2>/dev/null) &&
        echo "$title" | grep -Eq '^Glimmerbox v 1\.0 +\[[1-9][0-9]* FPS\]$'
}
if poll 30 debugging && poll 30 titled; then echo "live: $title"; else fail "live page titled \"${title:-}\""; fi

# No WebGL: a message in place of the canvas.
(browse nogl --disable-3d-apis --virtual-time-budget=3000 --dump-dom "$page") >"$scratch/dom.html"
grep -q "<p id=\"message\">[^<]*WebGL" "$scratch/dom.html" || fail "no message without WebGL"
# A frame too late to draw in reasonable time: the message, at once.
(browse late --virtual-time-budget=3000 --dump-dom "$page?at=600001") >"$scratch/late.html"
grep -q '<p id="message">In the address' "$scratch/late.html" || fail "no message for a frame past ten minutes"
[ $status -eq 0 ] || tail -20 "$scratch/chromium.log"
exit $status
