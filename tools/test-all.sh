#!/bin/sh
# Installs what is missing, builds both builds and runs every test: the
# native tests (with sanitizers), the Win32 tests under Wine in a private X
# server, and the benchmarks once each.
set -e
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build-all.sh native win32 bench
status=0
echo "== native tests"
ctest --preset native || status=1
echo "== win32 tests (Wine, Xvfb)"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset win32 || status=1
WINEPREFIX="$PWD/build/win32/wineprefix" wineserver -k 2>/dev/null || true
echo "== benchmarks"
ctest --preset bench || status=1
exit $status
