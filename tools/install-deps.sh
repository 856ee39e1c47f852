#!/bin/sh
# Installs the Debian packages the builds and tests need, when missing.
set -e
pkgs="cmake ninja-build g++ make libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  wine wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  xvfb xauth x11-apps xdotool imagemagick libtiff-tools ghostscript"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
