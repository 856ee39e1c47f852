#!/bin/sh
# Installs what is missing, builds, and opens the sample world in lumaview.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
tree=build/win32
if tools/runs-i386.sh; then
  tools/build-all.sh native win32
else
  echo "This machine cannot run 32-bit x86 programs: opening the win64 build of lumaview."
  tools/build-all.sh native win32 win64
  tree=build/win64
fi
exe=$tree/viewer/lumaview.exe
if [ -z "$DISPLAY" ]; then
  echo "No X display (DISPLAY is empty): starting lumaview in a private X server."
  LV_WINE_ROOT="$PWD/$tree" exec xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh "$exe" examples/sample.wrl
fi
LV_WINE_ROOT="$PWD/$tree" exec tools/wine-run.sh "$exe" examples/sample.wrl
