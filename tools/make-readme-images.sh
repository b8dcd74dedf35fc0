#!/bin/sh
# Makes the README's pictures of the scene with glimmerbox-render: a still
# and a three-second looping GIF, in docs/readme/. The renderer repeats itself
# exactly, so the same sources give the same files.
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
ls -l "$out"
