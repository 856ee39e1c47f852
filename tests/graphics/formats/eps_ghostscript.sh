#!/bin/sh
# Writes an EPS page with the probe, has Ghostscript read and render it, and
# checks the colours of known pixels (1 point = 1 pixel at 72 dpi).
# usage: eps_ghostscript.sh probe workdir
set -u
probe=$1
work=$2
mkdir -p "$work" || exit 1
eps="$work/page.eps"
ppm="$work/page.ppm"
rm -f "$eps" "$ppm"

timeout 60 "$probe" "$eps" || { echo "probe failed"; exit 1; }
command -v gs >/dev/null 2>&1 || { echo "gs not found"; exit 1; }

timeout 60 gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage "$eps" ||
  { echo "gs could not read the page"; exit 1; }
# Plain CMYK to RGB (no colour management): the pure colours come back exact.
timeout 60 gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -dUseFastColor=true -r72 -sDEVICE=ppmraw \
  -sOutputFile="$ppm" "$eps" || { echo "gs could not render the page"; exit 1; }

# The header: magic, size and maximum, with comment lines between them.
LC_ALL=C
export LC_ALL
header=""
header_bytes=0
fields=0
while IFS= read -r line; do
  header_bytes=$((header_bytes + ${#line} + 1))
  case $line in
    '#'*) continue ;;
  esac
  header="$header$line "
  fields=$((fields + 1))
  [ $fields -eq 3 ] && break
done < "$ppm"
[ "$header" = "P6 640 480 255 " ] || { echo "unexpected image header: $header"; exit 1; }

# pixel x y expected-"r g b"
fail=0
pixel() {
  offset=$((header_bytes + ($2 * 640 + $1) * 3))
  got=$(od -An -tu1 -j "$offset" -N3 "$ppm" | tr -s ' ' | sed 's/^ //; s/ $//')
  if [ "$got" != "$3" ]; then
    echo "pixel ($1, $2): got '$got', expected '$3'"
    fail=1
  fi
}
pixel 10 10 "0 0 0"         # the black page
pixel 150 150 "255 0 0"     # the red box
pixel 320 240 "0 255 0"     # the green square of the sorted list
pixel 300 240 "0 255 0"
pixel 250 240 "0 0 0"       # beside the square
pixel 500 400 "255 255 255" # the white line
[ $fail -eq 0 ] && echo "page checked"
exit $fail
