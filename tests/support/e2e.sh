# Shared part of the end-to-end scripts, sourced by each. Every test runs in
# an X server and a Wine prefix (so a wineserver, a desktop and a window
# list) of its own: no other test's window can cover its screenshots or be
# found by its driver, and nothing it changes in the prefix leaks into
# another run. Everything it started is stopped when the script exits.
#
#   e2e_init NAME WINE_RUN [SCREEN [PREFIX [XVFB-ARGS...]]]
#     work folder $work = ./NAME_e2e.d (made empty); starts the X server
#     (SCREEN, default 1280x1024x24) and sets DISPLAY; chooses the prefix:
#     PREFIX "fresh" (default "keep") is a copy of the build tree's pristine
#     prefix made anew for this run; "keep" is the build tree's prefix for
#     NAME, copied once; any other value is that folder.
#   WINE_RUN (tools/wine-run.sh) then runs programs in this prefix.
#   e2e_drive ARGS...             runs $driver under Wine (60 s at most),
#                                 output without CRs
#   e2e_wait TENTHS COMMAND...    runs COMMAND every 0.1 s until it succeeds
#   e2e_shot FILE [GEOMETRY]      screenshot (cropped to WxH+X+Y), at once
#   e2e_digest FILE               digest of the pixels only
#   e2e_settled_shot FILE GEOMETRY [PAUSE]
#                                 screenshot once two shots half a second
#                                 apart agree (after PAUSE s, default 0.5);
#                                 fails, saying what it saw, if they never do
#   e2e_start_gui TENTHS OUT ERR COMMAND...
#                                 starts a GUI program in the background
#                                 ($e2e_pid) and waits for its first window;
#                                 a start that Wine lost is made once more
#   e2e_pixel FILE X Y            the pixel as #RRGGBB
#   e2e_rgb FILE X Y              the pixel as "R G B"
#   e2e_await_exit PID [TENTHS]   waits for a background program; $status
#   fail TEXT, e2e_summary        count a failure; the final verdict
# A probe program that the script starts ($probe_pid) and that logs to $log:
#   logged                        its log without CRs
#   set_mark, since_mark          the lines logged after the mark
#   logged_since LINE             whether that line came after the mark
#   await LINE [TENTHS]           waits (default 30 s) for it; fails if not
#   finish                        stops the probe, shows its log, ends with
#                                 the verdict

e2e_x_pid=
e2e_fresh=

# The build tree holding the current folder (CTest runs tests inside it).
e2e_build_root() {
  e2e_d=$(pwd)
  while [ "$e2e_d" != "/" ] && [ ! -f "$e2e_d/CMakeCache.txt" ]; do e2e_d=$(dirname "$e2e_d"); done
  [ -f "$e2e_d/CMakeCache.txt" ] && echo "$e2e_d" || pwd
}

e2e_cleanup() {
  if [ -n "$LV_WINEPREFIX" ] && [ -d "$LV_WINEPREFIX" ]; then
    WINEPREFIX=$LV_WINEPREFIX timeout 30 "${WINESERVER:-wineserver}" -k 2>/dev/null
    WINEPREFIX=$LV_WINEPREFIX timeout 30 "${WINESERVER:-wineserver}" -w 2>/dev/null
  fi
  [ -n "$e2e_x_pid" ] && kill "$e2e_x_pid" 2>/dev/null && wait "$e2e_x_pid" 2>/dev/null
  e2e_x_pid=
  # A fresh prefix is only good for one run; keep the disk free of them.
  [ -n "$e2e_fresh" ] && rm -rf "$e2e_fresh"
  e2e_fresh=
}

# Starts Xvfb on a display number it chooses itself (no race with other
# servers starting at the same time).
e2e_start_x() {
  e2e_screen=$1; shift
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 "$e2e_screen" -nolisten tcp "$@" 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  e2e_x_pid=$!
  e2e_i=0
  while ! grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && [ $e2e_i -lt 200 ]; do
    kill -0 "$e2e_x_pid" 2>/dev/null || break
    e2e_i=$((e2e_i + 1)); sleep 0.1
  done
  e2e_n=$(head -n 1 "$work/display" 2>/dev/null)
  [ -n "$e2e_n" ] || { echo "FAIL: the X server did not start"; cat "$work/xvfb.log"; exit 1; }
  export DISPLAY=":$e2e_n"
  unset XAUTHORITY
}

