#!/bin/sh
# Worlds as a person meets them in the real viewer under Wine: an animation
# runs in seconds of the wall clock (lumaview), and a world opened again and
# again, or after CloseFile, shows its own sky every time. Every wait has a
# timeout.
# Usage: viewer_worlds_e2e.sh viewer.exe driver.exe wine-run.sh source-dir [name]
viewer=$1 driver=$2 wine_run=$3 src=$4 program=${5:-viewer}
. "$(dirname "$0")/../support/e2e.sh"
e2e_init "${program}_worlds" "$wine_run"
. "$(dirname "$0")/viewer_e2e_lib.sh"

now() { date +%s.%N; }
# Mean x of the red pixels, and of the green ones in the left and in the
# right half, at full size: "red GL GR" (-1 for a colour not found).
positions() {
  convert "$1" -depth 8 txt:- 2>/dev/null | awk -v half="$(($2 / 2))" '
    /^[0-9]+,[0-9]+:/ {
      split($1, xy, ","); x = xy[1] + 0
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
      if (r > 110 && r > g + 60 && r > b + 60) { nr++; sr += x }
      if (g > 100 && g > r + 40 && g > b + 20) {
        if (x < half) { nl++; sl += x } else { nq++; sq += x }
      }
    }
    END {
      printf "%.2f %.2f %.2f\n", nr ? sr / nr : -1, nl ? sl / nl : -1, nq ? sq / nq : -1
    }'
}
# Where the red box is along its path, 0 to 1, from the two green marks at
# the path's ends (so no projection needs to be known); -1 when not seen.
fraction() {
  positions "$1" "$cw" | awk '{
    if ($1 < 0 || $2 < 0 || $3 <= $2) print -1; else printf "%.4f\n", ($1 - $2) / ($3 - $2) }'
}
# A screenshot $1 and the wall-clock time it shows (the middle of the
# capture), in $shot_time; a capture that took long is taken again, so the
# time is known to within a few hundredths of a second on a loaded machine.
timed_snap() {
  tries=0
  while :; do
    a=$(now); snap "$1"; b=$(now)
    took=$(echo "$a $b" | awk '{ printf "%.3f", $2 - $1 }')
    shot_time=$(echo "$a $b" | awk '{ printf "%.3f", ($1 + $2) / 2 }')
    tries=$((tries + 1))
    [ "$(echo "$took" | awk '{ print ($1 < 0.4) }')" = 1 ] || [ $tries -ge 10 ] && break
  done
  echo "$1: capture took $took s"
}
# The Open dialog covers the top left corner, and the frame before the load
# the rest, until the viewer draws again: then both corners agree.
frame_drawn() {
  [ "$(e2e_rgb "$work/$1.png" 6 6)" = "$(e2e_rgb "$work/$1.png" $((cw - 6)) $((ch - 6)))" ]
}
# A pixel near the top left corner of the shot is the sky colour (magenta).
sky_shown() {
  rgb=$(e2e_rgb "$work/$1.png" 6 6)
  echo "$rgb" | awk '{ exit !($1 > 240 && $2 < 16 && $3 > 240) }'
}

if [ "$program" = lumaview ]; then
  # --- Run 1: a box carried along by a looping 10 s cycle.
  cat >"$work/cycle.wrl" <<'WRL'
#VRML V2.0 utf8
Viewpoint { position 0 0 12 }
Background { skyColor [ 0 0 0 ] groundColor [ 0 0 0 ] }
DEF MOVER Transform {
  translation -4 1.5 0
  children Shape {
    appearance Appearance { material Material { diffuseColor 1 0 0 } }
    geometry Box { size 1 1 0.01 }
  }
}
Transform {
  translation -4 -1.5 0
  children DEF MARK Shape {
    appearance Appearance { material Material { diffuseColor 0 1 0 } }
    geometry Box { size 1 1 0.01 }
  }
}
Transform { translation 4 -1.5 0 children USE MARK }
DEF CLOCK TimeSensor { cycleInterval 10 loop TRUE }
DEF PATH PositionInterpolator { key [ 0 1 ] keyValue [ -4 1.5 0, 4 1.5 0 ] }
ROUTE CLOCK.fraction_changed TO PATH.set_fraction
ROUTE PATH.value_changed TO MOVER.set_translation
WRL
  start 1 "$work/cycle.wrl"
  place
  await_shot cycle0 '[ "$(fraction "$work/cycle0.png")" != -1 ]' "the moving box and its marks are not shown"
  # Three pairs of shots five seconds apart (so that a clock many times too
  # fast cannot pass by landing on the right phase): each pair's positions
  # are half a cycle apart (of the wall-clock time between them), within a
  # tenth.
  for pair in 1 2 3; do
    timed_snap "cycle${pair}a"; t1=$shot_time
    sleep 5
    timed_snap "cycle${pair}b"; t2=$shot_time
    f1=$(fraction "$work/cycle${pair}a.png")
    f2=$(fraction "$work/cycle${pair}b.png")
    verdict=$(echo "$t1 $t2 $f1 $f2" | awk '{
      real = $2 - $1; want = real / 10; got = $4 - $3
      d = got - want; d -= int(d); if (d < 0) d += 1; if (d > 0.5) d = 1 - d
      printf "real %.3f s, positions %.3f then %.3f: moved %.3f of a cycle mod 1, want %.3f, off by %.3f\n",
        real, $3, $4, (got < 0 ? got + 1 : got), want - int(want), d
      if ($3 < 0 || $4 < 0 || d > 0.1) print "BAD"; else print "GOOD" }')
    echo "pair $pair: $verdict" | head -n 1
    echo "$verdict" | tail -n 1 | grep -qx GOOD || fail "pair $pair is not half a cycle apart: $verdict"
  done
  drive close yes >/dev/null
  await_exit
fi

# --- Run 2: one world with a sky of its own, a Fog and a NavigationInfo,
# opened five times, then closed and opened again: its sky every time.
cat >"$work/sky.wrl" <<'WRL'
#VRML V2.0 utf8
Background { skyColor [ 1 0 1 ] groundColor [ 1 0 1 ] }
Fog { color 0 1 0 visibilityRange 100 }
NavigationInfo { speed 2 }
Viewpoint { position 0 0 10 }
Shape {
  appearance Appearance { material Material { diffuseColor 1 0 0 } }
  geometry Box { size 2 2 2 }
}
WRL
start 2
expect "closed" filedlg "Open File" "$(winpath "$work/sky.wrl")"
place
# (The shared helpers count with $i.)
opening=1
while [ $opening -le 5 ]; do
  if [ $opening -gt 1 ]; then
    cmd $OPEN
    expect "closed" filedlg "Open File" "$(winpath "$work/sky.wrl")"
  fi
  await_shot "open$opening" "frame_drawn open$opening" "opening $opening was never drawn"
  sky_shown "open$opening" && echo "opening $opening: sky $rgb" || fail "opening $opening shows no sky (pixel $rgb)"
  opening=$((opening + 1))
done
cmd $CLOSE
await_shot closed 'has_text closed' "CloseFile did not leave only the no-file text"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$work/sky.wrl")"
await_shot reopened "frame_drawn reopened" "the opening after CloseFile was never drawn"
sky_shown reopened && echo "open after close: sky $rgb" || fail "opening after CloseFile shows no sky (pixel $rgb)"
drive close yes >/dev/null
await_exit

finish
