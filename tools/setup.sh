#!/bin/sh
# Installs what is missing, builds, and opens the sample world in lumaview.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build-all.sh native win32
exe=build/win32/viewer/lumaview.exe
if [ ! -f "$exe" ]; then
  echo "Built the libraries and tests; the viewer (lumaview.exe) is not built yet."
  exit 0
fi
if [ -z "$DISPLAY" ]; then
  echo "No X display (DISPLAY is empty): starting lumaview in a private X server."
  LV_WINE_ROOT="$PWD/build/win32" exec xvfb-run -a -s "-screen 0 1280x1024x24" tools/wine-run.sh "$exe" examples/sample.wrl
fi
LV_WINE_ROOT="$PWD/build/win32" exec tools/wine-run.sh "$exe" examples/sample.wrl
