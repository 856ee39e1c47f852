#!/bin/sh
# The real Kitwright.exe under Wine against what a hostile configuration, a
# stale registry entry or a prepared folder would try: links to files
# (made from the Linux side), foreign files at a destination, another
# product's key and folder, the system's and the user's folders reached
# by name, mapped drive or folder link, device names, bad names, broad
# registry keys, targets outside the install folder and a Start-menu group
# that is a link. For each, the prefix's files (type, size, time, hash)
# and both hives are listed before and after and must be equal outside
# the installer's own files and key.
# Usage: kitwright_hostile_e2e.sh Kitwright.exe driver.exe probe_app.exe wine-run.sh
kitwright=$1 driver=$2 probe=$3 wine_run=$4
. "$(dirname "$0")/../support/e2e.sh"
e2e_init kitwright_hostile "$wine_run" 1280x1024x24 fresh
. "$(dirname "$0")/kw_snapshot.sh"
kw_real_profiles
pids=
finish() {
  for p in $pids; do kill "$p" 2>/dev/null; done
  e2e_summary
  exit
}
w() { timeout 60 "$wine_run" "$@" 2>/dev/null | tr -d '\r'; }
# A failed driver action is said on the error stream: the output may be
# read or dropped.
must() { out=$(drive "$@") || fail "driver $*: $out" >&2; printf '%s\n' "$out"; }
reg_exists() { timeout 60 "$wine_run" reg query "$1" >/dev/null 2>&1; }
reg_value() { w reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_SZ *//p"; }
drive_c=$LV_WINEPREFIX/drive_c
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
mkdir -p "$work/markers"
export KW_MARKER_DIR="$(echo "Z:$work/markers" | tr '/' '\\')"
# A run of Kitwright.exe in $1 (arguments after it) that must end by itself.
run_kw() {
  dir=$1; shift
  "$wine_run" "$dir/Kitwright.exe" "$@" >>"$work/kw.out" 2>&1 &
  kw_pid=$!
  pids="$pids $kw_pid"
}
await_kw() { e2e_await_exit "$kw_pid" 300 || fail "Kitwright did not end ($1)"; }

# Others' things, all there before the first listing: a foreign product
# registered under Program Files and one elsewhere, a folder holding
# another product's configuration, a vendor's keys, a drive mapped to the
# Windows folder and a folder link to it, an evil program outside.
mkdir -p "$drive_c/Program Files/ForeignApp" "$drive_c/KwOther" "$drive_c/KwInf" "$drive_c/KwEvil" "$drive_c/KwForeign/group"
printf 'foreign app' >"$drive_c/Program Files/ForeignApp/app.exe"
printf 'other app' >"$drive_c/KwOther/app.exe"
printf '[Install]\r\nTitle=Other Product\r\nFolder=Other\r\n' >"$drive_c/KwInf/Kitwright.INF"
cp "$probe" "$drive_c/KwEvil/evil.exe"
cp "$probe" "$drive_c/KwEvil/grp.exe"
w reg add "$uninstall_key\\ForeignApp" /v DisplayName /d 'Foreign App' /f >/dev/null
w reg add "$uninstall_key\\ForeignApp" /v UninstallString /d '"C:\Program Files\ForeignApp\app.exe" /r' /f >/dev/null
w reg add "$uninstall_key\\ForeignOther" /v DisplayName /d 'Foreign Other' /f >/dev/null
w reg add "$uninstall_key\\ForeignOther" /v UninstallString /d '"C:\KwOther\app.exe" /r' /f >/dev/null
w reg add 'HKCU\Software\ForeignVendor\Data' /v kept /d 1 /f >/dev/null
w reg add 'HKCU\Software\KwVendor\KwHostile\Deep' /v own /d 1 /f >/dev/null
reg_exists 'HKCR\txtfile\shell\open\command' || w reg add 'HKCR\txtfile\shell\open\command' /ve /d notepad.exe /f >/dev/null
rm -f "$LV_WINEPREFIX/dosdevices/w:"
ln -s ../drive_c/windows "$LV_WINEPREFIX/dosdevices/w:"
ln -s windows "$drive_c/winlink"
documents=$(w reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Personal | sed -n 's/^ *Personal *REG_SZ *//p')
programs_win=$(w reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Programs | sed -n 's/^ *Programs *REG_SZ *//p')
programs=$(w winepath -u "$programs_win")
[ -n "$documents" ] && [ -d "$programs" ] || fail "no Documents or Programs folder ($documents, $programs)"

# 1. Configurations that name what is not the product's: each is refused
# with its cause, and nothing is made, run or changed.
mkdir -p "$work/bad"
cp "$kitwright" "$work/bad/Kitwright.exe"
cp "$probe" "$work/bad/app.exe"
refused() {
  case $1 in Folder=*) folder=$1 extra= ;; *) folder=Folder=KwBad extra=$1 ;; esac
  printf '[Install]\r\nTitle=KwTest Bad\r\n%s\r\n1=app.exe\r\n%s\r\n' "$folder" "$extra" | sed 's/|/\r\n/g' >"$work/bad/Kitwright.INF"
  run_kw "$work/bad"
  must box "$2" 1 | grep -qxF "box [Error] $2" || fail "refused with another text than: $2"
  await_kw "$1"
}
kw_snapshot before_bad
refused 'Folder=\' 'The config file entry [Install] Folder=\ is not one plain folder name. Nothing was done.'
refused 'Folder=..' 'The config file entry [Install] Folder=.. is not one plain folder name. Nothing was done.'
refused 'Folder=a\b' 'The config file entry [Install] Folder=a\b is not one plain folder name. Nothing was done.'
refused 'Folder=ForeignApp' 'The config file entry [Install] Folder=ForeignApp names the uninstall entry of "Foreign App", another program. Nothing was done.'
devices='The config file entry %s names a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9). Nothing was done.'
for entry in '2=app.exe,LPT1.log' '2=app.exe,COM1' '2=NUL' '2=app.exe,sub\com1.txt'; do
  refused "$entry" "$(printf "$devices" "[Install] $entry")"
