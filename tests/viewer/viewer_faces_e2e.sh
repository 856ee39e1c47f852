#!/bin/sh
# Big faces and the highlight as a person sees them, in the real lumaview
# and lumaviewgl under Wine:
#   a disc face of 300, 700 and 5,000 vertices covers the same pixels as
#   the same disc of 100, on the screen and in a TIFF export, in each
#   program;
#   an off-centre shiny quad shows the same highlight in both programs.
# Every wait has a timeout.
# Usage: viewer_faces_e2e.sh lumaview.exe lumaviewgl.exe driver.exe wine-run.sh source-dir
sw=$1 gl=$2 driver=$3 wine_run=$4 src=$5
. "$(dirname "$0")/../support/e2e.sh"
e2e_init faces "$wine_run" 1280x1024x24 keep +extension GLX
viewer=$sw
. "$(dirname "$0")/viewer_e2e_lib.sh"

# A red disc of radius 3 with N corners, facing the camera 10 away: about
# 57,000 pixels of the 640 x 480 view.
disc() {
  awk -v n="$1" 'BEGIN {
    print "#VRML V2.0 utf8"
    print "Viewpoint { position 0 0 10 }"
    print "Background { skyColor [ 0 0 0 ] }"
    print "Shape { appearance Appearance { material Material { diffuseColor 1 0 0 } }"
    printf "  geometry IndexedFaceSet { coord Coordinate { point [\n"
    for (i = 0; i < n; i++) printf "%.6f %.6f 0,\n", 3 * cos(6.283185307179586 * i / n), 3 * sin(6.283185307179586 * i / n)
    printf "] } coordIndex [\n"
    for (i = 0; i < n; i++) printf "%d ", i
    print "-1 ] } }"
  }' >"$work/disc$1.wrl"
}
# Red pixels of an image, at full size.
reds() {
  convert "$1" -depth 8 txt:- 2>/dev/null | awk '
    /^[0-9]+,[0-9]+:/ {
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      if (c[1] > 110 && c[1] > c[2] + 60 && c[1] > c[3] + 60) n++
    }
    END { print n + 0 }'
}
# Pixels brighter than the black background.
lit() {
  convert "$1" -depth 8 txt:- 2>/dev/null | awk '
    /^[0-9]+,[0-9]+:/ {
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      if (c[1] + c[2] + c[3] > 24) n++
    }
    END { print n + 0 }'
}
near() { d=$(($1 - $2)); [ ${d#-} -le "$3" ]; }

# One program on one world: the screenshot $work/NAME.png once it settles,
# and with a size (W H) also the view exported as TIFF, $work/NAME_tif.png.
view() {
  name=$1 viewer=$2 world=$3
  start "_$name" "$world"
  place
  await_shot "$name" '[ "$(lit "$work/$name.png")" -gt 100 ]' "$name: nothing drawn"
  shot "$name"
  if [ -n "$4" ]; then
    cmd $TIF
    expect "closed" filedlg "EXPORT TIF(24bit)" "$(winpath "$work/$name.tif")"
    expect "closed" dialog Resolution set 1006 "$4" set 1007 "$5" press 1004
    if await_file "$work/$name.tif"; then
      sleep 1
      convert "$work/$name.tif" "$work/${name}_tif.png" || fail "$name: TIFF not readable"
    fi
  fi
  drive close yes >/dev/null
  await_exit
}

for n in 100 300 700 5000; do disc $n; done
for program in lumaview lumaviewgl; do
  exe=$sw; [ $program = lumaviewgl ] && exe=$gl
  for n in 100 300 700 5000; do
    view "${program}_disc$n" "$exe" "$work/disc$n.wrl" 320 240
  done
  ref=$(reds "$work/${program}_disc100.png")
  ref_tif=$(reds "$work/${program}_disc100_tif.png")
  echo "$program: disc of 100: $ref pixels on the screen, $ref_tif in the TIFF"
  [ "$ref" -gt 50000 ] || fail "$program: the disc of 100 is not drawn whole ($ref pixels)"
  [ "$ref_tif" -gt 12000 ] || fail "$program: the TIFF of the disc of 100 is not whole ($ref_tif pixels)"
  for n in 300 700 5000; do
    got=$(reds "$work/${program}_disc$n.png")
    got_tif=$(reds "$work/${program}_disc${n}_tif.png")
    # Same pixels: the counts within 0.5%, and the pictures the same but
    # for the outline (vertices go to whole pixels).
    diff=$(compare -metric AE "$work/${program}_disc$n.png" "$work/${program}_disc100.png" null: 2>&1)
    echo "$program: disc of $n: $got pixels on the screen ($diff differ), $got_tif in the TIFF"
    near "$got" "$ref" $((ref / 200)) || fail "$program: the disc of $n covers $got pixels, the disc of 100 $ref"
    [ "${diff%%.*}" -le 1200 ] 2>/dev/null || fail "$program: the disc of $n differs in $diff pixels from the disc of 100"
    near "$got_tif" "$ref_tif" $((ref_tif / 200)) ||
      fail "$program: the TIFF of the disc of $n covers $got_tif pixels, of the disc of 100 $ref_tif"
  done
done

# A shiny quad up and to the right of the line of sight (white specular
# colour), and the same quad without a highlight: the centre pixel of each
# in both programs.
quad() {
  cat >"$work/$1.wrl" <<WRL
#VRML V2.0 utf8
Viewpoint { position 0 0 10 }
Background { skyColor [ 0 0 0 ] }
Transform {
  translation 2.4 1.5 0
  children Shape {
    appearance Appearance { material Material { diffuseColor 0.2 0.3 1 $2 } }
    geometry IndexedFaceSet {
      coord Coordinate { point [ -0.3 -0.3 0, 0.3 -0.3 0, 0.3 0.3 0, -0.3 0.3 0 ] }
      coordIndex [ 0 1 2 3 -1 ]
    }
  }
}
WRL
}
quad shiny "specularColor 1 1 1 shininess 0.5"
quad plain ""
for world in shiny plain; do
  view "lumaview_$world" "$sw" "$work/$world.wrl"
  view "lumaviewgl_$world" "$gl" "$work/$world.wrl"
done
# The quad's centre: 2.4, 1.5 at 10 away, 452.5 pixels a unit at depth 1.
qx=$((cw / 2 + 108)) qy=$((ch / 2 - 68))
for world in plain shiny; do
  a=$(e2e_rgb "$work/lumaview_$world.png" $qx $qy)
  b=$(e2e_rgb "$work/lumaviewgl_$world.png" $qx $qy)
  echo "$world quad at $qx,$qy: lumaview $a, lumaviewgl $b"
  set -- $a $b
  near "${1:-0}" "${4:-999}" 6 && near "${2:-0}" "${5:-999}" 6 && near "${3:-0}" "${6:-999}" 6 ||
    fail "the $world quad is $a in lumaview, $b in lumaviewgl"
  eval "${world}_red=\${1:-0}"
done
# The highlight is there at all (the quad is well off the line of sight).
[ "$shiny_red" -gt $((plain_red + 60)) ] ||
  fail "the shiny quad ($shiny_red red) is hardly lighter than the plain one ($plain_red)"
finish
