#!/bin/sh
# Builds both savers and both installers a second time, from a copy of the
# sources in another folder, and compares their SHA-256 with the first build
# in build/win32 and build/win64. Run it after building those presets. Then
# makes a release in each folder and compares the two SHA256SUMS.
set -eu
cd "$(dirname "$0")/.."
copy=build/reproduce/glimmerbox
rm -rf build/reproduce
mkdir -p "$copy"
# The working tree's own files, committed or not, without build output.
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$copy"
status=0
for preset in win32 win64; do
    (cd "$copy" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target glimmerbox_setup >/dev/null)
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "build/$preset/CMakeCache.txt")
    for first in build/$preset/glimmerbox.scr build/$preset/glimmerbox-"$version"-setup-*.exe; do
        second=$copy/$first
        sum1=$(sha256sum <"$first") sum2=$(sha256sum <"$second")
        if [ "$sum1" = "$sum2" ]; then
            echo "reproducible: $first ${sum1%% *}"
        else
            echo "FAIL: $first differs between two builds: ${sum1%% *} and ${sum2%% *} ($second)"
            status=1
        fi
    done
done
# --- Linux packages and the release (begin) ---
# A release from each folder with one SOURCE_DATE_EPOCH: the same SHA256SUMS,
# the Linux packages' included.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 0)
for tree in . "$copy"; do
    (cd "$tree" && SOURCE_DATE_EPOCH=$stamp tools/make-release.sh >/dev/null) || status=1
done
if cmp -s dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
    echo "reproducible: the release's SHA256SUMS"
    sed 's/^/    /' dist/SHA256SUMS
else
    echo "FAIL: two releases differ:"
    diff dist/SHA256SUMS "$copy/dist/SHA256SUMS"
    status=1
fi
# --- Linux packages and the release (end) ---
[ $status -ne 0 ] || rm -rf build/reproduce
exit $status
