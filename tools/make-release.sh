#!/bin/sh
# Fills dist/ with a release: both Windows installers, the two bare savers in a
# zip for installing by hand, the Linux packages (.deb and RPM), and
# SHA256SUMS. Builds what they need first (nothing is redone when current).
set -eu
cd "$(dirname "$0")/.."
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target glimmerbox_setup >/dev/null
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win64/CMakeCache.txt)
[ -n "$version" ] || { echo "make-release: no project version in build/win64/CMakeCache.txt"; exit 1; }

rm -rf dist
mkdir -p dist/scr/x86 dist/scr/x64
cp "build/win32/glimmerbox-$version-setup-x86.exe" "build/win64/glimmerbox-$version-setup-x64.exe" dist/
cp build/win32/glimmerbox.scr dist/scr/x86/
cp build/win64/glimmerbox.scr dist/scr/x64/
# Same savers, same zip: fixed file times (the commit's), modes and no extra
# fields.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
chmod 644 dist/scr/x86/glimmerbox.scr dist/scr/x64/glimmerbox.scr
touch -d "@$stamp" dist/scr/x86/glimmerbox.scr dist/scr/x64/glimmerbox.scr
(cd dist/scr && TZ=UTC zip -q -X "../glimmerbox-$version-scr.zip" x86/glimmerbox.scr x64/glimmerbox.scr)
rm -r dist/scr

# --- Linux packages (begin) ---
# Made here with the commit's time as SOURCE_DATE_EPOCH (file times, the
# RPM's build time), so that two releases of one commit are the same bytes.
linux_stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
cmake --preset native >/dev/null
cmake --build --preset native --target glimmerbox glimmerbox_package_files >/dev/null
(cd build/native && SOURCE_DATE_EPOCH=$linux_stamp cpack >cpack.log 2>&1) || { cat build/native/cpack.log; exit 1; }
cp "build/native/glimmerbox_${version}_amd64.deb" "build/native/glimmerbox-$version-1.x86_64.rpm" dist/
# --- Linux packages (end) ---
(cd dist && sha256sum -- * >SHA256SUMS)
ls -l dist
