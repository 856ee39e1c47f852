#!/bin/sh
# Opens the same worlds in the real lumaview and lumaviewgl under Wine and
# compares their screenshots: both builds must shade and place alike.
#   two_cubes.wrl: one cube, side 2 on the left and side 0.4 on the right;
#     each cube's mean colour agrees between the builds (normals of any
#     length shade as unit normals) and neither is washed out or dark.
#   extrusion_cap.wrl: an L-shaped (concave) extrusion seen from above;
#     both builds draw it below the middle (not mirrored in z), with the
#     notch of the L left empty and about the same pixels covered.
#   nine_quads.wrl: nine orange quads facing the camera, no specular
#     colour: every quad's mean colour near the material's orange in both
#     builds (no white highlight), and the builds near each other.
#   shiny_quads.wrl: the same quads with a white specular colour: the
#     middle quad carries a highlight in both builds.
#   green_text.wrl: a caption in a green material is drawn green.
# Usage: alike_e2e.sh lumaview.exe lumaviewgl.exe driver.exe wine-run.sh data-dir
sw=$1 gl=$2 driver=$3 wine_run=$4 data=$5
. "$(dirname "$0")/../../support/e2e.sh"
e2e_init alike "$wine_run" 1024x768x24 keep +extension GLX
pid=

stop() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null; fi
  pid=
  WINEPREFIX=$LV_WINEPREFIX timeout 30 "${WINESERVER:-wineserver}" -k 2>/dev/null
}
finish() {
  stop
  e2e_summary
  exit
}

# Finds the viewer's window: cw, ch (client size) and ox, oy (its origin).
place() {
  i=0 ox=
  while [ $i -lt 30 ] && [ -z "$ox" ]; do
    found=$(drive find)
    cw=$(echo "$found" | sed -n 's/^client \([0-9]*\) .*/\1/p')
    ch=$(echo "$found" | sed -n 's/^client [0-9]* \([0-9]*\)$/\1/p')
    ox=$(echo "$found" | sed -n 's/^origin \([0-9-]*\) .*/\1/p')
    oy=$(echo "$found" | sed -n 's/^origin [0-9-]* \([0-9-]*\)$/\1/p')
    i=$((i + 1))
    [ -n "$ox" ] || sleep 1
  done
  [ -n "$ox" ] && [ -n "$cw" ]
}

# Screenshot of the client area once two shots half a second apart agree.
settled_shot() { e2e_settled_shot "$1" "${cw}x$ch+$ox+$oy" 1; }

# Runs one program on one world: $work/NAME.png.
view() {
  name=$1 program=$2 world=$3
  e2e_start_gui 600 "$work/$name.out" "$work/$name.err" "$wine_run" "$program" "$world"
  pid=$e2e_pid
  if place; then
    settled_shot "$work/$name.png"
  else
    fail "$name: no viewer window"
  fi
  stop
}

# Mean colour and count of the pixels brighter than the black background in
# the left and the right half: "n r g b n r g b".
halves() {
  convert "$1" -depth 8 txt:- 2>/dev/null | awk -v w="$cw" '
    /^[0-9]+,[0-9]+:/ {
      split($1, xy, ",")
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      if (c[1] + c[2] + c[3] <= 24) next
      h = (xy[1] + 0 < w / 2) ? 0 : 1
      n[h]++; r[h] += c[1]; g[h] += c[2]; b[h] += c[3]
    }
    END {
      for (h = 0; h < 2; h++) {
        if (n[h]) printf "%d %d %d %d ", n[h], r[h] / n[h], g[h] / n[h], b[h] / n[h]
        else printf "0 0 0 0 "
      }
      printf "\n"
    }'
}

