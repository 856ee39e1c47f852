#!/bin/sh
# Runs a Windows program under Wine with a private prefix kept in the build
# tree (made on first use), so tests never touch the user's own Wine.
# Usage: wine-run.sh program.exe [arguments...]
set -e
here=$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)
. "$here/wine-env.sh"
# CTest runs tests in their build folder; keep one prefix per build tree.
# Started by hand elsewhere: the tree that holds the program.
lv_wine_env "${LV_WINE_ROOT:-$(pwd)}" "$(dirname -- "${1:-.}")"
export WINEPREFIX="${LV_WINEPREFIX:-$lv_tree/wineprefix}"
export HOME="$lv_tree/winehome"
mkdir -p "$HOME"
"$here/wine-prefix.sh" "$WINEPREFIX"
# The prefix's server outlives this program: start it detached from our
# output, or whoever reads that output waits for every program of the
# prefix to end.
"${WINESERVER:-wineserver}" </dev/null >/dev/null 2>&1 || true
exec "$lv_wine" "$@"
