#!/bin/sh
# Runs a command where 32-bit x86 Linux programs (so wine32) run through
# qemu-user: for kernels that run 64-bit code only. The command runs in a
# private user and mount namespace with a binfmt_misc of its own (Linux 6.7
# and later), where i386 ELF programs are handed to qemu-i386-static.
# Nothing is registered outside it, and it ends with the command, with
# every process started in it.
#   i386-emulated.sh COMMAND [ARGUMENTS...]
#   i386-emulated.sh --check    succeeds where it can be made; else says why
# Inside, LV_I386_EMULATED=1 (tests and scripts may ask), and WINESERVER
# names a 64-bit wineserver, which serves the 32-bit Wine processes
# natively: wineserver32 under qemu-user is slow (a new prefix takes five
# minutes, not twenty seconds) and now and then crashes ("uncaught target
# signal 11"), leaving every process of its prefix waiting for ever.
qemu=/usr/bin/qemu-i386-static
why() { echo "the 32-bit programs cannot run through qemu-user here: $*" >&2; exit 3; }
root=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)

if [ "$LV_I386_NAMESPACE" != inside ]; then
  [ -x "$qemu" ] || why "no $qemu (package qemu-user-static)"
  command -v unshare >/dev/null 2>&1 || why "no unshare (package util-linux)"
  # A PID namespace too: a Wine process that never ends under qemu-user
  # (seen after its server had gone) ends with the command.
  LV_I386_NAMESPACE=inside exec unshare --user --map-root-user --mount --pid --fork --mount-proc \
    -- sh "$0" "$@"
fi
if [ "$LV_I386_EMULATED" != 1 ]; then
  misc=/proc/sys/fs/binfmt_misc
  mount -t binfmt_misc lv-binfmt "$misc" 2>/dev/null ||
    why "this kernel gives a user namespace no binfmt_misc of its own (Linux 6.7 or later)"
  # The i386 ELF header (executables and shared objects such as
  # ld-linux.so.2); F opens qemu now, so it is found from any mount view.
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' ":lv-i386:M::$magic:$mask:$qemu:F" >"$misc/register" 2>/dev/null ||
    why "the i386 handler could not be registered in the namespace"
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 ||
    why "i386 programs do not start through qemu (is libc6:i386 installed?)"
  # Without the preloader each Wine process takes a minute or more to start.
  [ -e /usr/lib/wine/wine-preloader ] ||
    why "no /usr/lib/wine/wine-preloader (package wine32-preloader:i386)"
  for server in /usr/lib/wine/wineserver64 "$root/build/wine64/usr/lib/wine/wineserver64" ""; do
    [ -x "$server" ] && break
  done
  [ -n "$server" ] || why "no 64-bit wineserver (package wine64)"
  export WINESERVER=$server
  export LV_I386_EMULATED=1
fi
[ "$1" = --check ] && exit 0
[ $$ -eq 1 ] || exec "$@"
# The namespace's first process gets no signal it does not handle: pass
# them on to the command, and wait for it.
trap 'kill -TERM "$child" 2>/dev/null' TERM INT HUP
"$@" &
child=$!
while :; do
  wait "$child"
  rc=$?
  kill -0 "$child" 2>/dev/null || exit $rc
done