done
refused '[Group]|1=CON,app.exe' "$(printf "$devices" '[Group] 1=CON,app.exe')"
for key in 'HKEY_CURRENT_USER\Software\ForeignVendor' 'HKEY_CURRENT_USER\Software' \
           'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\ForeignApp' 'HKEY_CLASSES_ROOT\txtfile'; do
  refused "[Reg]|1=$key" "The config file entry [Reg] 1=$key names a registry key that is not the product's own. Nothing was done."
done
refused 'Open=..\KwEvil\evil.exe' 'The config file entry [Install] Open=..\KwEvil\evil.exe would reach outside its folder. Nothing was done.'
refused '[Group]|1=Tool,..\KwEvil\grp.exe' 'The config file entry [Group] 1=Tool,..\KwEvil\grp.exe would reach outside its folder. Nothing was done.'
kw_snapshot after_bad
kw_same before_bad after_bad
[ -z "$(ls "$work/markers")" ] && : || fail "a program was started: $(ls "$work/markers")"
reg_exists 'HKCR\txtfile\shell\open\command' || fail "the text-file open command went"

# 2. The wizard: a stale entry of the product points into Documents; the
# wizard offers the default place instead, and every location that is
# the system's, a user's, another product's or no folder name at all is
# refused with its cause, making nothing.
title="KwTest Hostile"
sheet="$title Installation"
src=$work/src
mkdir -p "$src"
cp "$kitwright" "$src/Kitwright.exe"
cp "$probe" "$src/app.exe"
printf 'ours' >"$src/ok.dll"
printf 'ours y' >"$src/y.dll"
printf 'ours txt' >"$src/foreign.txt"
cat >"$src/Kitwright.INF" <<INF
[Install]
Title=$title
Folder=KwHostile
1=app.exe
2=ok.dll
3=y.dll
4=y.dll,dang.dll
5=y.dll,hard.dll
6=foreign.txt
Open=tool
[Group]
1=KwHostile App,app.exe
[Reg]
1=HKEY_CURRENT_USER\\Software\\KwVendor\\KwHostile
INF
ukey="$uninstall_key\\KwHostile"
w reg add "$ukey" /v DisplayName /d "$title" /f >/dev/null
w reg add "$ukey" /v UninstallString /d "\"$documents\\Kitwright.exe\" /r" /f >/dev/null
kw_snapshot before_wizard
run_kw "$src"
must wait "$sheet"
must text "$sheet" 1001 | grep -qxF 'text C:\Program Files\KwHostile\' || fail "the wizard offered: $(drive text "$sheet" 1001)"
try() {
  must "$1" "$sheet" 1001 "$2" >/dev/null
  must press "$sheet" 12324 >/dev/null
  must box "$3" 1 | grep -qF "$3" || fail "$2: not refused with $3"
}
system='a folder of the system or a user profile.'
try set 'W:\system32' "Cannot install in \"W:\\system32\\\", $system"
try set 'W:\Viewer' "Cannot install in \"W:\\Viewer\\\", $system"
try set 'C:\winlink\system32' "Cannot install in \"C:\\winlink\\system32\\\", $system"
try set 'C:\windows\Fonts' "Cannot install in \"C:\\windows\\Fonts\\\", $system"
try set 'C:\windows\system32\drivers' "Cannot install in \"C:\\windows\\system32\\drivers\\\", $system"
try set 'C:\ProgramData\KwHostile' "Cannot install in \"C:\\ProgramData\\KwHostile\\\", $system"
try set "$documents" "Cannot install in \"$documents\\\", $system"
try set "$documents\\KwHostile" "Cannot install in \"$documents\\KwHostile\\\", $system"
try set 'C:\Program Files\Internet Explorer' "Cannot install in \"C:\\Program Files\\Internet Explorer\\\", $system"
try set 'C:\Program Files\ForeignApp' "Cannot install in \"C:\\Program Files\\ForeignApp\\\", $system"
try set 'C:\KwOther' 'Cannot install in "C:\KwOther\": it is the place of another installed program (ForeignOther).'
try set 'C:\KwInf' 'Cannot install in "C:\KwInf\": it holds the configuration of another product (Other Product).'
bad='a folder name may not hold < > : " | ? * or name a device (CON, NUL, COM1 ...).'
try set 'C:\KwA\KwB\KwC\bad<name' "Cannot install in \"C:\\KwA\\KwB\\KwC\\bad<name\\\": $bad"
try set 'C:\KwA\NUL\App' "Cannot install in \"C:\\KwA\\NUL\\App\\\": $bad"
try set-wide 'C:\KwA\Ωmega' "The location holds characters that this system's code page cannot write. Choose another name."
try set "C:\\$(printf '%0317d' 0 | tr 0 a)" 'The location is too long: at most 246 characters.'
[ -e "$drive_c/KwA" ] && fail "a refused location left C:\\KwA"
must press "$sheet" 2 >/dev/null
await_kw wizard
kw_snapshot after_wizard
kw_same before_wizard after_wizard

