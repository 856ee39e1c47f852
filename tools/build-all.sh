#!/bin/sh
# Configures and builds the given presets (default: native, win32, bench).
set -e
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 4)
for preset in ${*:-native win32 bench}; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
