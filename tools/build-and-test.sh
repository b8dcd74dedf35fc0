#!/bin/sh
# Builds the native tools and tests, the X11 program and its Linux packages,
# both Windows savers and installers, and the web page, then runs every test: native
# (portable code, scene on Mesa, Windows code on the stand-in, the X11 program
# and its package under the xscreensaver and MATE daemons, the Wayland program
# on headless sway, the web page in headless chromium), the 32-bit file
# checks, the 64-bit saver and installer under wine64, and a second release
# that must be byte-identical to the one left in dist/.
set -eu
cd "$(dirname "$0")/.."
for preset in win32 win64 web native; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
cmake --build --preset native --target package
status=0
for preset in native win32 win64; do
    ctest --preset "$preset" || status=1
done
# A second release elsewhere must give the same bytes; this one stays in dist/.
tools/check-reproducible.sh || status=1
exit $status
