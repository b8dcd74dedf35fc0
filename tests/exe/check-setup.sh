#!/bin/sh
# Checks a built installer as a file: its PE format, its version, DPI
# awareness, the saver's icon, and that it carries this build's saver.
# Usage: check-setup.sh OBJDUMP SETUP SAVER PE32|PE32+ VERSION
set -u
objdump=$1 setup=$2 saver=$3 format=$4 version=$5
fail() { echo "check-setup: $setup: $*"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

[ -f "$setup" ] || fail "missing"
"$objdump" -p "$setup" | grep -q "^Magic.*($format)\$" || fail "not $format"

product_version=$(wrestool -x --raw --type=16 "$setup" | strings -el -n 2 | grep -A1 -x ProductVersion | sed -n 2p)
[ "$product_version" = "$version" ] || fail "ProductVersion is [$product_version], expected [$version]"

# Sharp text on scaled displays: the manifest declares it DPI-aware.
wrestool -x --raw --type=24 "$setup" | grep -q '<dpiAware[^>]*>true' || fail "its manifest does not declare dpiAware true"

# The icon's images against the built saver's, compared as pictures: the
# group's layout may differ.
for file in "$setup" "$saver"; do
    icons=$tmp/${file##*/}
    mkdir "$icons"
    wrestool -x --type=14 "$file" >"$icons/icon.ico" && icotool -x -o "$icons" "$icons/icon.ico" && rm "$icons/icon.ico" ||
        fail "cannot read the icon of $file"
done
diff -r "$tmp/${setup##*/}" "$tmp/${saver##*/}" >/dev/null || fail "its icon is not that of $saver"

# 7-Zip reads NSIS archives; one of the packed files must be the saver.
7z e -y -o"$tmp/packed" "$setup" >/dev/null || fail "7z cannot unpack it"
found=
for packed in "$tmp/packed"/*; do
    cmp -s "$packed" "$saver" && found=$packed
done
[ -n "$found" ] || fail "carries no copy of $saver"
echo "$setup: $format, version $version, the saver's icon, carries $saver"
