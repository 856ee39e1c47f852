#!/bin/sh
# Draws the probe's lit cube under Wine and checks the screenshot: the three
# faces that look at the eye show their lit colours at the probe's sample
# pixels, and the window holds no colour but black and those three, first
# with back faces culled and then with all six faces in the painter's list.
# Runs in an X server and a Wine prefix of its own, so that no other test's
# window can cover this one or be covered by it.
# Usage: cube_e2e.sh probe.exe wine-run.sh prefix-folder
probe=$1 wine_run=$2 prefix=$3
. "$(dirname "$0")/../../support/e2e.sh"
e2e_init cube "$wine_run" 1024x768x24 "$prefix"
log=$work/probe.log
tolerance=10  # a 5-5-5 surface on a 24-bit screen

# R G B of the client pixel x y in the last shot.
pixel() { e2e_rgb "$work/client.png" "$1" "$2"; }
near() { d=$(($1 - $2)); [ ${d#-} -le $tolerance ]; }

check_mode() {
  mode=$1 want_queued=$2
  set_line=$(logged | sed -n "/^mode $mode /,/^drawn $mode\$/p")
  echo "$set_line" | grep -q "^mode $mode bpp [0-9]* queued $want_queued\$" ||
    fail "mode $mode: the list did not hold $want_queued items"
  visible=$(echo "$set_line" | grep -c '^face .* visible ')
  [ "$visible" -eq 3 ] || fail "mode $mode: $visible faces look at the eye, want 3"
  sleep 1
  e2e_shot "$work/client.png" "640x480+$ox+$oy"
  cp "$work/client.png" "$work/mode$mode.png"
  # The faces that look at the eye, at their sample pixels.
  echo "$set_line" | grep '^face .* visible ' | while read -r _ name _ _ r g b _ br bg bb _ x y; do
    got=$(pixel "$x" "$y")
    set -- $got
    echo "mode $mode face $name at $x,$y: $got, want $r $g $b"
    if [ $# -ne 3 ] || ! near "$1" "$r" || ! near "$2" "$g" || ! near "$3" "$b"; then
      echo "FAIL: mode $mode face $name colour" >>"$work/failed"
    fi
    # Its own hue, whatever the oracle says: the base colour's channels lit,
    # the others dark.
    for pair in "$1:$br" "$2:$bg" "$3:$bb"; do
      v=${pair%%:*} base=${pair#*:}
      if [ "$base" -eq 255 ] && [ "$v" -lt 80 ]; then
        echo "FAIL: mode $mode face $name is not lit in its own hue" >>"$work/failed"
      fi
      if [ "$base" -eq 0 ] && [ "$v" -gt 20 ]; then
        echo "FAIL: mode $mode face $name shows another hue" >>"$work/failed"
      fi
    done
  done
  # Every pixel of the window: black or one of the three lit faces, each
  # over a fair area. The hidden faces' hues: nowhere when they are culled;
  # in the painter's list only where the outline rasterises one pixel wider
  # for them (the edge walk depends on the edge's direction), never inside.
  want=$(echo "$set_line" | grep '^face .* visible ' | awk '{printf "%s %s %s ", $5, $6, $7}')
  convert "$work/client.png" -depth 8 txt: 2>/dev/null |
    awk -F '[,:() ]+' -v want="$want" -v tol=$tolerance -v mode=$mode '
      function near(a, b) { return (a - b <= tol && b - a <= tol) }
      BEGIN { split(want, w, " ") }
      /^[0-9]/ {
        x = $1; y = $2; r = $3; g = $4; b = $5
        if (r <= tol && g <= tol && b <= tol) { cls[x, y] = "k"; black++; next }
        for (f = 0; f < 3; f++)
          if (near(r, w[3*f+1]) && near(g, w[3*f+2]) && near(b, w[3*f+3])) { cls[x, y] = f; area[f]++; next }
        if ((r > 40 && g > 40 && b < 20) || (g > 40 && b > 40 && r < 20) || (r > 40 && b > 40 && g < 20)) {
          cls[x, y] = "h"; hx[hidden] = x; hy[hidden] = y; hidden++; next
        }
        stray++
        if (shown++ < 5) printf "mode %d stray colour %d %d %d at %d,%d\n", mode, r, g, b, x, y
      }
      END {
        inside = 0
        for (i = 0; i < hidden; i++) {
          edge = 0
          for (dx = -1; dx <= 1; dx++) for (dy = -1; dy <= 1; dy++)
            if (cls[hx[i] + dx, hy[i] + dy] == "k") edge = 1
          if (!edge) { inside++; if (inside <= 5) printf "mode %d hidden hue inside at %d,%d\n", mode, hx[i], hy[i] }
        }
        printf "mode %d black %d faces %d %d %d hidden-hued %d (inside %d) stray %d\n", mode, black, area[0], area[1], area[2], hidden, inside, stray
        bad = stray > 0 || inside > 0 || (mode == 1 && hidden > 0) || hidden > 300
        for (f = 0; f < 3; f++) if (area[f] < 1000) bad = 1
        exit bad
      }' || echo "FAIL: mode $mode colours of the window" >>"$work/failed"
  if [ -f "$work/failed" ]; then
    while read -r line; do fail "${line#FAIL: }"; done <"$work/failed"
    rm -f "$work/failed"
  fi
}

e2e_start_gui 900 "$work/probe.out" "$work/probe.out" "$wine_run" "$probe" "$work"
probe_pid=$e2e_pid

# Up to 90 s: the prefix may be made on first use.
await "drawn 1" 900 || finish
found=$(logged | sed -n 's/^client \([0-9]*\) \([0-9]*\) origin \([0-9-]*\) \([0-9-]*\)$/\1 \2 \3 \4/p')
set -- $found
[ "$1" = 640 ] && [ "$2" = 480 ] || fail "client area is not 640 x 480: $found"
ox=$3 oy=$4
[ -n "$ox" ] && [ -n "$oy" ] || { fail "no window origin"; finish; }
check_mode 1 3

touch "$work/go2"
await "drawn 2" 900 || finish
check_mode 2 6

touch "$work/quit"
if ! e2e_await_exit "$probe_pid"; then
  fail "the probe did not end"
else
  probe_pid=
  [ "$status" -eq 0 ] || fail "exit status $status, want 0"
fi
finish
