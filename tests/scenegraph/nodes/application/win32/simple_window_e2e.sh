#!/bin/sh
# Runs an application built on the simple-window frame under Wine: it must
# show its red box on a black ground, report a left click, end with status 1
# once its window is closed (Yes to the question), and in a second run end
# its loop on Escape with status 50. Runs in an X server and a Wine prefix
# of its own.
# Usage: simple_window_e2e.sh app.exe driver.exe wine-run.sh prefix scene.wrl
app=$1 driver=$2 wine_run=$3 prefix=$4 scene=$5
. "$(dirname "$0")/../../../../support/e2e.sh"
e2e_init simple_window "$wine_run" 1024x768x24 "$prefix"
app_pid=

finish() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill "$app_pid" 2>/dev/null; fi
  for r in "$work"/run*; do
    [ -d "$r" ] || continue
    echo "--- ${r##*/} log"; tr -d '\r' 2>/dev/null <"$r/app.log"
    echo "--- ${r##*/} output"; tr -d '\r' 2>/dev/null <"$r/app.out" | tail -n 20
  done
  e2e_summary
  exit
}
# The app's log, for the shared await.
logged() { tr -d '\r' 2>/dev/null <"$run/app.log"; }
# Starts the app with its log in the folder $1 of the work folder.
start_app() {
  run=$work/$1
  mkdir -p "$run"
  e2e_start_gui 900 "$run/app.out" "$run/app.out" "$wine_run" "$app" "$scene" "$run"
  app_pid=$e2e_pid
}
# Waits up to 30 s for the app to end; its exit status in $status.
await_end() {
  if ! e2e_await_exit "$app_pid"; then
    fail "the app did not end $1"; status=none; return 1
  fi
  app_pid=
  echo "exit status $status $1"
}

# --- first run: the picture, a click, and closing the window
start_app run1
await "drawn" 900 || finish   # the prefix may be made on first use
found=$(logged | sed -n 's/^client \([0-9]*\) \([0-9]*\) origin \([0-9-]*\) \([0-9-]*\)$/\1 \2 \3 \4/p')
set -- $found
[ "$1" = 640 ] && [ "$2" = 480 ] || fail "client area is not 640 x 480: $found"
ox=$3 oy=$4
[ -n "$ox" ] && [ -n "$oy" ] || { fail "no window origin"; finish; }

sleep 1
e2e_shot "$run/client.png" "640x480+$ox+$oy"
# Red: the box's lit faces; black: the cleared ground; anything else is
# stray. The box sits in the middle and leaves the corners black.
counts=$(convert "$run/client.png" -depth 8 txt: 2>/dev/null |
  awk -F '[,:() ]+' '
    /^[0-9]/ {
      x = $1; y = $2; r = $3; g = $4; b = $5
      if (r <= 10 && g <= 10 && b <= 10) { black++; k = "k" }
      else if (r >= 100 && g <= 40 && b <= 40) { red++; k = "r" }
      else { stray++; k = "s" }
      if (x == 320 && y == 240) centre = k
      if ((x == 5 || x == 634) && (y == 5 || y == 474)) corners = corners k
    }
    END { printf "red %d black %d stray %d centre %s corners %s\n", red, black, stray, centre, corners }')
echo "$counts"
set -- $counts
[ "$2" -ge 10000 ] 2>/dev/null || fail "too little red: $counts"
[ "$4" -ge 100000 ] 2>/dev/null || fail "too little black ground: $counts"
[ "$6" -le 2000 ] 2>/dev/null || fail "stray colours: $counts"
[ "$8" = r ] || fail "the middle of the window is not red"
[ "${10}" = kkkk ] || fail "the corners are not black"

drive down
await "left down"
drive up
await "left up"

answer=$(drive close-yes)
echo "$answer"
echo "$answer" | grep -qx "answered yes" || fail "the close question was not found"
if await_end "after closing"; then
  [ "$status" -eq 1 ] || fail "exit status after closing is $status, want 1"
fi
logged | grep -q '^loop ' && fail "the loop returned instead of the process ending"

# --- second run: Escape ends the loop
start_app run2
await "drawn" 600 || finish
drive key 27
if await_end "after Escape"; then
  [ "$status" -eq 50 ] || fail "exit status after Escape is $status, want 50"
fi
await "loop 50" 10
finish
