#!/bin/sh
# Runs the real lumaview under Wine and works it as a person does: menus
# (posted commands), keys, the mouse, the file, number, colour and message
# dialogs, the exports checked with real tools, the close question and the
# exit status. Every wait has a timeout.
# Usage: viewer_e2e.sh viewer.exe driver.exe wine-run.sh source-dir [name]
viewer=$1 driver=$2 wine_run=$3 src=$4 program=${5:-viewer}
. "$(dirname "$0")/../support/e2e.sh"
e2e_init "$program" "$wine_run"
. "$(dirname "$0")/viewer_e2e_lib.sh"

# --- Run 1: the sample world from the command line.
start 1 "$src/examples/sample.wrl"
place
await_shot start 'has_shapes start' "the sample's red, green and blue shapes are not shown"
sleep 1; snap start
shapes_visible start
# A file read without errors shows no box.
[ "$(drive count "QM VRML 2.0 VIEWER")" = "count 0" ] || fail "a box for a file without errors"

# Keys: Z zooms in (bigger shapes).
drive key 90 >/dev/null
await_shot zoomed '[ "$(count_of "$work/zoomed.png" red)" -gt "$(count_of "$work/start.png" red)" ]' \
  "Z key did not zoom in"
shapes_visible zoomed

# Right drag of 100 pixels: half a turn, the red box now on the right.
[ "$(red_x "$work/start.png")" -lt 80 ] || fail "red box not on the left at start"
drive mouse 0x204 2 300 240 >/dev/null
drive mouse 0x200 2 400 240 >/dev/null
drive mouse 0x205 0 400 240 >/dev/null
await_shot turned '[ "$(red_x "$work/turned.png")" -gt 80 ]' "right drag did not turn the view round"
echo "red x start $(red_x "$work/start.png") turned $(red_x "$work/turned.png")"

# ResetCameraPosition: the first picture again.
cmd $RESET
await_shot reset 'similar_image start reset' "ResetCameraPosition did not restore the view"
# Forward key (F) moves in, drawn by the next idle pass.
drive key 70 >/dev/null
await_shot forward '! similar_image start forward' "F key changed nothing"
cmd $RESET
await_shot reset 'similar_image start reset' "ResetCameraPosition did not restore the view"

# Exports: TIF at 320 x 240.
cmd $TIF
expect "closed" filedlg "EXPORT TIF(24bit)" "$(winpath "$work/view.tif")"
expect "closed" dialog Resolution set 1006 320 set 1007 240 press 1004
if await_file "$work/view.tif"; then
  sleep 1
  info=$(tiffinfo "$work/view.tif" 2>&1)
  echo "$info" | grep -q "Image Width: 320 Image Length: 240" || fail "TIF size: $info"
  echo "$info" | grep -q "Bits/Sample: 8" || fail "TIF bits per sample"
  echo "$info" | grep -q "Samples/Pixel: 3" || fail "TIF samples per pixel"
  convert "$work/view.tif" "$work/view_tif.png" && shapes_visible view_tif
fi
# BMP at 200 x 150.
cmd $BMP
expect "closed" filedlg "EXPORT BMP(24bit)" "$(winpath "$work/view.bmp")"
expect "closed" dialog Resolution set 1006 200 set 1007 150 press 1004
if await_file "$work/view.bmp"; then
  sleep 1
  id=$(identify "$work/view.bmp")
  echo "$id"
  echo "$id" | grep -q "BMP3\? 200x150" || fail "BMP: $id"
  echo "$id" | grep -q "8-bit sRGB\|24-bit\|DirectClass" || fail "BMP depth: $id"
  convert "$work/view.bmp" "$work/view_bmp.png" && shapes_visible view_bmp
fi
# The same BMP name again: the overwrite question, and CANCEL keeps all.
before=$(md5sum <"$work/view.bmp")
cmd $BMP
out=$(drive filedlg "EXPORT BMP(24bit)" "$(winpath "$work/view.bmp")")
echo "$out" | grep -q "default \[.*view.bmp\]" || fail "BMP dialog did not default to the last name: $out"
q=$(drive dialog Confirm press 1006)
echo "$q" | grep -qF "[File Exists. Overwrite?]" || fail "no overwrite question: $q"
[ "$(drive count Resolution)" = "count 0" ] || fail "resolution asked after CANCEL"
[ "$(md5sum <"$work/view.bmp")" = "$before" ] || fail "cancelled overwrite changed the file"
# PS at the default 400 x 300.
cmd $PS
expect "closed" filedlg "EXPORT PS" "$(winpath "$work/view.ps")"
out=$(drive dialog Resolution press 1004)
echo "$out" | grep -qF "control 1006 Edit [400]" || fail "PS width default: $out"
if await_file "$work/view.ps"; then
  sleep 1
  head -n 1 "$work/view.ps" | grep -q "^%!PS-Adobe-.* EPSF-" || fail "EPS header"
  timeout 60 gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r72 \
    -sOutputFile="$work/view_ps.png" "$work/view.ps" || fail "gs could not render the EPS"
  [ -s "$work/view_ps.png" ] && shapes_visible view_ps
