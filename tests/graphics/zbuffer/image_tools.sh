#!/bin/sh
# Writes TIFF, BMP and PPM through the image output and checks them with
# tiffinfo and ImageMagick: sizes, sample layout and the same known pixels
# in all three. Usage: image_tools.sh probe-program work-folder
set -u
probe=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
fail=0
say() { echo "image_tools: $*"; }
bad() { say "FAIL: $*"; fail=1; }

for tool in tiffinfo identify; do
  command -v "$tool" >/dev/null 2>&1 || { say "FAIL: $tool is not installed"; exit 1; }
done

timeout 60 "$probe" "$dir" || { bad "probe exit status $?"; exit 1; }

# tiffinfo: no warnings or errors, and the fields the writer promises.
timeout 30 tiffinfo "$dir/out.tif" >"$dir/tiffinfo.txt" 2>"$dir/tiffinfo.err" || bad "tiffinfo failed"
cat "$dir/tiffinfo.txt"
if [ -s "$dir/tiffinfo.err" ]; then bad "tiffinfo reported: $(cat "$dir/tiffinfo.err")"; fi
for want in "Image Width: 80 Image Length: 60" "Bits/Sample: 8" "Samples/Pixel: 3" \
            "Photometric Interpretation: RGB color" "Compression Scheme: None" \
            "Rows/Strip: 60" "Planar Configuration: single image plane" "Resolution: 75, 75"; do
  grep -q "$want" "$dir/tiffinfo.txt" || bad "tiffinfo lacks \"$want\""
done

# identify: format, size, depth, and three pixels read back from each file.
pixels=""
for f in out.tif out.bmp out.ppm; do
  line=$(timeout 30 identify -format '%w %h %z|%[pixel:p{2,2}]|%[pixel:p{40,30}]|%[pixel:p{77,57}]' \
         "$dir/$f" 2>"$dir/$f.err") || bad "identify failed on $f"
  if [ -s "$dir/$f.err" ]; then bad "identify reported on $f: $(cat "$dir/$f.err")"; fi
  say "$f: $line"
  case "$line" in
    "80 60 8|"*) ;;
    *) bad "$f: size or depth wrong: $line" ;;
  esac
  px=${line#*|}
  case "$px" in
    "srgb(255,0,0)|"*"|srgb(0,0,0)") ;;
    *) bad "$f: known pixels wrong: $px" ;;
  esac
  case "$px" in
    *"|srgb(0,0,0)|"*) bad "$f: the lit square is missing: $px" ;;
  esac
  if [ -z "$pixels" ]; then pixels=$px; elif [ "$px" != "$pixels" ]; then
    bad "$f differs from out.tif: $px vs $pixels"
  fi
done

# Byte-level sizes: TIFF 512 + 3WH, BMP 54 + H * 240, PPM header + 3WH.
size() { wc -c <"$1" | tr -d ' '; }
[ "$(size "$dir/out.tif")" = $((512 + 3 * 80 * 60)) ] || bad "TIFF size $(size "$dir/out.tif")"
[ "$(size "$dir/out.bmp")" = $((54 + 60 * 240)) ] || bad "BMP size $(size "$dir/out.bmp")"
[ "$(size "$dir/out.ppm")" = $((13 + 3 * 80 * 60)) ] || bad "PPM size $(size "$dir/out.ppm")"

[ $fail = 0 ] && say "all checks passed"
exit $fail
