#!/bin/sh
# Makes the README's pictures of the scene with glimmerbox-render: a still
# and a three-second looping GIF, in docs/readme/. The renderer repeats itself
# exactly, so the same sources give the same files. Then a picture of the web
# page in headless chromium, as one who asks for reduced motion sees it.
set -eu
cd "$(dirname "$0")/.."
out=docs/readme
render=build/native/tools/render/glimmerbox-render
cmake --preset native >/dev/null
cmake --build --preset native --target glimmerbox-render >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/still" "$work/loop"

# Eight seconds in, three faces show.
"$render" --at 8000 --size 800x450 --out "$work/still"
cp "$work/still/frame-008000.png" "$out/glimmerbox-still.png"

# From there three seconds at 20 frames a second. One palette, taken from every
# fourth frame, keeps the colours steady from frame to frame.
"$render" --at "$(seq -s, 8000 50 10950)" --size 256x256 --out "$work/loop"
convert $(ls "$work"/loop/frame-*.png | awk 'NR % 4 == 1') +append -colors 256 -unique-colors "$work/palette.png"
convert -delay 5 -loop 0 "$work"/loop/frame-*.png -remap "$work/palette.png" -layers Optimize "$out/glimmerbox-loop.gif"

cmake --preset web >/dev/null
cmake --build --preset web >/dev/null
TMPDIR="$work" chromium --headless --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --user-data-dir="$work/profile" --window-size=800,450 \
    --force-prefers-reduced-motion --virtual-time-budget=3000 --screenshot="$work/page.png" \
    "file://$PWD/build/web/index.html?seed=1" 2>/dev/null
pngquant --force --output "$out/glimmerbox-web.png" "$work/page.png"
ls -l "$out"
