# Sourced by the installer's end-to-end scripts (after tests/support/e2e.sh
# and with $wine_run set): the Wine prefix given real profile folders, and
# listings of everything an install could change, taken before and after.
#
#   kw_real_profiles        replaces the profile folders that a new prefix
#                           links to the Linux home (Desktop, Documents ...)
#                           by folders of the prefix's own; fails if a link
#                           out of the prefix is left among them
#   kw_snapshot NAME        $work/files.NAME: every entry of the prefix's
#                           drive (type, size, time and hash of files, the
#                           target of links, folders), and $work/reg.NAME:
#                           both hives, one "key | value" line each
#   kw_same NAME1 NAME2 [FILES-PATTERN [KEYS-PATTERN]]
#                           fails unless the two differ only in file lines
#                           and registry lines matching the extended patterns

kw_real_profiles() {
  find "$LV_WINEPREFIX/drive_c/users" -type l -lname '/*' >"$work/profile-links"
  while IFS= read -r kw_l; do
    rm -f "$kw_l" && mkdir -p "$kw_l"
  done <"$work/profile-links"
  kw_out=$(find "$LV_WINEPREFIX/drive_c" -type l -lname '/*' ! -lname "$LV_WINEPREFIX/*" 2>/dev/null)
  [ -z "$kw_out" ] || fail "links out of the prefix: $kw_out"
}

# The registry export, one line per value with its key in front (hex
# values joined from their continuation lines), sorted. Left out: the
# device keys and display settings Wine writes afresh at each start.
kw_volatile='^\[(HKEY_LOCAL_MACHINE\\(Hardware|System\\CurrentControlSet\\(Control\\(Class|DeviceClasses|Video|ServiceCurrent)|Enum|Hardware Profiles))|HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters)(\\|\])'
kw_reg_lines() {
  iconv -f UTF-16LE -t UTF-8 "$1" | tr -d '\r' | sed 's/^\xef\xbb\xbf//' | awk '
    /^\[/ { key = $0; print key " |"; next }
    /^$/ { next }
    { line = line $0 }
    /\\$/ { sub(/\\$/, "", line); next }
    { gsub(/  +/, "", line); print key " | " line; line = "" }' | grep -Ev "$kw_volatile" | sort
}

kw_snapshot() {
  (
    cd "$LV_WINEPREFIX/drive_c" || exit 1
    find . -type f -exec md5sum {} + | sed 's/^\([0-9a-f]*\)  /\1\t/' >"$work/hash.tmp"
    find . \( -type l -printf 'l\t%l\t-\t%p\n' \) -o \( -type d -printf 'd\t-\t-\t%p\n' \) \
      -o \( -type f -printf 'f\t%s\t%T@\t%p\n' \) |
      awk -F '\t' 'NR == FNR { hash[$2] = $1; next }
                   { print $1 " " $2 " " $3 " " ($1 == "f" ? hash[$4] : "-") " " $4 }' "$work/hash.tmp" - |
      sort -k5
  ) >"$work/files.$1"
  for kw_h in HKLM HKCU; do
    timeout 60 "$wine_run" reg export "$kw_h" "$work/hive.reg" /y >/dev/null 2>&1 || fail "cannot export $kw_h"
    kw_reg_lines "$work/hive.reg"
  done >"$work/reg.$1"
}

kw_same() {
  diff "$work/files.$1" "$work/files.$2" | grep '^[<>]' | grep -Ev "${3:-^$}" >"$work/files.diff"
  [ -s "$work/files.diff" ] && fail "files changed from $1 to $2: $(head -c 3000 "$work/files.diff")"
  diff "$work/reg.$1" "$work/reg.$2" | grep '^[<>]' | grep -Ev "${4:-^$}" >"$work/reg.diff"
  [ -s "$work/reg.diff" ] && fail "registry changed from $1 to $2: $(head -c 3000 "$work/reg.diff")"
  return 0
}
