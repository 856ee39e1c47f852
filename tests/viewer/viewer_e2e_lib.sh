# What the viewer's end-to-end scripts share, sourced by each after
# e2e_init: starting and stopping the viewer, its place on the screen,
# screenshots and their colours, driver actions and the menu command ids.
# Expects $viewer, $driver, $wine_run and $src.
data=$src/tests/viewer/data
pid=
log=

stop() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null; fi
  pid=
}
finish() {
  stop
  e2e_summary
  exit
}

# Windows form of a path of this machine (drive Z: is the root).
winpath() { echo "Z:$1" | tr '/' '\\'; }
# Runs a driver action and fails unless its output has the line.
expect() {
  want=$1; shift
  out=$(drive "$@")
  echo "$out" | grep -qxF "$want" || { fail "$* gave no '$want'"; echo "$out"; return 1; }
}
# Starts the viewer and waits (up to 60 s) for its first window.
start() {
  log=$work/viewer$1.log; shift
  e2e_start_gui 600 "$log.out" "$log" "$wine_run" "$viewer" "$@"
  pid=$e2e_pid
}
# Waits up to 30 s for the viewer's process to end; its exit status.
await_exit() {
  e2e_await_exit "$pid" || { fail "viewer did not end"; stop; return; }
  pid=
  echo "exit status $status"
  [ "$status" -eq 1 ] || fail "exit status is $status, want 1"
}
place() {
  found=$(drive find)
  echo "$found"
  # 640 x 480 less the menu bar (the window is widened without a menu).
  cw=$(echo "$found" | sed -n 's/^client \([0-9]*\) .*/\1/p')
  ch=$(echo "$found" | sed -n 's/^client [0-9]* \([0-9]*\)$/\1/p')
  [ "$cw" = 640 ] && [ "${ch:-0}" -gt 440 ] && [ "$ch" -le 480 ] || fail "client area is not 640 x 480 less the menu"
  ox=$(echo "$found" | sed -n 's/^origin \([0-9-]*\) .*/\1/p')
  oy=$(echo "$found" | sed -n 's/^origin [0-9-]* \([0-9-]*\)$/\1/p')
  [ -n "$ox" ] || { fail "no window"; finish; }
}
# Screenshot of the client area into $work/$1.png, at once.
snap() {
  e2e_shot "$work/$1.png" "${cw}x$ch+$ox+$oy"
}
# Waits (up to 20 s) until two screenshots half a second apart agree, so
# that the viewer has caught up with what was sent; static scenes only.
settle() { e2e_settled_shot "$work/settle.png" "${cw}x$ch+$ox+$oy"; }
shot() { settle; cp "$work/settle.png" "$work/$1.png"; }
# A menu command once the viewer is idle.
cmd() { settle; drive cmd "$1" >/dev/null; }
# Counts of red, green, blue, white and the given hex colour's pixels of an
# image, sampled down to 160 x 120.
colours() {
  convert "$1" -depth 8 -sample 160x120 txt:- 2>/dev/null | awk -v want="$2" '
    /^[0-9]+,[0-9]+:/ {
      match($0, /#[0-9A-Fa-f]+/); h = substr($0, RSTART + 1, 6)
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
      if (r > 110 && r > g + 60 && r > b + 60) red++
      if (g > 100 && g > r + 40 && g > b + 20) green++
      if (b > 140 && b > r + 50 && b > g + 30) blue++
      if (r > 240 && g > 240 && b > 240) white++
      if (toupper(h) == toupper(want)) same++
    }
    END { printf "red %d green %d blue %d white %d want %d\n", red, green, blue, white, same }'
}
count_of() { colours "$1" "$3" | sed -n "s/.*$2 \([0-9]*\).*/\1/p"; }
# The mean x of the red pixels (sampled), -1 without any.
red_x() {
  convert "$1" -depth 8 -sample 160x120 txt:- 2>/dev/null | awk '
    /^[0-9]+,[0-9]+:/ {
      split($1, xy, ",")
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
      if (r > 110 && r > g + 60 && r > b + 60) { n++; s += xy[1] }
    }
    END { if (n) printf "%d\n", s / n; else print -1 }'
}
shapes_visible() {
  c=$(colours "$work/$1.png")
  echo "$1: $c"
  for k in red green blue; do
    n=$(echo "$c" | sed -n "s/.*$k \([0-9]*\).*/\1/p")
    [ "${n:-0}" -ge 20 ] || fail "$1: too few $k pixels ($n)"
  done
}
# At most 100 pixels differ by more than a little.
similar_image() {
  n=$(compare -metric AE -fuzz 8% "$work/$1.png" "$work/$2.png" null: 2>&1)
  echo "$1 / $2: $n pixels differ"
  [ "${n%%.*}" -le 100 ] 2>/dev/null
}
await_file() {
  i=0
  while [ ! -s "$1" ] && [ $i -lt 100 ]; do i=$((i + 1)); sleep 0.1; done
  [ -s "$1" ] || { fail "no file $1"; return 1; }
}

EXIT=16384 OPEN=16385 CLOSE=16386 ABOUT=16388 EXAMINER=16389 RESET=16391 NEXT=16392
ZOOM=16394 SETBG=16404 USEBG=16405 TIF=16406 BMP=16407 PS=16408 SRF=16409 WRL=16410
EXTRA=16411 QUALITY=16412 HELP=16413

# Takes screenshots named $1 until the condition $2 (shell text) holds; up
# to 20 s, then the failure $3.
await_shot() {
  i=0
  while [ $i -lt 40 ]; do
    snap "$1"
    eval "$2" >/dev/null 2>&1 && return 0
    i=$((i + 1)); sleep 0.5
  done
  fail "$3"; return 1
}
has_shapes() {
  c=$(colours "$work/$1.png")
  for k in red green blue; do
    n=$(echo "$c" | sed -n "s/.*$k \([0-9]*\).*/\1/p")
    [ "${n:-0}" -ge 20 ] || return 1
  done
}
no_shapes() { colours "$work/$1.png" | grep -q "red 0 green 0 blue 0"; }
has_text() { [ "$(count_of "$work/$1.png" white)" -gt 0 ] && no_shapes "$1"; }
magenta() { count_of "$work/$1.png" want FF00FF; }