# Copies the pristine prefix (made once per build tree) to $1. Wine's own
# binaries, nearly all of a prefix's 700 MB, are never written in place:
# they are hard links to the pristine ones, so a dozen prefixes cost the
# disk one. Every other file (registry, INI files, what a test writes) is a
# copy of its own.
e2e_copy_prefix() {
  e2e_pristine=$(e2e_build_root)/wineprefix-pristine
  "$(dirname "$e2e_wine_run")/wine-prefix.sh" "$e2e_pristine" || return 1
  rm -rf "$1.tmp" || return 1
  if cp -al "$e2e_pristine" "$1.tmp" 2>/dev/null; then
    find "$1.tmp" -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' \
      ! -iname '*.sys' ! -iname '*.nls' ! -iname '*.acm' ! -iname '*.cpl' \
      ! -iname '*.ocx' ! -iname '*.tlb' ! -iname '*.ds' ! -iname '*.msstyles' \
      -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f" || exit 1; done' sh {} + ||
      return 1
  else
    rm -rf "$1.tmp" && cp -a "$e2e_pristine" "$1.tmp" || return 1
  fi
  mv "$1.tmp" "$1"
}

e2e_choose_prefix() {
  case $1 in
    fresh)
      e2e_p=$work/wineprefix
      e2e_copy_prefix "$e2e_p" || { echo "FAIL: could not copy the Wine prefix"; exit 1; }
      e2e_fresh=$e2e_p ;;
    *)
      e2e_p=$1
      case $e2e_p in keep|"") e2e_p=$(e2e_build_root)/wineprefix-$e2e_name ;; esac
      if [ ! -f "$e2e_p/.lv-ready" ]; then
        (
          flock 9
          [ -f "$e2e_p/.lv-ready" ] || e2e_copy_prefix "$e2e_p"
        ) 9>"$e2e_p.lock" || { echo "FAIL: could not copy the Wine prefix"; exit 1; }
      fi ;;
  esac
  export LV_WINEPREFIX=$e2e_p
  # A server left over from a killed run of this test.
  WINEPREFIX=$e2e_p timeout 30 "${WINESERVER:-wineserver}" -k 2>/dev/null
}

