#!/bin/sh
# Opens the probe's window under Wine and checks it from outside: client
# size, system-menu depth items, surfaces and their colours on the screen,
# keys, the close question and the exit status, and the argument vector.
# Usage: window_e2e.sh probe.exe driver.exe wine-run.sh
probe=$1 driver=$2 wine_run=$3
. "$(dirname "$0")/../../support/e2e.sh"
e2e_init window "$wine_run"
log=$work/probe.log

# An action on the window, then what the probe logs after it.
act() { set_mark; drive "$@"; }
# Waits up to 30 s for the screen pixel at $1,$2 to read $3 (e.g. #00FF00).
await_pixel() {
  i=0
  while [ $i -lt 30 ]; do
    e2e_shot "$work/shot.png"
    got=$(e2e_pixel "$work/shot.png" "$1" "$2")
    [ "$got" = "$3" ] && { echo "pixel $1,$2 $got"; return 0; }
    i=$((i + 1)); sleep 1
  done
  fail "pixel $1,$2 is $got, want $3"; return 1
}

e2e_start_gui 900 "$work/probe.out" "$work/probe.out" "$wine_run" "$probe" "$log" "two words" third
probe_pid=$e2e_pid

# The window and its client area.
found=$(drive find)
echo "$found"
echo "$found" | grep -qx "client 640 480" || fail "client area is not 640 x 480"
ox=$(echo "$found" | sed -n 's/^origin \([0-9-]*\) \([0-9-]*\)$/\1/p')
oy=$(echo "$found" | sed -n 's/^origin \([0-9-]*\) \([0-9-]*\)$/\2/p')
[ -n "$ox" ] && [ -n "$oy" ] || { fail "no window origin"; finish; }
px=$((ox + 320)) py=$((oy + 240))

# The argument vector from the real command line.
await "argc 4"
tr -d '\r' <"$log" | grep -q '^argv\[0\] .*pw_window_probe\.exe$' || fail "argv[0] is not the program"
await "argv[2] two words"
await "argv[3] third"

# Start-up: "Same as display" on a 32-bit screen gives a 16-bit surface.
await "surface bpp 16 width 1024 height 480 area 640 480 fresh 1"
await "menu [256 Colors]=0 [32K Colors]=0 [Same as display]=1"
await_pixel $px $py "#00FF00"

# "256 Colors": an 8-bit surface through the palette, red on the screen.
act sys 20000
await "surface bpp 8 width 1024 height 480 area 640 480 fresh 1"
await "menu [256 Colors]=1 [32K Colors]=0 [Same as display]=0"
await_pixel $px $py "#FF0000"

# "32K Colors": rebuilt at 16 bits.
act sys 20001
await "surface bpp 16 width 1024 height 480 area 640 480 fresh 1"
await "menu [256 Colors]=0 [32K Colors]=1 [Same as display]=0"
await_pixel $px $py "#00FF00"

# A system command beside the three is none of them: nothing is rebuilt.
act sys 20016
await "surface bpp 16 width 1024 height 480 area 640 480 fresh 0"
await "menu [256 Colors]=0 [32K Colors]=1 [Same as display]=0"

# "Same as display": a new surface even at the same 16 bits.
act sys 20002
await "surface bpp 16 width 1024 height 480 area 640 480 fresh 1"
await "menu [256 Colors]=0 [32K Colors]=0 [Same as display]=1"

# Keys: 'A' queues 23, F11 queues 0, Delete 58, keypad 5 gives 68.
act key 65; await "key 23"
act key 122; await "key 0"
act key 46; await "key 58"
act key 101; await "key 68"

# The close question: No keeps the window, Yes ends with status 1.
answer=$(drive close-no)
echo "$answer"
echo "$answer" | grep -qx "question found" || fail "close question text not found"
echo "$answer" | grep -qx "window alive" || fail "No did not keep the window"
kill -0 "$probe_pid" 2>/dev/null || fail "the probe ended after No"

drive close-yes
if ! e2e_await_exit "$probe_pid"; then
  fail "the probe did not end after Yes"
else
  probe_pid=
  echo "exit status $status"
  [ "$status" -eq 1 ] || fail "exit status after Yes is $status, want 1"
fi
finish