near() { d=$(($1 - $2)); [ ${d#-} -le "$3" ]; }

view cubes_sw "$sw" "$data/two_cubes.wrl"
view cubes_gl "$gl" "$data/two_cubes.wrl"
a=$(halves "$work/cubes_sw.png")
b=$(halves "$work/cubes_gl.png")
echo "lumaview   left n r g b, right n r g b: $a"
echo "lumaviewgl left n r g b, right n r g b: $b"
# side n1 r1 g1 b1 n2 r2 g2 b2: one cube as each build drew it.
same_cube() {
  side=$1 n1=$2 r1=$3 g1=$4 b1=$5 n2=$6 r2=$7 g2=$8 b2=$9
  [ "$n1" -ge 400 ] && [ "$n2" -ge 400 ] || { fail "$side cube not drawn ($n1, $n2 pixels)"; return; }
  # The same cube covers about the same pixels in both builds.
  near "$n1" "$n2" $((n1 / 5)) || fail "$side cube covers $n1 pixels in lumaview, $n2 in lumaviewgl"
  near "$r1" "$r2" 10 && near "$g1" "$g2" 10 && near "$b1" "$b2" 10 ||
    fail "$side cube's mean colour differs: lumaview $r1 $g1 $b1, lumaviewgl $r2 $g2 $b2"
}
set -- $a
left="$1 $2 $3 $4" right="$5 $6 $7 $8"
set -- $b
same_cube left $left $1 $2 $3 $4
same_cube right $right $5 $6 $7 $8

# Box of the red pixels and their count: "n x0 y0 x1 y1".
red_box() {
  convert "$1" -depth 8 txt:- 2>/dev/null | awk '
    /^[0-9]+,[0-9]+:/ {
      split($1, xy, ","); x = xy[1] + 0; y = xy[2] + 0
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      if (!(c[1] > 100 && c[1] > c[2] + 80 && c[1] > c[3] + 80)) next
      if (!n || x < x0) x0 = x; if (!n || x > x1) x1 = x
      if (!n || y < y0) y0 = y; if (!n || y > y1) y1 = y
      n++
    }
    END { printf "%d %d %d %d %d\n", n, x0, y0, x1, y1 }'
}
is_red() {
  set -- $(e2e_rgb "$1" "$2" "$3")
  [ "${1:-0}" -gt 100 ] && [ "$1" -gt $((${2:-255} + 80)) ] && [ "$1" -gt $((${3:-255} + 80)) ]
}
# name: the L is below the middle, its notch (upper right quarter) empty
# and its other three quarters filled.
l_shape() {
  set -- $(red_box "$work/$1.png")
  echo "$name red pixels $1, box $2,$3 - $4,$5"
  n=$1 x0=$2 y0=$3 x1=$4 y1=$5
  [ "$n" -ge 400 ] || { fail "$name: the extrusion is not drawn"; return; }
  [ "$y0" -gt $((ch / 2)) ] || fail "$name: the extrusion is not below the middle (mirrored in z?)"
  qx1=$((x0 + (x1 - x0) / 4)) qx3=$((x0 + 3 * (x1 - x0) / 4))
  qy1=$((y0 + (y1 - y0) / 4)) qy3=$((y0 + 3 * (y1 - y0) / 4))
  ! is_red "$work/$name.png" $qx3 $qy1 || fail "$name: the notch of the L is filled"
  is_red "$work/$name.png" $qx1 $qy1 && is_red "$work/$name.png" $qx1 $qy3 &&
    is_red "$work/$name.png" $qx3 $qy3 || fail "$name: the L's cap is not filled"
}
view cap_sw "$sw" "$data/extrusion_cap.wrl"
view cap_gl "$gl" "$data/extrusion_cap.wrl"
name=cap_sw; l_shape cap_sw; n_sw=$n
name=cap_gl; l_shape cap_gl; n_gl=$n
near "${n_sw:-0}" "${n_gl:-0}" $((${n_sw:-0} / 10)) ||
  fail "the extrusion covers $n_sw pixels in lumaview, $n_gl in lumaviewgl"
# Mean colour of the lit pixels in each cell of a 3 x 3 split of their
# bounding box, row by row: nine "n r g b" groups on one line.
cells() {
  convert "$1" -depth 8 txt:- 2>/dev/null | awk '
    /^[0-9]+,[0-9]+:/ {
      split($1, xy, ","); x = xy[1] + 0; y = xy[2] + 0
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      if (c[1] + c[2] + c[3] <= 24) next
      k++; px[k] = x; py[k] = y; pr[k] = c[1]; pg[k] = c[2]; pb[k] = c[3]
      if (k == 1 || x < x0) x0 = x; if (k == 1 || x > x1) x1 = x
      if (k == 1 || y < y0) y0 = y; if (k == 1 || y > y1) y1 = y
    }
    END {
      for (i = 1; i <= k; i++) {
        cx = int(3 * (px[i] - x0) / (x1 - x0 + 1)); cy = int(3 * (py[i] - y0) / (y1 - y0 + 1))
        j = cy * 3 + cx; n[j]++; r[j] += pr[i]; g[j] += pg[i]; b[j] += pb[i]
      }
      for (j = 0; j < 9; j++) {
        if (n[j]) printf "%d %d %d %d ", n[j], r[j] / n[j], g[j] / n[j], b[j] / n[j]
        else printf "0 0 0 0 "
      }
      printf "\n"
    }'
}

# The nine quads' means against the material's orange (255, 127, 0): the
# diffuse term of a surface facing the light lifts green a little in both
# builds (to about 150 to 170), a white highlight would lift blue.
view quads_sw "$sw" "$data/nine_quads.wrl"
view quads_gl "$gl" "$data/nine_quads.wrl"
q_sw=$(cells "$work/quads_sw.png")
q_gl=$(cells "$work/quads_gl.png")
echo "lumaview   nine quads (n r g b each): $q_sw"
echo "lumaviewgl nine quads (n r g b each): $q_gl"
orange_quads() {
  name=$1; shift
  for k in 1 2 3 4 5 6 7 8 9; do
    n=$1 r=$2 g=$3 b=$4; shift 4
    [ "$n" -ge 200 ] || { fail "$name: quad $k not drawn ($n pixels)"; continue; }
    near "$r" 255 24 && near "$g" 127 44 && near "$b" 0 24 ||
      fail "$name: quad $k is $r $g $b, not the material's orange"
  done
}
orange_quads lumaview $q_sw
orange_quads lumaviewgl $q_gl
set -- $q_gl
for k in 1 2 3 4 5 6 7 8 9; do
  eval "g_n$k=\$1 g_r$k=\$2 g_g$k=\$3 g_b$k=\$4"
  shift 4
done
set -- $q_sw
for k in 1 2 3 4 5 6 7 8 9; do
  eval "gr=\$g_r$k gg=\$g_g$k gb=\$g_b$k"
  near "$2" "$gr" 24 && near "$3" "$gg" 24 && near "$4" "$gb" 24 ||
    fail "quad $k: lumaview $2 $3 $4, lumaviewgl $gr $gg $gb"
  shift 4
done

# A white specular colour: the middle quad (cell 5) is lifted toward white
# in both builds, well above the quads without one.
view shiny_sw "$sw" "$data/shiny_quads.wrl"
view shiny_gl "$gl" "$data/shiny_quads.wrl"
for name in shiny_sw shiny_gl; do
  set -- $(cells "$work/$name.png")
  shift 16
  echo "$name middle quad n r g b: $1 $2 $3 $4"
  [ "$1" -ge 200 ] && [ "$4" -ge 60 ] || fail "$name: no highlight on the middle quad ($2 $3 $4)"
done

# The caption's pixels are green: green well above red and blue.
view text_sw "$sw" "$data/green_text.wrl"
view text_gl "$gl" "$data/green_text.wrl"
for name in text_sw text_gl; do
  set -- $(halves "$work/$name.png")
  n=$(($1 + $5))
  echo "$name caption halves n r g b: $*"
  [ "$n" -ge 100 ] || { fail "$name: no caption drawn"; continue; }
  for h in 0 1; do
    [ "$1" -ge 20 ] && { [ "$3" -gt $(($2 + 60)) ] && [ "$3" -gt $(($4 + 60)) ] ||
      fail "$name: the caption is $2 $3 $4, not green"; }
    shift 4
  done
done
finish
