#!/bin/sh
# Installs what is missing, builds both builds and runs every test: the
# native tests (with sanitizers), the Windows tests under Wine in a private X
# server, and the benchmarks once each. Where the kernel runs 64-bit code
# only, the Windows tests run on the win64 build, and the win32 build's
# unit tests and a screenshot of each program run through qemu-user
# (tools/test-win32-emulated.sh); LV_FORCE_EMULATED_I386=1 adds that run
# here too, compared with this machine's own wine32.
set -e
cd "$(dirname "$0")/.."
started=$(date +%s)
tools/install-deps.sh
win=win32
emulate=
if ! tools/runs-i386.sh; then
  win=win64
  emulate=yes
  echo "NOTE: this machine cannot run 32-bit x86 programs (so no wine32): the"
  echo "      win32 programs are built, and the Windows tests run on the win64"
  echo "      build of the same sources under wine64."
elif [ "${LV_FORCE_EMULATED_I386:-}" = 1 ]; then
  emulate=yes
fi
tools/build-all.sh native win32 $([ $win = win64 ] && echo win64) bench
status=0
echo "== native tests"
ctest --preset native || status=1
echo "== $win tests (Wine, Xvfb)"
# Each test runs once: a failure is the verdict. (Where Wine loses a process
# start, the end-to-end helper starts that program once more and says so.)
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset $win -LE bench || status=1
# The Windows benchmark alone, so its figures are not those of a loaded machine.
echo "== $win benchmark (Wine)"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset $win -L bench --verbose || status=1
WINEPREFIX="$PWD/build/$win/wineprefix" wineserver -k 2>/dev/null || true
if [ -n "$emulate" ]; then
  echo "== win32 tests through qemu-user (wine32)"
  if tools/i386-emulated.sh --check; then
    shots=build/win32/qemu-run/reference
    mkdir -p "$shots"
    for program in lumaview lumaviewgl Kitwright; do
      sh tests/e2e32/window_shot.sh "build/$win" "$program" "$shots/$program.png" ||
        { echo "FAIL: no $win screenshot of $program"; status=1; }
    done
    xvfb-run -a -s "-screen 0 1280x1024x24" \
      tools/i386-emulated.sh tools/test-win32-emulated.sh "$shots" build/win32/qemu-run || status=1
  else
    echo "NOTE: so the win32 programs themselves are not tested on this machine."
  fi
fi
echo "== benchmarks"
ctest --preset bench || status=1
echo "== all tests took $(( $(date +%s) - started )) s"
exit $status
