#!/bin/sh
# Installs a small product with the real Kitwright.exe under Wine, driving
# the wizard as a person would, checks the files, the uninstall entry and
# the shortcuts, then uninstalls it twice through the registered command:
# once while the program still runs (stops and keeps the entry), once
# after it has ended (removes everything but a file the user keeps). Copies
# that are not the installed one may not uninstall, and what is not the
# install's own (a shortcut in a group of the same name, a system file of
# the installer's name, registry keys, files behind a link) stays: the
# prefix's files and keys are compared before and after. A second product
# on a mapped drive meets what a person or a stale entry can produce: a
# location spelled "Q:\.\", a link inside the install folder and a foreign
# desktop link of its name.
# Usage: kitwright_e2e.sh Kitwright.exe driver.exe probe_app.exe wine-run.sh
kitwright=$1 driver=$2 probe=$3 wine_run=$4
# The install writes the registry and the drives: a fresh prefix each run.
. "$(dirname "$0")/../support/e2e.sh"
e2e_init kitwright "$wine_run" 1280x1024x24 fresh
. "$(dirname "$0")/kw_snapshot.sh"
# The new prefix's Desktop and Documents are links to the Linux home: the
# test's shortcuts and deletions stay inside the prefix, and its listings see them.
kw_real_profiles
mkdir -p "$work/src/docs" "$work/markers"
pids=

finish() {
  for p in $pids; do kill "$p" 2>/dev/null; done
  e2e_summary
  exit
}

