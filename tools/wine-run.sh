#!/bin/sh
# Runs a Windows program under Wine with a private 32-bit prefix kept in the
# build tree (made on first use), so tests never touch the user's own Wine.
# Usage: wine-run.sh program.exe [arguments...]
set -e
here=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)
: "${LV_WINE_ROOT:=$(pwd)}"
# CTest runs tests in their build folder; keep one prefix per build tree.
dir=$LV_WINE_ROOT
while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
# Started by hand from elsewhere: use the win32 build tree.
[ -f "$dir/CMakeCache.txt" ] || dir="$here/../build/win32"
export WINEPREFIX="${LV_WINEPREFIX:-$dir/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$dir/winehome"
mkdir -p "$HOME"
"$here/wine-prefix.sh" "$WINEPREFIX"
# The prefix's server outlives this program: start it detached from our
# output, or whoever reads that output waits for every program of the
# prefix to end.
wineserver </dev/null >/dev/null 2>&1 || true
exec wine "$@"
