#!/bin/sh
# By hand, not a test: opens a generated grid world of about MB megabytes
# (default 500) in a viewer of a Windows build tree under Wine in an X server
# of its own, and tells how long the window and the first picture took, the
# program's peak memory (VmHWM of its process), its message boxes, and
# screenshots: the first picture, then (with EXTRA_KB) the grid drawn with
# an extra draw buffer of that size, turned to face the eye.
# Usage: tools/open-big-world.sh [MB [EXTRA_KB [BUILD-TREE [PROGRAM]]]]
mb=${1:-500} extra=${2:-} program=${4:-lumaview}
src=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)
tree=$(CDPATH= cd -- "${3:-$src/build/win32}" && pwd) || exit 1
viewer=$tree/viewer/$program.exe driver=$tree/tests/viewer/lv_viewer_driver.exe
wine_run=$src/tools/wine-run.sh
cd "$tree" || exit 1
. "$src/tests/support/e2e.sh"
e2e_init "big_world" "$wine_run"
. "$src/tests/viewer/viewer_e2e_lib.sh"
world=$work/grid-$mb.wrl
sampler=
done_() {
  [ -n "$sampler" ] && kill "$sampler" 2>/dev/null
  stop
  rm -f "$world"
  echo "screenshots in $work"
  e2e_summary
  exit
}
"$wine_run" "$tree/tests/bench/write_grid_world.exe" "$mb" "$world" 2>/dev/null | tr -d '\r' ||
  { fail "the world could not be written"; done_; }

now() { date +%s.%N; }
since() { echo "$(now) $1" | awk '{ printf "%.1f", $1 - $2 }'; }
started=$(now)
start 1 "$world"
# The peak resident memory of the program's process, every half second.
( while kill -0 "$pid" 2>/dev/null; do
    sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status" >"$work/hwm.new" 2>/dev/null &&
      [ -s "$work/hwm.new" ] && mv "$work/hwm.new" "$work/hwm"
    sleep 0.5
  done ) &
sampler=$!
peak() { echo "$(( $(cat "$work/hwm" 2>/dev/null || echo 0) / 1024 )) MB"; }
# Pixels of a shot unlike its bottom-right corner (the background).
drawn() {
  convert "$1" -fuzz 3% -fill black -opaque "$(e2e_pixel "$1" $((cw - 4)) $((ch - 4)))" \
    -fill white +opaque black -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

has_window() { drive find | grep -q '^client'; }
e2e_wait 3000 has_window ||
  { fail "no window in 5 minutes"; done_; }
echo "window after $(since "$started") s"
place
# The first frame paints the background (32, 32, 32) over the blank window,
# or the load fails with a box.
background_at_corner() {
  snap first
  set -- $(e2e_rgb "$work/first.png" 4 4)
  [ "${1:-0}" -ge 24 ] && [ "$1" -le 40 ] && [ "$2" -ge 24 ] && [ "$2" -le 40 ]
}
first_picture() { [ "$(drive count Message)" != "count 0" ] || background_at_corner; }
e2e_wait 6000 first_picture || { fail "no picture in 10 minutes"; done_; }
echo "first picture (or box) after $(since "$started") s; peak so far $(peak)"
if ! kill -0 "$pid" 2>/dev/null; then fail "$program ended"; cat "$log"; done_; fi
i=0
while [ "$(drive count Message)" != "count 0" ] && [ $i -lt 5 ]; do
  echo "box: $(drive dialog Message press 1003 | tr '\n' ' ')"
  i=$((i + 1))
done
# The boxes' place is painted over by the next frame.
e2e_wait 1200 background_at_corner
echo "first picture: $(drawn "$work/first.png") of $cw x $ch pixels drawn"
if [ -n "$extra" ]; then
  cmd $EXTRA
  drive dialog "EXTRA BUFFER SIZE(KB)" set 1006 "$extra" press 1004 >/dev/null
  # A buffer that cannot be had is told in a box.
  sleep 2
  [ "$(drive count Message)" != "count 0" ] && echo "box: $(drive dialog Message press 1003 | tr '\n' ' ')"
  # A right drag of 40 pixels up tilts the grid towards the eye; each mouse
  # message draws a frame, and a frame may take seconds (a screen that stays
  # the same for a while is no sign of the end): wait for the grid's face.
  asked=$(now)
  drive mouse 0x204 2 300 240 >/dev/null
  drive mouse 0x200 2 300 200 >/dev/null
  drive mouse 0x205 0 300 200 >/dev/null
  faces() {
    background_at_corner && cp "$work/first.png" "$work/turned.png" &&
      [ "$(drawn "$work/turned.png")" -gt $((cw * ch / 10)) ]
  }
  e2e_wait 1200 faces || echo "NOTE: the turned grid was not drawn whole in 2 minutes"
  echo "turned, with $extra KB extra, drawn after $(since "$asked") s:" \
    "$(drawn "$work/turned.png") pixels drawn"
  [ "$(drive count Message)" != "count 0" ] && echo "box: $(drive dialog Message press 1003 | tr '\n' ' ')"
fi
echo "$program peak resident memory $(peak)"
drive close yes >/dev/null
done_
