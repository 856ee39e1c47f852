#!/bin/sh
# Fails, naming each file, when a C or C++ file of the tree does not follow
# .clang-format. With --fix, formats them in place instead.
set -e
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }
files=$(git ls-files '*.cpp' '*.h' '*.c')
if [ "${1:-}" = --fix ]; then
  echo "$files" | xargs clang-format -i
  exit 0
fi
bad=""
for f in $files; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad="$bad $f"
done
if [ -n "$bad" ]; then
  echo "Not in the house style (tools/check-format.sh --fix formats them):"
  for f in $bad; do echo "  $f"; done
  exit 1
fi
echo "All $(echo "$files" | wc -l) C and C++ files follow .clang-format."
