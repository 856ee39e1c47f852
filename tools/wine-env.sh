# Sourced by the Wine scripts: lv_wine_env DIR [OTHER-DIR] sets the Wine
# environment of the build tree holding DIR (else OTHER-DIR, else the win32
# tree), whose CMakeCache.txt names the architecture, and $lv_tree and
# $lv_wine (the loader to run). The 64-bit tree runs under wine64.
lv_find_tree() {
  lv_d=$(CDPATH= cd -- "$1" 2>/dev/null && pwd) || return 1
  while [ "$lv_d" != "/" ] && [ ! -f "$lv_d/CMakeCache.txt" ]; do lv_d=$(dirname "$lv_d"); done
  [ -f "$lv_d/CMakeCache.txt" ] && lv_tree=$lv_d
}
lv_wine_env() {
  lv_find_tree "$1" || { [ -n "$2" ] && lv_find_tree "$2"; } ||
    lv_tree="$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)/build/win32"
  lv_arch=$(sed -n 's/^LV_WINEARCH:[A-Z]*=//p' "$lv_tree/CMakeCache.txt" 2>/dev/null)
  export WINEARCH="${lv_arch:-win32}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Under qemu-user (tools/i386-emulated.sh) a debugger cannot attach: a
  # crashed process that starts winedbg waits for it for ever, and with
  # it the prefix's server. There such a process just ends.
  [ "$LV_I386_EMULATED" = 1 ] && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
  if [ "$WINEARCH" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    lv_wine=$WINELOADER
  else
    lv_wine=wine
  fi
}
