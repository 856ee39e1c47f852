#!/bin/sh
# Installs the Debian packages the builds and tests need, when missing.
set -e
cd "$(dirname "$0")/.."
pkgs="cmake ninja-build g++ make libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  wine wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  xvfb xauth x11-apps xdotool imagemagick libtiff-tools ghostscript
  view3dscene clang-format"
# Where the kernel cannot run wine32, the Windows tests run on a 64-bit
# build of the same sources under wine64, and the win32 build's through
# qemu-user (the preloader starts a 32-bit Wine process in half a second
# there, not a minute).
pkgs64="wine64 g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  libgl1 libglx-mesa0 libgl1-mesa-dri qemu-user-static wine32-preloader:i386"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
updated=""
install_missing() {
  missing=""
  for p in $*; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  [ -n "$updated" ] || $sudo apt-get update -qq
  updated=yes
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}
install_missing $pkgs
tools/runs-i386.sh || install_missing $pkgs64
# Trying the qemu-user run on a machine that runs 32-bit code. Its 64-bit
# wineserver is unpacked into build/wine64/ rather than installed: with
# wine64 installed, every wine32 program here would use that server.
if [ "${LV_FORCE_EMULATED_I386:-}" = 1 ]; then
  install_missing qemu-user-static wine32-preloader:i386
  if [ ! -x /usr/lib/wine/wineserver64 ] && [ ! -x build/wine64/usr/lib/wine/wineserver64 ]; then
    mkdir -p build/wine64
    (cd build/wine64 && apt-get download -q "wine64=$(dpkg-query -W -f='${Version}' wine32:i386)" &&
      dpkg-deb -x wine64_*.deb .) || echo "NOTE: no 64-bit wineserver for the qemu-user run"
  fi
fi