# 3. The install into a folder prepared with links made from the Linux
# side (to a foreign file, dangling, a hard link), a foreign file of an
# installed name and a foreign tool.exe beside where Open=tool points,
# with the Start-menu group a link to a foreign folder: none is written
# through, overwritten, run or filled.
app=$drive_c/KwHostile/App
mkdir -p "$app"
printf 'foreign y' >"$drive_c/KwForeign/y.dll"
printf 'foreign hard' >"$drive_c/KwForeign/hard.dll"
printf 'user text' >"$app/foreign.txt"
printf 'foreign link' >"$drive_c/KwForeign/group/Foreign.lnk"
ln -s ../../KwForeign/y.dll "$app/y.dll"
ln -s ../../KwForeign/missing.dll "$app/dang.dll"
ln "$drive_c/KwForeign/hard.dll" "$app/hard.dll"
cp "$probe" "$app/tool.exe"
rm -rf "$programs/$title"
ln -s "$drive_c/KwForeign/group" "$programs/$title"
kw_snapshot before_install
run_kw "$src"
must wait "$sheet"
must set "$sheet" 1001 'C:\KwHostile\App' >/dev/null
must press "$sheet" 12324 >/dev/null
must visible "$sheet" 1006 1 >/dev/null
must press "$sheet" 12324 >/dev/null
for f in y.dll dang.dll hard.dll; do
  must box "\"C:\\KwHostile\\App\\$f\" is a link to another file. Not copied." 1 >/dev/null