fi
# SRF: scene coordinates, whatever the camera.
cmd $SRF
expect "closed" filedlg "EXPORT SRF" "$(winpath "$work/model.srf")"
if await_file "$work/model.srf"; then
  sleep 1
  for word in SURF VER FAC COL END; do
    tr -d '\r' <"$work/model.srf" | grep -q "^$word" || fail "SRF has no $word line"
  done
  # The floor cylinder has radius 4: x reaches 4.000 in scene units.
  tr -d '\r' <"$work/model.srf" | grep -q "^VER 4.000 \|^VER 3.99" || fail "SRF not in scene coordinates"
fi
# WRL: the scene written back, and read again.
cmd $WRL
expect "closed" filedlg "EXPORT WRL" "$(winpath "$work/scene.wrl")"
i=0; while [ ! -s "$work/scene.wrl" ] && [ $i -lt 30 ]; do i=$((i + 1)); sleep 0.1; done
if await_file "$work/scene.wrl"; then
  sleep 1
  head -n 1 "$work/scene.wrl" | tr -d '\r' | grep -qx "#VRML V2.0 utf8" || fail "WRL header"
  for node in Viewpoint Background Box Sphere Cone Cylinder; do
    grep -q "$node" "$work/scene.wrl" || fail "WRL lost the $node"
  done
fi

# Background colour from the chooser, then the scene's own again.
cmd $SETBG
expect "closed" colordlg "BACKGROUND COLOR" 255 0 255
await_shot magenta '[ "$(magenta magenta)" -gt 3000 ]' "background colour not used"
cmd $USEBG
await_shot vrmlbg '[ "$(magenta vrmlbg)" -eq 0 ] && has_shapes vrmlbg' "scene background not back"

# Quality: 99 gives 15, so the sphere gets finer.
cmd $QUALITY
out=$(drive dialog "Quality(1-15)" set 1006 99 press 1004)
echo "$out" | grep -qF "control 1006 Edit [4]" || fail "quality default is not 4: $out"
await_shot fine '! similar_image vrmlbg fine && has_shapes fine' "quality 15 changed nothing"
# Extra draw buffer: 256 KB.
cmd $EXTRA
expect "closed" dialog "EXTRA BUFFER SIZE(KB)" set 1006 256 press 1004

# Help twice: one dialog; OK closes it. About: modal, OK closes it.
cmd $HELP
expect "dialog found" dialog HELP >/dev/null
cmd $HELP
[ "$(drive count HELP)" = "count 1" ] || fail "second Help opened another dialog"
out=$(drive dialog HELP press 1)
echo "$out" | grep -qF "[---Key/Mouse Help ---]" || fail "Help text: $out"
cmd $ABOUT
out=$(drive dialog "About QM VRML2.0 VIEWER" press 1)
echo "$out" | grep -qF "[QM VRML2.0 VIEWER]" || fail "About text: $out"
echo "$out" | grep -qx "closed" || fail "About did not close"

# CloseFile: only the no-file text.
cmd $CLOSE
await_shot closed 'has_text closed' "CloseFile did not leave only the no-file text"

# OpenFile: a V1 file is refused, a compressed one is unknown, V3 is warned
# about and loaded.
gzip -c "$src/examples/sample.wrl" >"$work/packed.wrl"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$data/v1.wrl")"
out=$(drive dialog Message press 1003)
echo "$out" | grep -qF "[Specified file is VRML V1.0]" || fail "V1 message: $out"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$work/packed.wrl")"
out=$(drive dialog Message press 1003)
echo "$out" | grep -qF "[Unknown Format.]" || fail "compressed message: $out"
sleep 1
await_shot refused 'has_text refused' "a refused file was loaded"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$data/v3.wrl")"
out=$(drive dialog Message press 1003)
echo "$out" | grep -qF "[Unknown version of VRML.]" || fail "V3 message: $out"
# No Background node: the chosen colour fills around the box.
await_shot v3 '[ "$(magenta v3)" -gt 3000 ]' "V3 file not loaded"