w() { timeout 60 "$wine_run" "$@" 2>/dev/null | tr -d '\r'; }
# Runs a driver action and fails the test when it does.
must() { out=$(drive "$@") || fail "driver $*: $out"; printf '%s\n' "$out"; }
unix() { w winepath -u "$1"; }
windows_path() { echo "Z:$1" | tr '/' '\\'; }
reg_exists() { timeout 60 "$wine_run" reg query "$1" >/dev/null 2>&1; }
reg_value() { w reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_SZ *//p"; }

title="KwTest Suite"
sheet="$title Installation"
folder=KwTestSuite
location='C:\KwTest e2e\Deep\App\'
ukey="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$folder"

cp "$kitwright" "$work/src/Kitwright.exe"
cp "$probe" "$work/src/app.exe"
cp "$probe" "$work/src/open.exe"
printf 'readme\r\n' >"$work/src/docs/readme.txt"
cat >"$work/src/Kitwright.INF" <<INF
[Install]
Title=$title
Folder=$folder
1=app.exe
2=docs\\readme.txt,doc\\readme.txt
3=open.exe,sub\\open.exe
Open=sub\\open.exe
[Group]
1=KwTest App,app.exe
2=KwTest Uninstall,Kitwright.exe,/r
[Reg]
1=HKEY_CURRENT_USER\\Software\\KwTest\\Suite
2=HKEY_USERS\\.DEFAULT\\Software\\KwTestSuite
3=HKEY_CURRENT_USER\\\\Software\\KwForeign
INF

# A clean slate from earlier runs of this test in the same prefix.
w reg delete "$ukey" /f >/dev/null
loc_unix=$(unix "$location")
rm -rf "$(dirname "$(dirname "$loc_unix")")"
programs=$(unix "$(w reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Programs | sed -n 's/^ *Programs *REG_SZ *//p')")
desktop_win=$(w reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Desktop | sed -n 's/^ *Desktop *REG_SZ *//p')
desktop=$(unix "$desktop_win")
[ -d "$programs" ] && [ -d "$desktop" ] || fail "no Programs or Desktop folder ($programs, $desktop)"
rm -rf "$programs/$title" "$desktop/$title.lnk"
w reg add 'HKCU\Software\KwTest\Suite\Nested\Deeper' /v x /d 1 /f >/dev/null
reg_exists 'HKCU\Software\KwTest\Suite\Nested\Deeper' || fail "could not make the Reg key"

# Others' things: a shortcut in a group that has the product's title, a
# system file of the installer's name, keys beside the Reg entry's and
# under the one a backslash-led entry would reach, files behind a link.
system_dir=$(unix 'C:\windows\system32')
mkdir -p "$programs/$title" "$work/outside"
printf 'foreign shortcut' >"$programs/$title/Foreign.lnk"
printf 'foreign system file' >"$system_dir/Kitwright.exe"
printf 'precious' >"$work/outside/precious.txt"
w reg add 'HKCU\Software\KwTestSuiteForeign\Kept' /v y /d 2 /f >/dev/null
w reg add 'HKCU\Software\KwForeign\Kept' /v z /d 3 /f >/dev/null
# Every entry of the prefix's drive (profiles included) and both hives.
snapshot() { kw_snapshot "$1"; }
# Fails unless the two snapshots differ only in file lines matching the
# extended pattern $3 and registry lines matching $4.
same_snapshots() { kw_same "$@"; }
snapshot before

# Not installed yet: asking to uninstall deletes nothing.
"$wine_run" "$work/src/Kitwright.exe" /r >>"$work/uninstall.out" 2>&1 &
pids="$!"
must box "\"$title\" is not installed. Nothing was deleted." 1

export KW_MARKER_DIR="$(windows_path "$work/markers")"
"$wine_run" "$work/src/Kitwright.exe" >"$work/install.out" 2>&1 &
install_pid=$!
pids="$pids $install_pid"

# Page 1: the location.
must wait "$sheet"
must text "$sheet" 1000 | grep -qxF "text Specify the install location of $title." || fail "location label"
must text "$sheet" 1001 | grep -qxF 'text C:\Program Files\KwTestSuite\' || fail "default location"
# Browse opens the folder browser; Cancel leaves the location as it was.
must press "$sheet" 1002
must wait Browse
must press Browse 2
must gone Browse
must text "$sheet" 1001 | grep -qxF 'text C:\Program Files\KwTestSuite\' || fail "Browse changed the location"
must set "$sheet" 1001 'Soft'
must press "$sheet" 12324
must box 'Specify fullpath name including drive letter. Such as "C:\Soft".' 1
must set "$sheet" 1001 'C:'
must press "$sheet" 12324
must box 'Cannot install in the root directory.' 1
must set "$sheet" 1001 'C:\KwTest e2e\Deep\App'
must press "$sheet" 12324

# Page 2: the options; the location was proven by making its levels and
# taking them back.
must visible "$sheet" 1006 1
[ -d "$(dirname "$(dirname "$loc_unix")")" ] && fail "the location's proof left the levels it made"
must check "$sheet" 1005 1
must press "$sheet" 12324

# Page 3: the progress, then the completion text.
must wait-text "$sheet" 1008 "Installation Completed. Press COMPLETE to launch."
must visible "$sheet" 1012 1
must visible "$sheet" 1003 0

for f in app.exe doc/readme.txt sub/open.exe Kitwright.exe Kitwright.INF; do
  [ -f "$loc_unix/$f" ] || fail "not installed: $f"
done
cmp -s "$work/src/docs/readme.txt" "$loc_unix/doc/readme.txt" || fail "readme differs"
[ "$(reg_value "$ukey" DisplayName)" = "$title" ] || fail "DisplayName"
uninstall=$(reg_value "$ukey" UninstallString)
printf 'UninstallString %s\n' "$uninstall"
[ "$uninstall" = "\"${location}Kitwright.exe\" /r" ] || fail "UninstallString is $uninstall"
for f in "$programs/$title/KwTest App.lnk" "$programs/$title/KwTest Uninstall.lnk" "$desktop/$title.lnk"; do
  # Wine's desktop may hold a link open for a moment and lag its change.
  e2e_wait 100 test -s "$f" || fail "no shortcut $f"
done
grep -qa 'app.exe' "$programs/$title/KwTest App.lnk" || fail "program link does not name app.exe"
grep -qa 'Kitwright.exe' "$programs/$title/KwTest Uninstall.lnk" || fail "uninstall link does not name Kitwright.exe"
[ -f "$programs/$title/Foreign.lnk" ] || fail "the install lost the group's foreign shortcut"

# Finish starts the program in its folder and opens the document.
must press "$sheet" 12325
i=0
while { [ ! -f "$work/markers/app.exe.started" ] || [ ! -f "$work/markers/open.exe.started" ]; } && [ $i -lt 300 ]; do
  i=$((i + 1)); sleep 0.1
done
[ -f "$work/markers/app.exe.started" ] || fail "the program was not started"
[ -f "$work/markers/open.exe.started" ] || fail "the document was not opened"
tr -d '\r' <"$work/markers/app.exe.started" | grep -qixF 'C:\KwTest e2e\Deep\App' || fail "program's folder: $(cat "$work/markers/app.exe.started")"
i=0
while kill -0 "$install_pid" 2>/dev/null && [ $i -lt 300 ]; do i=$((i + 1)); sleep 0.1; done
kill -0 "$install_pid" 2>/dev/null && fail "the installer did not end"
must close "Kw Probe open.exe"

# The copy that was downloaded is not the installed one: it refuses and
# deletes nothing.
snapshot installed
"$wine_run" "$work/src/Kitwright.exe" /r >>"$work/uninstall.out" 2>&1 &
pids="$pids $!"
must box "\"$(windows_path "$work/src/Kitwright.exe")\" is not the installed copy of \"$title\", which is \"${location}Kitwright.exe\". Nothing was deleted." 1
e2e_wait 100 sh -c "! kill -0 $! 2>/dev/null" || fail "the refusing copy did not end"
snapshot refused
same_snapshots installed refused

# The registered command, as Add/Remove Programs would run it.
exe=$(printf "%s\n" "$uninstall" | sed 's/^"\(.*\)" \/r$/\1/')
uninstall_once() {
  "$wine_run" "$exe" /r >>"$work/uninstall.out" 2>&1 &
  pids="$pids $!"
  out=$(must box "Delete \"$title\"" 1)
  printf '%s\n' "$out" | grep -qx 'default 2' || fail "the removal question's default: $out"
}

# First uninstall with the program running: it stops and keeps the entry.
uninstall_once
must box "Failed to delete ${location}app.exe. Skipping this file." 1
must box "Failed to delete \"${location}app.exe\". Quit \"$title\" and retry uninstallation." 1
must wait-text "$title*" 1010 "$location contains some files. Delete manually later."
must wide-caption "$title*" | grep -qxF "caption ${title}の削除" || fail "uninstall caption"
must press "$title*" 2
must gone "$title*"
[ "$(reg_value "$ukey" DisplayName)" = "$title" ] || fail "the entry went with the program still running"
[ -s "$programs/$title/KwTest App.lnk" ] || fail "the shortcuts went with the program still running"
[ -f "$loc_unix/app.exe" ] || fail "the running program was deleted"
# The registry goes only after every file: the advised retry finds it all.
reg_exists 'HKCU\Software\KwTest\Suite\Nested\Deeper' || fail "the Reg key went with the program still running"

# The program's shortcut starts it in its own folder.
must close "Kw Probe app.exe"
must gone "Kw Probe app.exe"
rm -f "$work/markers/app.exe.started"
(cd "$work" && timeout 60 "$wine_run" start /unix "$programs/$title/KwTest App.lnk" >>"$work/start.out" 2>&1)
e2e_wait 300 test -f "$work/markers/app.exe.started" || fail "the shortcut did not start the program"
tr -d '\r' <"$work/markers/app.exe.started" | grep -qixF 'C:\KwTest e2e\Deep\App' ||
  fail "shortcut's working folder: $(cat "$work/markers/app.exe.started")"

# Second uninstall after the program has ended; the user keeps a file, and
# a link in the install folder leads outside it.
must close "Kw Probe app.exe"
must gone "Kw Probe app.exe"
sleep 1
printf 'mine\r\n' >"$loc_unix/notes.txt"
printf 'index' >"$loc_unix/APP.GID"
ln -s "$work/outside" "$loc_unix/data"
uninstall_once
# The files gone, the Reg entry is asked about, No the default (Yes here);
# HKEY_USERS and the backslash-led subkey are broken entries.
out=$(must box 'Delete the registry key "HKEY_CURRENT_USER\Software\KwTest\Suite"?' 6)
printf '%s\n' "$out" | grep -qx 'default 7' || fail "the registry question's default: $out"
must box 'Reg section might be broken.' 1
must box 'Reg section might be broken.' 1
# The walk asks about the user's file (No the default); a link to a
# folder it leaves, with what lies behind it, unasked.
out=$(must box "Delete \"${location}" 7)
printf '%s\n' "$out" | grep -qx 'default 7' || fail "the file question's default: $out"
asked=$(printf '%s\n' "$out" | sed -n 's/^box \[[^]]*\] //p')
[ "$asked" = "Delete \"${location}notes.txt\"?" ] || fail "asked: $asked"
must box "Failed to delete the directory \"C:\\KwTest e2e\\Deep\\App\"." 1
must wait-text "$title*" 1010 "$location contains some files. Delete manually later."
must press "$title*" 2
must gone "$title*"
for f in app.exe doc/readme.txt sub/open.exe Kitwright.exe Kitwright.INF APP.GID; do
  [ -e "$loc_unix/$f" ] && fail "left behind: $f"
done
[ -f "$loc_unix/notes.txt" ] || fail "the kept file was deleted"
[ "$(cat "$work/outside/precious.txt")" = precious ] || fail "a file behind the link was touched"
[ -L "$loc_unix/data" ] || fail "the link in the install folder went"
reg_exists "$ukey" && fail "uninstall entry left"
reg_exists 'HKCU\Software\KwTest\Suite' && fail "Reg key not removed"
[ "$(ls -A "$programs/$title")" = Foreign.lnk ] || fail "the group holds: $(ls -A "$programs/$title")"
e2e_wait 100 test ! -e "$desktop/$title.lnk" || fail "desktop shortcut left"
# Only the second stages' own copies are deleted at the next start.
pending=$(w reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations)
printf '%s\n' "$pending" | grep -qi 'Temp\\KwUninstall-[0-9]*\\KwUninstall\.exe' || fail "stage copy not scheduled: $pending"
printf '%s\n' "$pending" | grep -qi 'system32\\Kitwright' && fail "the system file is scheduled: $pending"
[ "$(cat "$system_dir/Kitwright.exe")" = 'foreign system file' ] || fail "the system file was overwritten"
# Against the prefix before the install: only the user's file and the
# stage copies (gone at the next start) are new.
snapshot after
same_snapshots before after \
  ' \./(KwTest e2e|KwTest e2e/Deep|KwTest e2e/Deep/App|KwTest e2e/Deep/App/notes\.txt|KwTest e2e/Deep/App/data)$|/Temp/KwUninstall-[0-9]+(/KwUninstall\.exe)?$' \
  'KwTest\\Suite|PendingFileRenameOperations'

# A second product on a mapped drive Q:. Inside its install folder "sub"
# is a link (made from the Linux side) to a foreign folder holding an
# x.dll that the configuration would install as sub\x.dll; on the Desktop
# a foreign link of the product's name points elsewhere. Q: lists every
# entry (files, folders, links) with size and time.
title2="KwTest Links"
sheet2="$title2 Installation"
ukey2="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KwTestLinks"
qdir="$work/qdrive"
rm -rf "$qdir" "$work/src2"
mkdir -p "$qdir/foreign" "$qdir/App" "$qdir/emptydir" "$work/src2"
printf 'foreign dll' >"$qdir/foreign/x.dll"
cp "$qdir/foreign/x.dll" "$work/x.dll.orig"
printf 'index' >"$qdir/keep.gid"
printf 'user file' >"$qdir/user.txt"
ln -s "$qdir/foreign" "$qdir/App/sub"
rm -f "$LV_WINEPREFIX/dosdevices/q:"
ln -s "$qdir" "$LV_WINEPREFIX/dosdevices/q:"
cp "$kitwright" "$work/src2/Kitwright.exe"
cp "$probe" "$work/src2/app.exe"
printf 'our dll' >"$work/src2/x.dll"
cat >"$work/src2/Kitwright.INF" <<INF
[Install]
Title=$title2
Folder=KwTestLinks
1=app.exe
2=x.dll,sub\\x.dll
INF
must make-link "$desktop_win\\$title2.lnk" 'C:\windows\notepad.exe'
[ -s "$desktop/$title2.lnk" ] || fail "no foreign desktop link"
cp "$desktop/$title2.lnk" "$work/desktop.lnk.orig"
qsnapshot() {
  (cd "$qdir" && find . -printf '%y %s %T@ %p\n' | sort -k4) >"$work/q.$1"
  snapshot "$1"
}
# Fails unless Q: differs between the snapshots only in lines matching
# the extended pattern $3, and the prefix's drive only in $4.
same_q() {
  diff "$work/q.$1" "$work/q.$2" | grep '^[<>]' | grep -Ev "${3:-^$}" >"$work/q.diff"
  [ -s "$work/q.diff" ] && fail "Q: changed from $1 to $2: $(cat "$work/q.diff")"
  diff "$work/files.$1" "$work/files.$2" | grep '^[<>]' | grep -Ev "${4:-^$}" >"$work/files.diff"
  [ -s "$work/files.diff" ] && fail "files changed from $1 to $2: $(cat "$work/files.diff")"
}
foreign_intact() {
  cmp -s "$qdir/foreign/x.dll" "$work/x.dll.orig" || fail "$1: the foreign x.dll changed: $(cat "$qdir/foreign/x.dll")"
  cmp -s "$desktop/$title2.lnk" "$work/desktop.lnk.orig" || fail "$1: the foreign desktop link changed"
}
qsnapshot q0

"$wine_run" "$work/src2/Kitwright.exe" >"$work/install2.out" 2>&1 &
install_pid=$!
pids="$pids $install_pid"
must wait "$sheet2"
# Roots and system folders are refused however they are spelled.
for spelled in 'Q:\.' 'Q:\\' 'Q:\App\..' 'C:\windows\..\App\..'; do
  must set "$sheet2" 1001 "$spelled"
  must press "$sheet2" 12324
  must box 'Cannot install in the root directory.' 1
done
must set "$sheet2" 1001 'C:\windows\.'
must press "$sheet2" 12324
must box 'Cannot install in "C:\windows\", a folder of the system or a user profile.' 1
must set "$sheet2" 1001 'Q:\App\sub'
must press "$sheet2" 12324
must box 'Cannot install in "Q:\App\sub\", a link to another folder.' 1
must set "$sheet2" 1001 'Q:\.\App'
must press "$sheet2" 12324
must visible "$sheet2" 1006 1
must check "$sheet2" 1005 1
must press "$sheet2" 12324
must box '"Q:\App\sub\x.dll" would be written through a link. Not copied.' 1
must box "The shortcut \"$desktop_win\\$title2.lnk\" points at another program. It was left as it is." 1
must wait-text "$sheet2" 1008 "Installation Completed. Press COMPLETE to launch."
[ "$(reg_value "$ukey2" UninstallString)" = '"Q:\App\Kitwright.exe" /r' ] ||
  fail "the location was not normalised: $(reg_value "$ukey2" UninstallString)"
must press "$sheet2" 12325
must close "Kw Probe app.exe"
e2e_await_exit "$install_pid" 300
foreign_intact install
[ -f "$qdir/App/app.exe" ] || fail "app.exe was not installed on Q:"
qsnapshot q1
same_q q0 q1 ' \./App(/app\.exe|/Kitwright\.exe|/Kitwright\.INF)?$' '/Programs/KwTest Links\.lnk$'

# The entry edited to the drive's root, with the program copies an install
# made there by the old textual check would have left: the registered
# command deletes nothing at all.
cp "$qdir/App/Kitwright.exe" "$qdir/App/Kitwright.INF" "$qdir/"
w reg add "$ukey2" /v UninstallString /d '"Q:\.\Kitwright.exe" /r' /f >/dev/null
qsnapshot q2
"$wine_run" 'Q:\.\Kitwright.exe' /r >>"$work/uninstall.out" 2>&1 &
pids="$pids $!"
must box '"Q:\" is a drive root. Nothing was deleted.' 1
e2e_await_exit $! 300
qsnapshot q3
# The first product's stage copies go whenever Wine next starts its prefix
# afresh, which may fall between these two listings.
same_q q2 q3 '^$' '/Temp/KwUninstall-[0-9]+(/KwUninstall\.exe)?$'
foreign_intact "root entry"

# Hand-made with a dot inside the install folder: the uninstall sweeps
# Q:\App\ only, and not through its link.
w reg add "$ukey2" /v UninstallString /d '"Q:\.\App\Kitwright.exe" /r' /f >/dev/null
"$wine_run" 'Q:\.\App\Kitwright.exe' /r >>"$work/uninstall.out" 2>&1 &
pids="$pids $!"
must box "Delete \"$title2\"" 1
# Q:\App was there before the install: it is not the install's to remove.
must wait-text "$title2*" 1010 "Q:\App\ contains some files. Delete manually later. \"$desktop_win\\$title2.lnk\" points at another program and was kept."
must press "$title2*" 2
must gone "$title2*"
foreign_intact uninstall
[ -L "$qdir/App/sub" ] || fail "the link in the install folder went"
[ "$(ls -A "$qdir/App")" = sub ] || fail "Q:\App holds: $(ls -A "$qdir/App")"
e2e_wait 100 test ! -e "$programs/$title2.lnk" || fail "the program's own Start menu link was left"
reg_exists "$ukey2" && fail "the second uninstall entry was left"
qsnapshot q4
same_q q2 q4 ' \./App(/app\.exe|/Kitwright\.exe|/Kitwright\.INF)?$' \
  '/Programs/KwTest Links\.lnk$|/Temp/KwUninstall-[0-9]+(/KwUninstall\.exe)?$'
rm -f "$LV_WINEPREFIX/dosdevices/q:"
finish