done
must box "\"C:\\KwHostile\\App\\foreign.txt\" already exists and is not a file of $title. It was left as it is." 1 >/dev/null
must box "The Start menu group \"$programs_win\\$title\\\" is a link to another folder. No shortcuts were made." 1 >/dev/null
must wait-text "$sheet" 1008 "Installation Completed. Press COMPLETE to launch." >/dev/null
must press "$sheet" 12325 >/dev/null
await_kw install
e2e_wait 300 test -f "$work/markers/app.exe.started" || fail "the program was not started"
sleep 2
[ -f "$work/markers/tool.exe.started" ] && fail "Open=tool started the foreign tool.exe"
[ -e "$drive_c/KwForeign/missing.dll" ] && fail "the dangling link made a file outside"
kw_snapshot after_install
kw_same before_install after_install \
  ' \./KwHostile/App/(app\.exe|ok\.dll|Kitwright\.exe|Kitwright\.INF)$' \
  "Uninstall\\\\KwHostile\\] \\| \"(UninstallString|KwFiles|KwFolders)\"="

# 4. The uninstall, with an installed name since replaced by a link to a
# foreign file and a cache.gid link beside it; first while the program
# runs (it stops, the registry keys stay), then after: the keys are asked
# about (No the default), the links and the foreign files stay.
printf 'victim' >"$drive_c/KwForeign/victim.dll"
printf 'victim gid' >"$drive_c/KwForeign/victim.gid"
rm -f "$app/ok.dll"
ln -s ../../KwForeign/victim.dll "$app/ok.dll"
ln -s ../../KwForeign/victim.gid "$app/cache.gid"
kw_snapshot before_uninstall
run_kw "$drive_c/KwHostile/App" /r
must box "Delete \"$title\"" 1 >/dev/null
must box "Failed to delete C:\\KwHostile\\App\\app.exe. Skipping this file." 1 >/dev/null
must box "Failed to delete \"C:\\KwHostile\\App\\app.exe\". Quit \"$title\" and retry uninstallation." 1 >/dev/null
must press "$title*" 2 >/dev/null
must gone "$title*" >/dev/null
reg_exists 'HKCU\Software\KwVendor\KwHostile\Deep' || fail "the Reg key went with the program still running"
must close "Kw Probe app.exe" >/dev/null
must gone "Kw Probe app.exe" >/dev/null
sleep 1
kw_snapshot stopped
run_kw "$drive_c/KwHostile/App" /r
must box "Delete \"$title\"" 1 >/dev/null
out=$(must box 'Delete the registry key "HKEY_CURRENT_USER\Software\KwVendor\KwHostile"?' 6)
printf '%s\n' "$out" | grep -qx 'default 7' || fail "the registry question's default: $out"
must wait-text "$title*" 1010 "C:\\KwHostile\\App\\ contains some files. Delete manually later. \"$programs_win\\$title\\\" is a link to another folder and was kept." >/dev/null
must press "$title*" 2 >/dev/null
must gone "$title*" >/dev/null
for f in y.dll hard.dll victim.dll victim.gid group/Foreign.lnk; do
  [ -f "$drive_c/KwForeign/$f" ] || fail "the foreign $f went"
done
reg_exists "$ukey" && fail "the uninstall entry was left"
reg_exists 'HKCU\Software\KwVendor\KwHostile' && fail "the product's Reg key was left"
kw_snapshot after_uninstall
kw_same before_uninstall after_uninstall \
  ' \./KwHostile/App/(app\.exe|Kitwright\.exe|Kitwright\.INF)$|/Temp/KwUninstall-[0-9]+(/KwUninstall\.exe)?$' \
  'KwVendor\\KwHostile|Uninstall\\KwHostile\]|PendingFileRenameOperations'

# 5. An entry edited to the system folder through the mapped drive, with
# the program copies a hostile install would have left there: nothing is
# asked or deleted.
sys32=$drive_c/windows/system32
cp "$src/Kitwright.exe" "$sys32/KwHostileSetup.exe"
cp "$src/Kitwright.INF" "$sys32/KwHostileSetup.INF"
w reg add "$ukey" /v DisplayName /d "$title" /f >/dev/null
w reg add "$ukey" /v UninstallString /d '"W:\system32\KwHostileSetup.exe" /r' /f >/dev/null
kw_snapshot before_system
"$wine_run" 'W:\system32\KwHostileSetup.exe' /r >>"$work/kw.out" 2>&1 &
kw_pid=$!
pids="$pids $kw_pid"
must box '"W:\system32\" is a folder of the system or a user profile. Nothing was deleted.' 1 >/dev/null
await_kw system
kw_snapshot after_system
kw_same before_system after_system
rm -f "$sys32/KwHostileSetup.exe" "$sys32/KwHostileSetup.INF" "$LV_WINEPREFIX/dosdevices/w:"
finish
