#!/bin/sh
# Failures as a user meets them in the real lumaview under Wine: a file read
# with errors, export sizes that cannot be written, exports into a folder
# that cannot be written, devices and missing files named as files, a world
# far deeper than its text closed, files that are empty or no text opened,
# and a file named outside the ANSI code page. Every wait has a timeout.
# Usage: viewer_failures_e2e.sh viewer.exe driver.exe wine-run.sh source-dir [name]
viewer=$1 driver=$2 wine_run=$3 src=$4
. "$(dirname "$0")/../support/e2e.sh"
# A folder left locked by a run that was killed would stop the clean-up.
stale=$(pwd)/${5:-viewer}_failures_e2e.d/locked
if [ -d "$stale" ]; then
  [ "$(id -u)" != 0 ] || chattr -i "$stale" 2>/dev/null
  chmod u+w "$stale"
fi
e2e_init "${5:-viewer}_failures" "$wine_run"
. "$(dirname "$0")/viewer_e2e_lib.sh"

BOX="QM VRML 2.0 VIEWER"

# Makes a folder that no one can write in (chmod alone does not stop root).
lock_folder() { chmod a-w "$1"; [ "$(id -u)" != 0 ] || chattr +i "$1" 2>/dev/null; }
unlock_folder() { [ "$(id -u)" != 0 ] || chattr -i "$1" 2>/dev/null; chmod u+w "$1"; }
folder_locked() { if touch "$1/.probe" 2>/dev/null; then rm -f "$1/.probe"; return 1; fi; }
# Presses OK on the program's box; fails unless its text has $1.
box_says() {
  out=$(drive dialog "$BOX" press 1)
  printf '%s\n' "$out" | grep -qiF -- "$1" || { fail "no box saying '$1'"; printf '%s\n' "$out"; }
}

# --- Run 1: a file cut short in a node, with an unknown node before: what
# was read is shown, and one box tells the statement skipped and the line
# from which the rest was lost.
start 1 "$data/truncated.wrl"
place
out=$(drive dialog "$BOX" press 1)
for line in "Statements skipped: 1 (the first at line 3)." \
    "The rest of the file, from line 4 on, was not read: a bracket there does not match."; do
  printf '%s\n' "$out" | grep -qF -- "$line" || { fail "the read-error box lacks '$line'"; printf '%s\n' "$out"; }
done
[ "$(drive count "$BOX")" = "count 0" ] || fail "more than one box for the file's errors"
# The box read before the cut fills much of the dark grey background.
await_shot truncated '[ "$(count_of "$work/truncated.png" want 202020)" -lt 15000 ]' \
  "what the truncated file could read is not shown"

# A size that cannot be written is refused as it is typed, with the range.
cmd $TIF
expect "closed" filedlg "EXPORT TIF(24bit)" "$(winpath "$work/zero.tif")"
expect "closed" dialog Resolution set 1006 0 set 1007 0 press 1004
box_says "from 1 to 4096"
expect "closed" dialog Resolution press 1005
sleep 1
[ ! -e "$work/zero.tif" ] || fail "a TIF of 0 x 0 was written"

# Exports into a folder that cannot be written: a box naming the file, and
# the folder (an old file in it too) exactly as it was.
ro=$work/locked
mkdir -p "$ro"
printf 'the old picture\n' >"$ro/old.bmp"
trap 'unlock_folder "$ro"; e2e_cleanup' EXIT
lock_folder "$ro"
if folder_locked "$ro"; then
  before=$(ls -la --time-style=full-iso "$ro"; md5sum <"$ro/old.bmp")
  cmd $TIF
  expect "closed" filedlg "EXPORT TIF(24bit)" "$(winpath "$ro/new.tif")"
  expect "closed" dialog Resolution set 1006 64 set 1007 48 press 1004
  box_says "new.tif"
  cmd $BMP
  expect "closed" filedlg "EXPORT BMP(24bit)" "$(winpath "$ro/old.bmp")"
  expect "closed" dialog Confirm press 1005
  expect "closed" dialog Resolution press 1004
  box_says "old.bmp"
  cmd $WRL
  expect "closed" filedlg "EXPORT WRL" "$(winpath "$ro/scene.wrl")"
  box_says "scene.wrl"
  after=$(ls -la --time-style=full-iso "$ro"; md5sum <"$ro/old.bmp")
  [ "$before" = "$after" ] || fail "the locked folder changed: $before / $after"
else
  echo "NOTE: no folder could be locked here; the read-only exports were not tried"
