#!/bin/sh
# Makes the Wine prefix given as $1 once; concurrent callers wait for the
# first one to finish.
set -e
prefix=$1
[ -f "$prefix/.lv-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
(
  flock 9
  if [ ! -f "$prefix/.lv-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$prefix/.lv-ready"
  fi
) 9>"$prefix.lock"
