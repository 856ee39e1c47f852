#!/bin/sh
# Starts one GUI program of a build tree as a person would (a viewer with
# the sample world, Kitwright with a small configuration beside it) in an X
# server and a Wine prefix of its own, and saves a screenshot of its
# window once it has settled. Two builds' shots are then compared.
# Usage: window_shot.sh BUILD-TREE PROGRAM OUT.png [PREFIX]
#   PROGRAM: lumaview, lumaviewgl or Kitwright
#   PREFIX: the Wine prefix to run in (default: one kept for the shot)
tree=$(CDPATH= cd -- "$1" && pwd) || exit 1
program=$2
case $3 in /*) out=$3 ;; *) out=$PWD/$3 ;; esac
src=$(CDPATH= cd -- "$(dirname -- "$0")/../.." && pwd)
wine_run=$src/tools/wine-run.sh
cd "$tree" || exit 1
. "$src/tests/support/e2e.sh"
pid=
finish() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  e2e_summary
  exit
}
x_args=
[ "$program" = lumaviewgl ] && x_args="+extension GLX"
# shellcheck disable=SC2086
e2e_init "shot_$program" "$wine_run" 1024x768x24 "${4:-keep}" $x_args
# Its window (Wine names the process's pid on each), up to 4 minutes at
# each start: qemu-user is slow to a first window.
launch() {
  e2e_start_gui 2400 "$work/out.log" "$work/out.log" "$@" || { cat "$work/out.log"; finish; }
  pid=$e2e_pid
}
case $program in
  lumaview | lumaviewgl)
    launch "$wine_run" "$tree/viewer/$program.exe" "$src/examples/sample.wrl" ;;
  Kitwright)
    mkdir -p "$work/kit"
    cp "$tree/installer/Kitwright.exe" "$work/kit/"
    printf 'readme\r\n' >"$work/kit/readme.txt"
    printf '[Install]\r\nTitle=Shot Suite\r\nFolder=ShotSuite\r\n1=readme.txt\r\n' >"$work/kit/Kitwright.INF"
    launch "$wine_run" "$work/kit/Kitwright.exe" ;;
  *) fail "unknown program $program"; finish ;;
esac
win=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tail -n 1)
# The sample world's red, green and blue shapes are drawn (a viewer shows
# its window long before its first frame under qemu-user).
shows_world() {
  convert "$1" -depth 8 -sample 160x120 txt:- 2>/dev/null | awk '
    /^[0-9]+,[0-9]+:/ {
      match($0, /\([0-9]+,[0-9]+,[0-9]+/); split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
      if (r > 110 && r > g + 60 && r > b + 60) red++
      if (g > 100 && g > r + 40 && g > b + 20) green++
      if (b > 140 && b > r + 50 && b > g + 30) blue++
    }
    END { exit !(red >= 20 && green >= 20 && blue >= 20) }'
}
ready() {
  case $program in
    Kitwright) [ "$(identify -format %k "$1" 2>/dev/null)" -gt 1 ] 2>/dev/null ;;
    *) shows_world "$1" ;;
  esac
}
# Two shots alike but for a caret (20 pixels at most).
alike() {
  n=$(compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1)
  [ "${n%%.*}" -le 20 ] 2>/dev/null
}
# Settled: ready, and three shots a second apart alike (up to 4 minutes).
same=0 i=0
rm -f "$work/prev.png"
while [ $i -lt 240 ] && [ $same -lt 2 ]; do
  sleep 1
  i=$((i + 1))
  if import -window "$win" "$work/shot.png" 2>/dev/null && ready "$work/shot.png"; then
    if [ -f "$work/prev.png" ] && alike "$work/shot.png" "$work/prev.png"; then same=$((same + 1)); else same=0; fi
    cp "$work/shot.png" "$work/prev.png"
  else
    same=0
    rm -f "$work/prev.png"
  fi
done
[ $same -ge 2 ] || fail "$program: the window did not settle"
cp "$work/shot.png" "$out"
echo "$program: $(identify -format '%wx%h, %k colours' "$out")"
finish
