# Sourced by the Wine scripts: lv_wine_env DIR sets the Wine environment of
# the build tree holding DIR (its CMakeCache.txt names the architecture) and
# $lv_tree, $lv_wine (the loader to run). The 64-bit tree runs under wine64.
lv_wine_env() {
  lv_tree=$1
  while [ "$lv_tree" != "/" ] && [ ! -f "$lv_tree/CMakeCache.txt" ]; do lv_tree=$(dirname "$lv_tree"); done
  # Started by hand from elsewhere: the win32 build tree.
  [ -f "$lv_tree/CMakeCache.txt" ] || lv_tree="$(dirname "$(dirname "$0")")/build/win32"
  lv_arch=$(sed -n 's/^LV_WINEARCH:[A-Z]*=//p' "$lv_tree/CMakeCache.txt" 2>/dev/null)
  export WINEARCH="${lv_arch:-win32}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ "$WINEARCH" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    lv_wine=$WINELOADER
  else
    lv_wine=wine
  fi
}