fi
unlock_folder "$ro"
drive close yes >/dev/null
await_exit

# --- Run 2: a device named on the command line fails silently, and the
# viewer stays; one chosen in the Open dialog, or a name that does not
# exist, is told as what it is; a file whose EXTERNPROTOs name devices
# loads without waiting on them, each told as a skipped statement.
start 2 NUL
place
await_shot nul 'has_text nul' "the viewer did not stay, showing no file, after NUL"
[ "$(drive count "$BOX")" = "count 0" ] || fail "a box for a command-line file"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$work/none.wrl")"
box_says "The file was not found."
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$work")\\COM1"
box_says "This is not a regular file (a folder, a device or a pipe)."
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$data/devices.wrl")"
box_says "Statements skipped: 2 (the first at line 2)."
await_shot devices 'has_shapes devices' "the file naming devices in EXTERNPROTOs was not shown"
grep -q "Not a regular file: COM1" "$log" || fail "no report of the COM1 EXTERNPROTO"
grep -q "Not a regular file: NUL" "$log" || fail "no report of the NUL EXTERNPROTO"
# A page that the window's shape would make 0 high is refused as it is typed.
cmd $PS
expect "closed" filedlg "EXPORT PS" "$(winpath "$work/thin.ps")"
expect "closed" dialog Resolution set 1006 1 set 1007 300 press 1004
box_says "The width must be at least 2."
expect "closed" dialog Resolution press 1005
sleep 1
[ ! -e "$work/thin.ps" ] || fail "a page of 1 x 300 was written"
drive close yes >/dev/null
await_exit

# --- Run 4: a world 99,000 levels deep through USE (never more than 990 in
# its text) opens from the command line and is drawn, and CloseFile frees
# it: the viewer stays. Files that are empty or random bytes, chosen in the
# Open dialog, are told for what they are, and nothing is loaded.
LC_ALL=C awk 'BEGIN {
  print "#VRML V2.0 utf8"
  for (k = 0; k < 100; k++) {
    printf "DEF N%d ", k
    for (i = 0; i < 990; i++) printf "Group{children "
    if (k == 0) printf "Shape{appearance Appearance{material Material{diffuseColor 1 0 0}} geometry Box{}}"
    else printf "USE N%d", k - 1
    for (i = 0; i < 990; i++) printf "}"
    print ""
  }
}' >"$work/deep.wrl"
: >"$work/empty.wrl"
# Bytes of no text: the first is none that a header or gzip begins with.
LC_ALL=C awk 'BEGIN { srand(7); printf "%c", 147; for (i = 0; i < 4096; i++) printf "%c", int(rand() * 256) }' \
  >"$work/random.wrl"
start 4 "$work/deep.wrl"
place
await_shot deep '[ "$(count_of "$work/deep.png" red)" -gt 100 ]' "the deep world was not drawn"
[ "$(drive count "$BOX")" = "count 0" ] || fail "a box for the deep world"
cmd $CLOSE
await_shot deepclosed 'has_text deepclosed' "CloseFile did not leave only the no-file text after the deep world"
kill -0 "$pid" 2>/dev/null || fail "the viewer ended as it freed the deep world"
grep -q "stack overflow" "$log" && fail "a stack overflow freeing the deep world"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$work/empty.wrl")"
out=$(drive dialog Message press 1003)
echo "$out" | grep -qF "[The file is empty.]" || fail "empty file message: $out"
echo "$out" | grep -qF "compressed" && fail "an empty file was called compressed: $out"
cmd $OPEN
expect "closed" filedlg "Open File" "$(winpath "$work/random.wrl")"
out=$(drive dialog Message press 1003)
echo "$out" | grep -qF "[This is not a VRML 2.0 file:]" || fail "random bytes message: $out"
echo "$out" | grep -qF "compressed" && fail "random bytes were called compressed: $out"
await_shot refused4 'has_text refused4' "an empty or random file was loaded"
[ "$(drive count "$BOX")" = "count 0" ] || fail "a load-failure box after the header's message"
drive close yes >/dev/null
await_exit

# --- Run 3: a file named in CJK characters opens from the command line.
cjk=$work/世界.wrl
cp "$src/examples/sample.wrl" "$cjk"
LC_ALL=C.UTF-8
export LC_ALL
start 3 "$cjk"
place
await_shot cjk 'has_shapes cjk' "the file named in CJK characters did not open"
[ "$(drive count "$BOX")" = "count 0" ] || fail "a box for the file named in CJK characters"
drive close yes >/dev/null
await_exit

finish
