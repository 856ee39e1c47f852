#!/bin/sh
# Runs the OpenGL probe under Wine (Mesa's llvmpipe in Xvfb): its own
# read-back checks must pass, and a screenshot of the window must show what
# the back buffer held at the sample pixels (the swap reached the screen).
# Usage: gl_e2e.sh probe.exe wine-run.sh prefix-folder
probe=$1 wine_run=$2 prefix=$3
if [ -z "$LV_GL_INNER" ]; then
  LV_GL_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 +extension GLX" sh "$0" "$@"
fi
export LV_WINEPREFIX=$prefix
work=$(pwd)/gl_e2e.d
rm -rf "$work" && mkdir -p "$work"
log=$work/probe.log
failures=0
probe_pid=

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
finish() {
  if [ -n "$probe_pid" ] && kill -0 "$probe_pid" 2>/dev/null; then kill "$probe_pid" 2>/dev/null; fi
  echo "--- probe log"; tr -d '\r' <"$log" 2>/dev/null
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  [ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures check(s) failed"
  [ "$failures" -eq 0 ]
  exit
}
logged() { [ -f "$log" ] && tr -d '\r' <"$log"; }
await() {
  i=0
  while [ $i -lt 900 ]; do
    logged | grep -qxF "$1" && return 0
    i=$((i + 1)); sleep 0.1
  done
  fail "probe never logged: $1"; return 1
}
pixel() {
  convert "$work/client.png" -crop "1x1+$1+$2" -depth 8 txt: 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p' | head -n 1
}
near() { d=$(($1 - $2)); [ ${d#-} -le 6 ]; }

"$wine_run" "$probe" "$work" >"$work/probe.out" 2>&1 &
probe_pid=$!

await "drawn" || finish
logged | grep '^check .* FAIL$'
n=$(logged | grep -c '^check .* FAIL$')
[ "$n" -eq 0 ] || fail "$n read-back check(s) failed in the probe"
[ "$(logged | grep -c '^check .* ok$')" -ge 14 ] || fail "the probe made too few checks"
found=$(logged | sed -n 's/^client \([0-9]*\) \([0-9]*\) origin \([0-9-]*\) \([0-9-]*\)$/\1 \2 \3 \4/p')
set -- $found
[ "$1" = 640 ] && [ "$2" = 480 ] || fail "client area is not 640 x 480: $found"
ox=$3 oy=$4
[ -n "$ox" ] && [ -n "$oy" ] || { fail "no window origin"; finish; }

sleep 2
import -window root "$work/shot.png" 2>/dev/null
convert "$work/shot.png" -crop "640x480+$ox+$oy" +repage "$work/client.png" 2>/dev/null
samples=$(logged | grep -c '^sample ')
[ "$samples" -ge 6 ] || fail "only $samples samples logged"
logged | grep '^sample ' >"$work/samples"
while read -r _ name x y r g b; do
  got=$(pixel "$x" "$y")
  set -- $got
  echo "sample $name at $x,$y: screen $got, back buffer $r $g $b"
  if [ $# -ne 3 ] || ! near "$1" "$r" || ! near "$2" "$g" || ! near "$3" "$b"; then
    fail "screen differs from the back buffer at $name"
  fi
done <"$work/samples"

touch "$work/quit"
i=0
while kill -0 "$probe_pid" 2>/dev/null && [ $i -lt 300 ]; do i=$((i + 1)); sleep 0.1; done
if kill -0 "$probe_pid" 2>/dev/null; then
  fail "the probe did not end"
else
  wait "$probe_pid"; status=$?
  probe_pid=
  [ "$status" -eq 0 ] || fail "exit status $status, want 0"
fi
finish