e2e_init() {
  e2e_name=$1 e2e_wine_run=$2
  e2e_screen=${3:-1280x1024x24} e2e_prefix_kind=${4:-keep}
  if [ $# -ge 4 ]; then shift 4; else shift $#; fi
  work=$(pwd)/${e2e_name}_e2e.d
  rm -rf "$work" && mkdir -p "$work"
  trap e2e_cleanup EXIT
  trap 'exit 1' INT TERM HUP PIPE
  e2e_start_x "$e2e_screen" "$@"
  e2e_choose_prefix "$e2e_prefix_kind"
}

# The status is the driver's own (a pipe's would be that of tr), so a box
# that never came fails the caller that checks it.
e2e_drive() {
  e2e_out=$(timeout 60 "$e2e_wine_run" "$driver" "$@" 2>/dev/null)
  e2e_status=$?
  [ -z "$e2e_out" ] || printf '%s\n' "$e2e_out" | tr -d '\r'
  return $e2e_status
}

e2e_wait() {
  e2e_n=$1; shift
  e2e_i=0
  while [ $e2e_i -lt "$e2e_n" ]; do
    "$@" && return 0
    e2e_i=$((e2e_i + 1)); sleep 0.1
  done
  return 1
}

e2e_shot() {
  if [ -n "$2" ]; then
    import -window root "$work/root.png" 2>/dev/null &&
      convert "$work/root.png" -crop "$2" +repage "$1" 2>/dev/null
  else
    import -window root "$1" 2>/dev/null
  fi
}
# A digest of an image's pixels alone: PNG files carry their time of
# writing, so two shots of the same screen differ as files.
e2e_digest() { convert "$1" rgb:- 2>/dev/null | md5sum; }
# Waits (up to 20 s) for the program to catch up with what was sent; static
# scenes only. A screen that never settles fails, saying how much the last
# two shots differ (both kept in $work).
e2e_settled_shot() {
  e2e_prev= e2e_i=0
  sleep "${3:-0.5}"
  while [ $e2e_i -lt 40 ]; do
    [ -n "$e2e_prev" ] && cp "$1" "$work/unsettled-before.png" 2>/dev/null
    e2e_shot "$1" "$2"
    e2e_cur=$(e2e_digest "$1")
    [ "$e2e_cur" = "$e2e_prev" ] && return 0
    e2e_prev=$e2e_cur e2e_i=$((e2e_i + 1))
    sleep 0.5
  done
  cp "$1" "$work/unsettled-last.png" 2>/dev/null
  e2e_n=$(compare -metric AE "$work/unsettled-last.png" "$work/unsettled-before.png" null: 2>&1)
  fail "the screen ${2:+($2) }did not settle in 20 s: the last two shots half a second apart differ in ${e2e_n:-?} pixels ($work/unsettled-before.png, $work/unsettled-last.png)"
  return 1
}
e2e_pixel() {
  convert "$1" -crop "1x1+$2+$3" txt: 2>/dev/null | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1
}
e2e_rgb() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt: 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p' | head -n 1
}
# Wine under load now and then loses a process start: the process ends, or
# runs without ever showing a window. Such a start (no window of the
# process within TENTHS tenths of a second) is made once more, and said;
# whatever the program then does is checked as it is. OUT and ERR take its
# output (the same file for both is one stream).
e2e_window_of() { [ -n "$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1)" ]; }
e2e_gone_or_shown() { ! kill -0 "$1" 2>/dev/null || e2e_window_of "$1"; }
e2e_start_gui() {
  e2e_t=$1 e2e_o=$2 e2e_e=$3; shift 3
  e2e_what=$(basename "$1")
  for e2e_a; do case $e2e_a in *.exe | *.EXE) e2e_what=$(basename "$e2e_a"); break ;; esac; done
  e2e_try=1
  while :; do
    if [ "$e2e_o" = "$e2e_e" ]; then "$@" >"$e2e_o" 2>&1 & else "$@" >"$e2e_o" 2>"$e2e_e" & fi
    e2e_pid=$!
    e2e_wait "$e2e_t" e2e_gone_or_shown "$e2e_pid"
    e2e_window_of "$e2e_pid" && return 0
    if kill -0 "$e2e_pid" 2>/dev/null; then
      e2e_why="no window within $((e2e_t / 10)) s"
      kill "$e2e_pid" 2>/dev/null; wait "$e2e_pid" 2>/dev/null
    else
      wait "$e2e_pid"; e2e_why="the process ended (status $?) without a window"
    fi
    if [ $e2e_try -ge 2 ]; then
      fail "$e2e_what: $e2e_why, at the second start too"
      return 1
    fi
    echo "NOTE: Wine lost a start of $e2e_what ($e2e_why): starting it once more"
    [ -n "$LV_WINEPREFIX" ] && WINEPREFIX=$LV_WINEPREFIX timeout 30 "${WINESERVER:-wineserver}" -k 2>/dev/null
    e2e_try=2
  done
}
# The script's driver program ($driver), as every script names it.
drive() { e2e_drive "$@"; }

# Checks: each failure is counted and said; the summary's status is the
# script's.
failures=0
fail() { printf 'FAIL: %s\n' "$*"; failures=$((failures + 1)); }
e2e_summary() {
  [ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures check(s) failed"
  [ "$failures" -eq 0 ]
}

# Waits up to $2 tenths of a second (default 300) for the background
# process $1 to end, its exit status then in $status; fails while it runs.
e2e_ended() { ! kill -0 "$1" 2>/dev/null; }
e2e_await_exit() {
  e2e_wait "${2:-300}" e2e_ended "$1" || return 1
  wait "$1"; status=$?
}

probe_pid=
logged() { tr -d '\r' <"$log" 2>/dev/null; }
mark=0
set_mark() { mark=$(logged | wc -l); }
since_mark() { logged | tail -n "+$((mark + 1))"; }
logged_since() { since_mark | grep -qxF -- "$1"; }
await() {
  e2e_wait "${2:-300}" logged_since "$1" && return 0
  fail "probe never logged: $1"; return 1
}
finish() {
  if [ -n "$probe_pid" ] && kill -0 "$probe_pid" 2>/dev/null; then kill "$probe_pid" 2>/dev/null; fi
  echo "--- probe log"; logged
  e2e_summary
  exit
}
