#!/bin/sh
# Runs of the built glimmerbox-render: what it writes (pixels measured with
# ImageMagick), that it repeats itself exactly, and that bad arguments and
# file problems leave nothing partial.
# Usage: render_tool_test.sh TOOL
set -u
tool=$1
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }
# render DIR ARGUMENTS...: a run into DIR, made if missing; the tool's exit code.
render() {
    dir=$1
    shift
    mkdir -p "$dir"
    "$tool" "$@" --out "$dir" >stdout 2>stderr
}
# The names in a directory on one line.
names() { ls "$1" | paste -sd' ' -; }
# measure FILE CROP PER-PIXEL RESULT: an fx RESULT over the PER-PIXEL values.
measure() { convert "$1" -crop "$2" -fx "$3" -format "%[fx:$4]" info:; }
two="frame-000100.png frame-002000.png"

for dir in a b; do render $dir --seed 7 --size 64x48 --at 2000,100 || fail "seed 7: $(cat stderr)"; done
render c --seed 8 --size 64x48 --at 2000,100 || fail "seed 8: $(cat stderr)"
for dir in a b c; do [ "$(names $dir)" = "$two" ] || fail "$dir holds $(names $dir)"; done
for name in $two; do
    cmp -s "a/$name" "b/$name" || fail "the same arguments gave other bytes in $name"
    cmp -s "a/$name" "c/$name" && fail "another seed gave the same $name"
done

# Two seconds in: black corners; around the centre, lit and coloured pixels.
[ "$(identify -format %wx%h a/frame-002000.png)" = 64x48 ] || fail "not 64x48"
for corner in 4x4+0+0 4x4+60+0 4x4+0+44 4x4+60+44; do
    [ "$(measure a/frame-002000.png $corner 'r+g+b>0' maxima)" = 0 ] || fail "lit corner $corner"
done
[ "$(measure a/frame-002000.png 8x8+28+20 'r+g+b>0' minima)" = 1 ] || fail "a dark pixel at the centre"
[ "$(measure a/frame-002000.png 8x8+28+20 'r!=g||g!=b' 'round(mean*w*h)')" -gt 32 ] || fail "a grey centre"

# One frame every 10 ms: 1000 and 1009 show the frame of 1000, 1010 the next;
# times out of order and an extra time 0 change nothing.
render all --size 48x32 --frame-ms 10 --at 1010,1000,0,1009 || fail "--at 1010,1000,0,1009: $(cat stderr)"
render one --size 48x32 --frame-ms 10 --at 1009 || fail "--at 1009: $(cat stderr)"
cmp -s all/frame-001000.png all/frame-001009.png || fail "1000 and 1009 differ"
cmp -s one/frame-001009.png all/frame-001009.png || fail "1009 alone differs"
cmp -s all/frame-001010.png all/frame-001009.png && fail "1010 shows the frame of 1000"

# 60 ms frames: 0 and 59 come before any frame and show the black texture
# InitScene uploads; at 60 the clock is at 30 ms, past the 25 ms refresh.
render early --size 32x24 --frame-ms 60 --at 0,59,60 || fail "--frame-ms 60: $(cat stderr)"
for time in 000000 000059; do
    [ "$(measure early/frame-$time.png 100% 'r+g+b' maxima)" = 0 ] || fail "frame $time is not black"
done
[ "$(measure early/frame-000060.png 100% 'r+g+b' maxima)" != 0 ] || fail "frame 60 is black"

for case in "--bogus --at 1:--bogus" "--at 5,5:--at"; do
    # shellcheck disable=SC2086
    render bad ${case%:*}
    [ $? -eq 2 ] || fail "${case%:*}: not exit 2"
    [ "$(grep -c "^glimmerbox-render: ${case#*:}: " stderr)" = 1 ] && [ "$(wc -l <stderr)" = 1 ] ||
        fail "${case%:*}: stderr is $(cat stderr)"
    [ ! -s stdout ] && [ -z "$(ls bad)" ] || fail "${case%:*} wrote something"
done

# A missing output directory is not made; a directory in the way of the
# second file leaves the first complete and no temporary.
"$tool" --size 16x16 --at 1 --out missing 2>stderr
[ $? -eq 1 ] && grep -q "^glimmerbox-render: --out: " stderr && [ ! -e missing ] || fail "missing directory"
mkdir -p blocked/frame-000200.png
render blocked --size 16x16 --at 100,200
[ $? -eq 1 ] && grep -q frame-000200.png stderr || fail "blocked: $(cat stderr)"
[ "$(names blocked)" = "frame-000100.png frame-000200.png" ] || fail "blocked holds $(names blocked)"
[ "$(identify -format %w blocked/frame-000100.png)" = 16 ] || fail "the first file is not complete"

"$tool" --help >stdout 2>stderr || fail "--help: not exit 0"
grep -q "^Usage: glimmerbox-render" stdout && [ ! -s stderr ] || fail "--help printed $(cat stdout stderr)"
exit $status
