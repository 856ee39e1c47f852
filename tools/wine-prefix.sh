#!/bin/sh
# Makes the Wine prefix given as $1 once (of the architecture of the build
# tree holding it); concurrent callers wait for the first one to finish.
set -e
prefix=$1
[ -f "$prefix/.lv-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
. "$(CDPATH= cd -- "$(dirname -- "$0")" && pwd)/wine-env.sh"
lv_wine_env "$(dirname "$prefix")"
export WINEPREFIX="$prefix"
(
  flock 9
  if [ ! -f "$prefix/.lv-ready" ]; then
    "$lv_wine" wineboot.exe -i >/dev/null 2>&1 || true
    if [ "$LV_I386_EMULATED" = 1 ]; then
      # Under qemu-user a service process of the prefix may never end:
      # give them two minutes, then stop them (the prefix is written).
      timeout 120 "${WINESERVER:-wineserver}" -w || { echo "NOTE: the new Wine prefix's processes did not end: stopped"; "${WINESERVER:-wineserver}" -k || true; }
    else
      "${WINESERVER:-wineserver}" -w || true
    fi
    touch "$prefix/.lv-ready"
  fi
) 9>"$prefix.lock"
