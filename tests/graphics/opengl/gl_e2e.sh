#!/bin/sh
# Runs the OpenGL probe under Wine (Mesa's llvmpipe in Xvfb): its own
# read-back checks must pass, and a screenshot of the window must show what
# the back buffer held at the sample pixels (the swap reached the screen).
# Usage: gl_e2e.sh probe.exe wine-run.sh prefix-folder
probe=$1 wine_run=$2 prefix=$3
. "$(dirname "$0")/../../support/e2e.sh"
e2e_init gl "$wine_run" 1024x768x24 "$prefix" +extension GLX
log=$work/probe.log

pixel() { e2e_rgb "$work/client.png" "$1" "$2"; }
near() { d=$(($1 - $2)); [ ${d#-} -le 6 ]; }

e2e_start_gui 900 "$work/probe.out" "$work/probe.out" "$wine_run" "$probe" "$work"
probe_pid=$e2e_pid

await "drawn" 900 || finish
logged | grep '^check .* FAIL$'
n=$(logged | grep -c '^check .* FAIL$')
[ "$n" -eq 0 ] || fail "$n read-back check(s) failed in the probe"
[ "$(logged | grep -c '^check .* ok$')" -ge 15 ] || fail "the probe made too few checks"
found=$(logged | sed -n 's/^client \([0-9]*\) \([0-9]*\) origin \([0-9-]*\) \([0-9-]*\)$/\1 \2 \3 \4/p')
set -- $found
[ "$1" = 640 ] && [ "$2" = 480 ] || fail "client area is not 640 x 480: $found"
ox=$3 oy=$4
[ -n "$ox" ] && [ -n "$oy" ] || { fail "no window origin"; finish; }

sleep 2
e2e_shot "$work/client.png" "640x480+$ox+$oy"
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
if ! e2e_await_exit "$probe_pid"; then
  fail "the probe did not end"
else
  probe_pid=
  [ "$status" -eq 0 ] || fail "exit status $status, want 0"
fi
finish
