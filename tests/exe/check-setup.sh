#!/bin/sh
# Checks a built installer as a file: its PE format, its version, DPI
# awareness, the program's icon, and that it carries this build's saver.
# Usage: check-setup.sh OBJDUMP SETUP SAVER ICON PE32|PE32+ VERSION
set -u
objdump=$1 setup=$2 saver=$3 icon=$4 format=$5 version=$6
fail() { echo "check-setup: $setup: $*"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

[ -f "$setup" ] || fail "missing"
"$objdump" -p "$setup" | grep -q "^Magic.*($format)\$" || fail "not $format"

product_version=$(wrestool -x --raw --type=16 "$setup" | strings -el -n 2 | grep -A1 -x ProductVersion | sed -n 2p)
[ "$product_version" = "$version" ] || fail "ProductVersion is [$product_version], expected [$version]"

# Sharp text on scaled displays: the manifest declares it DPI-aware.
wrestool -x --raw --type=24 "$setup" | grep -q '<dpiAware[^>]*>true' || fail "its manifest does not declare dpiAware true"

# The icon's images, compared as pictures: the group's layout may differ.
mkdir "$tmp/setup" "$tmp/program"
wrestool -x --type=14 "$setup" >"$tmp/setup/icon.ico" && cp "$icon" "$tmp/program/icon.ico" || fail "no icon group"
for side in setup program; do
    icotool -x -o "$tmp/$side" "$tmp/$side/icon.ico" && rm "$tmp/$side/icon.ico" || fail "cannot read the $side icon"
done
diff -r "$tmp/setup" "$tmp/program" >/dev/null || fail "its icon is not $icon"

# 7-Zip reads NSIS archives; one of the packed files must be the saver.
7z e -y -o"$tmp/packed" "$setup" >/dev/null || fail "7z cannot unpack it"
found=
for packed in "$tmp/packed"/*; do
    cmp -s "$packed" "$saver" && found=$packed
done
[ -n "$found" ] || fail "carries no copy of $saver"
echo "$setup: $format, version $version, the program's icon, carries $saver"
