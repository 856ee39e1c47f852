#!/bin/sh
# The win32 build's own tests where this machine runs 32-bit code only
# through qemu-user: started by tools/test-all.sh inside
# tools/i386-emulated.sh. Runs each GoogleTest program of build/win32 under
# wine32, then takes a screenshot of each GUI program's window and compares
# it with the reference build's shot of the same program. Everything runs in
# one Wine prefix of its own, made here once, under one wineserver kept for
# the unit tests (the 64-bit one that tools/i386-emulated.sh names): Debian
# starts a server that ends with its last program, so each program would
# otherwise begin a new session (wineboot --init, its services) of its own.
# Usage: test-win32-emulated.sh REFERENCE-SHOTS-DIR OUT-DIR
set -u
cd "$(dirname "$0")/.."
ref=$1 out=$2
tree=$PWD/build/win32
mkdir -p "$out"
out=$(CDPATH= cd -- "$out" && pwd)
[ "${LV_I386_EMULATED:-}" = 1 ] || echo "NOTE: not inside tools/i386-emulated.sh: the programs run as this kernel runs them"
status=0
wine_run=$PWD/tools/wine-run.sh
now() { date +%s; }

# Under qemu-user, an exception raised while the process has a second
# thread kills it; GoogleTest raises one (OutputDebugString) for every
# skip it reports, so a program dies at its first skip. Such a test is
# left out and the program run again.
run_unit() {
  exe=$1 name=$(basename "$1" .exe) left_out=
  t0=$(now)
  while :; do
    filter=
    [ -n "$left_out" ] && filter="--gtest_filter=-$(echo $left_out | tr ' ' ':')"
    # shellcheck disable=SC2086
    (cd "$(dirname "$exe")" && timeout 300 "$wine_run" "$exe" $filter) >"$out/$name.log" 2>&1
    rc=$?
    grep -q '^\[  PASSED  \]' "$out/$name.log" && ! grep -q '^\[  FAILED  \]' "$out/$name.log" && [ $rc -eq 0 ] && break
    # Died right after reporting a skip: that test.
    last=$(tr -d '\r' <"$out/$name.log" | sed -n 's/^\[ RUN      \] //p' | tail -n 1)
    [ -n "$last" ] || break
    tr -d '\r' <"$out/$name.log" | awk -v t="$last" '
      $0 == "[ RUN      ] " t { on = 1; skipped = 0; next }
      on && /^\[ *(OK|SKIPPED|FAILED) *\]/ { on = 0 }
      on && /: Skipped$/ { skipped = 1 }
      END { exit !(on && skipped) }' || break
    case " $left_out " in *" $last "*) break ;; esac
    echo "NOTE: $name: $last reported a skip, which ends the process under qemu-user; run again without it"
    left_out="$left_out $last"
  done
  summary=$(tr -d '\r' <"$out/$name.log" | grep -E '^\[  (PASSED|FAILED) +\]|^\[==========\] .* ran' | tr '\n' ' ')
  if [ $rc -eq 0 ] && grep -q '^\[  PASSED  \]' "$out/$name.log"; then
    echo "win32 (qemu) $name: passed in $(( $(now) - t0 )) s: $summary${left_out:+ (left out:$left_out)}"
  else
    echo "win32 (qemu) $name: FAILED (exit status $rc) in $(( $(now) - t0 )) s; its log:"
    tail -n 40 "$out/$name.log"
    status=1
  fi
}

server=${WINESERVER:-wineserver}
t_all=$(now)
t0=$(now)
export LV_WINEPREFIX="$out/wineprefix"
rm -rf "$LV_WINEPREFIX"
if ! "$PWD/tools/wine-prefix.sh" "$LV_WINEPREFIX"; then
  echo "win32 (qemu) FAILED: no Wine prefix"; exit 1
fi
echo "win32 (qemu) Wine prefix made in $(( $(now) - t0 )) s (server $server)"
WINEPREFIX=$LV_WINEPREFIX "$server" -p </dev/null >/dev/null 2>&1
for exe in $(find "$tree/tests" -name '*_tests.exe' | sort); do
  run_unit "$exe"
done
WINEPREFIX=$LV_WINEPREFIX timeout 60 "$server" -k 2>/dev/null

for program in lumaview lumaviewgl Kitwright; do
  t0=$(now)
  if ! sh tests/e2e32/window_shot.sh "$tree" "$program" "$out/$program.png" "$LV_WINEPREFIX" >"$out/$program-shot.log" 2>&1; then
    echo "win32 (qemu) $program: FAILED to take its screenshot:"; cat "$out/$program-shot.log"; status=1; continue
  fi
  grep '^NOTE' "$out/$program-shot.log"
  if [ ! -f "$ref/$program.png" ]; then
    echo "win32 (qemu) $program: FAILED: no reference screenshot $ref/$program.png"; status=1; continue
  fi
  # At most 100 pixels differ by more than a little (a caret may blink).
  n=$(compare -metric AE -fuzz 8% "$out/$program.png" "$ref/$program.png" "$out/$program-diff.png" 2>&1)
  if [ "${n%%.*}" -le 100 ] 2>/dev/null; then
    echo "win32 (qemu) $program: screenshot matches the reference ($n pixels differ) in $(( $(now) - t0 )) s"
  else
    echo "win32 (qemu) $program: FAILED: screenshot differs from the reference ($n pixels; $out/$program-diff.png)"
    status=1
  fi
done
echo "win32 (qemu) total $(( $(now) - t_all )) s"
exit $status
