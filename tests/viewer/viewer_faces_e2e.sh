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
# Red pixels of image $1 that differ from image $2 away from $2's outline:
# vertices go to whole pixels, so an outline drawn through other corners
# may move by a pixel, but nothing inside or outside it may change.
off_outline() {
  { convert "$2" -depth 8 txt:- 2>/dev/null | sed 's/^/R /'
    convert "$1" -depth 8 txt:- 2>/dev/null | sed 's/^/G /'; } | awk '
    $2 ~ /^[0-9]+,[0-9]+:/ {
      split($2, xy, ","); x = xy[1] + 0; y = xy[2] + 0
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      red = (c[1] > 110 && c[1] > c[2] + 60 && c[1] > c[3] + 60) ? 1 : 0
      if ($1 == "R") ref[x, y] = red; else got[x, y] = red
    }
    END {
      for (k in got) {
        if (got[k] == ref[k]) continue
        split(k, xy, SUBSEP); x = xy[1]; y = xy[2]; edge = 0
        for (dy = -1; dy <= 1; dy++) for (dx = -1; dx <= 1; dx++)
          if (((x + dx, y + dy) in ref) && ref[x + dx, y + dy] != ref[k]) edge = 1
        if (!edge) n++
      }
      print n + 0
    }'
}

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
    off=$(off_outline "$work/${program}_disc$n.png" "$work/${program}_disc100.png")
    off_tif=$(off_outline "$work/${program}_disc${n}_tif.png" "$work/${program}_disc100_tif.png")
    echo "$program: disc of $n: $got pixels on the screen ($off off the outline of 100's)," \
      "$got_tif in the TIFF ($off_tif off the outline)"
    [ "$off" -le 20 ] || fail "$program: the disc of $n differs from the disc of 100 in $off pixels off its outline"
    [ "$off_tif" -le 10 ] ||
      fail "$program: the TIFF of the disc of $n differs from the disc of 100's in $off_tif pixels off its outline"
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
for q in shiny plain; do
  view "lumaview_$q" "$sw" "$work/$q.wrl"
  view "lumaviewgl_$q" "$gl" "$work/$q.wrl"
done
# The quad's centre: 2.4, 1.5 at 10 away, 452.5 pixels a unit at depth 1.
qx=$((cw / 2 + 108)) qy=$((ch / 2 - 68))
for q in plain shiny; do
  a=$(e2e_rgb "$work/lumaview_$q.png" $qx $qy)
  b=$(e2e_rgb "$work/lumaviewgl_$q.png" $qx $qy)
  echo "$q quad at $qx,$qy: lumaview $a, lumaviewgl $b"
  set -- $a $b
  # The two programs' diffuse terms differ by up to a tenth of the colour
  # (ambient 0.3 and diffuse 1 against OpenGL's 0.4 and 0.8).
  near "${1:-0}" "${4:-999}" 12 && near "${2:-0}" "${5:-999}" 12 && near "${3:-0}" "${6:-999}" 12 ||
    fail "the $q quad is $a in lumaview, $b in lumaviewgl"
  eval "${q}_sw_r=\${1:-0} ${q}_sw_g=\${2:-0} ${q}_gl_r=\${4:-0} ${q}_gl_g=\${5:-0}"
done
# The highlight itself (what it adds to red and green; blue is full in
# both): well off the line of sight, the same in both programs.
sw_r=$((shiny_sw_r - plain_sw_r)) sw_g=$((shiny_sw_g - plain_sw_g))
gl_r=$((shiny_gl_r - plain_gl_r)) gl_g=$((shiny_gl_g - plain_gl_g))
echo "highlight adds red $sw_r, green $sw_g in lumaview; red $gl_r, green $gl_g in lumaviewgl"
[ "$gl_r" -gt 60 ] || fail "lumaviewgl shows no highlight on the shiny quad (red + $gl_r)"
near "$sw_r" "$gl_r" 5 && near "$sw_g" "$gl_g" 5 ||
  fail "the highlight adds $sw_r $sw_g in lumaview, $gl_r $gl_g in lumaviewgl"
finish
