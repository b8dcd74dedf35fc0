#!/bin/sh
# Installs everything Glimmerbox needs to build, run and test on Debian 12.
set -eu
packages="cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev
  libosmesa6-dev libglu1-mesa-dev libpng-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  wine wine64 xvfb xserver-xephyr xdotool x11-utils imagemagick icoutils pngquant
  clang-14 libclang-rt-14-dev python3-pefile nsis p7zip-full zip
  libgl-dev libx11-dev dpkg-dev file lintian desktop-file-utils libxml2-utils
  xscreensaver xscreensaver-gl procps mesa-utils tk
  mate-screensaver dbus-daemon libglib2.0-bin rpm rpmlint dpkg-repack
  osslsigncode openssl python3-yaml
  emscripten chromium
  libwayland-dev libegl-dev libxkbcommon-dev wayland-protocols librust-wayland-protocols-dev
  sway swayidle grim wtype weston python3-xlib"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $packages