# A scene with sensors: the time sensor carries the red box to the right,
# a click on the green bar turns it blue.
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$data/sensors.wrl")"
await_shot anim1 '[ "$(red_x "$work/anim1.png")" -ge 0 ] && [ "$(count_of "$work/anim1.png" green)" -gt 100 ]' \
  "sensor scene not shown"
x1=$(red_x "$work/anim1.png")
# The clock runs from time 0 and loops every 40 s: the box may wrap round
# to the left between the two shots, so any move counts.
await_shot anim2 'x2=$(red_x "$work/anim2.png"); [ "$x2" -ge 0 ] && [ "$x2" -ne "$x1" ]' "time sensor did not move the box"
echo "red box x $x1 then $(red_x "$work/anim2.png")"
drive mouse 0x201 1 320 330 >/dev/null
drive mouse 0x202 0 320 330 >/dev/null
await_shot clicked '[ "$(count_of "$work/clicked.png" green)" -lt 20 ] && [ "$(count_of "$work/clicked.png" blue)" -gt 100 ]' \
  "a click on the touch sensor did not turn the bar blue"
echo "clicked: $(colours "$work/clicked.png")"

# The close question: No keeps the window, Yes ends with status 1.
out=$(drive close no)
echo "$out" | grep -qF "[Really Quit? You may lose some data!]" || fail "close question: $out"
echo "$out" | grep -qx "window alive" || fail "No closed the window"
drive close yes >/dev/null
await_exit

# --- Run 2: no argument: the Open dialog before anything; Cancel leaves no
# file open; Exit ends with status 1.
start 2
expect "closed" filedlg "Open File" -
place
await_shot nofile 'has_text nofile' "no NO FILE text after a cancelled Open"
cmd $EXIT
await_exit

# --- Run 3: a command-line file that cannot be read: no message box.
start 3 "$work/missing.wrl"
place
[ "$(drive count Message)" = "count 0" ] || fail "a message for a command-line file"
await_shot missing 'has_text missing' "no NO FILE text for a file that did not load"
drive close yes >/dev/null
await_exit

# --- Run 4: a grid of 25,200 quads larger than the 1 MB main draw pool:
# the viewer says so once and draws what fitted; an extra draw buffer set
# through Config then draws it whole (no magenta background left).
awk 'BEGIN {
  nx = 180; ny = 140
  print "#VRML V2.0 utf8"
  print "Background { skyColor [ 1 0 1 ] groundColor [ 1 0 1 ] }"
  print "Viewpoint { position 0 0 10 }"
  print "Shape { appearance Appearance { material Material { diffuseColor 0.1 0.6 0.2 } }"
  print "geometry IndexedFaceSet { solid FALSE coord Coordinate { point ["
  for (j = 0; j <= ny; j++) for (i = 0; i <= nx; i++) printf "%.2f %.2f 0,\n", -9 + 18 * i / nx, -7 + 14 * j / ny
  print "] } coordIndex ["
  for (j = 0; j < ny; j++) for (i = 0; i < nx; i++) {
    a = j * (nx + 1) + i
    printf "%d %d %d %d -1,\n", a, a + 1, a + nx + 2, a + nx + 1
  }
  print "] } }"
}' >"$work/grid.wrl"
start 4 "$work/grid.wrl"
place
if [ "$program" = lumaviewgl ]; then
  # OpenGL keeps no painter's list: the grid is whole at once, unannounced.
  await_shot gridwhole '[ "$(magenta gridwhole)" -eq 0 ]' "the OpenGL build does not draw the grid whole"
  [ "$(drive count Message)" = "count 0" ] || fail "a draw buffer message in the OpenGL build"
else
  out=$(drive dialog Message press 1003)
  echo "$out" | grep -qF "[THE SCENE IS LARGER THAN THE DRAW BUFFERS.]" || fail "no draw buffer message: $out"
  await_shot gridcut '[ "$(magenta gridcut)" -gt 100 ]' "the grid that does not fit shows no background"
  echo "grid without an extra buffer: $(magenta gridcut) magenta of 19200 samples"
  cmd $EXTRA
  expect "closed" dialog "EXTRA BUFFER SIZE(KB)" set 1006 65536 press 1004
  await_shot gridwhole '[ "$(magenta gridwhole)" -eq 0 ]' "the grid is not drawn whole with a 64 MB extra buffer"
  echo "grid with a 64 MB extra buffer: $(magenta gridwhole) magenta"
  [ "$(drive count Message)" = "count 0" ] || fail "the draw buffer message came again for the same file"
fi
drive close yes >/dev/null
await_exit

finish
