#!/bin/sh
# Succeeds where this machine runs 32-bit x86 Linux programs, and so wine32:
# some virtual machines' kernels run 64-bit code only.
exec /lib/ld-linux.so.2 --version >/dev/null 2>&1
