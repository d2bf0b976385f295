#!/usr/bin/env bash
# Tells whether this kernel starts 32-bit x86 programs, without Wine: it
# runs a hand-made static i386 ELF of 93 bytes whose only instructions are
# the exit system call with status 42.
#
# Exit status 0 when the kernel can; 1 (and the reason on stdout) when it
# answers "Exec format error". Anything else (a temporary folder mounted
# noexec, say) also gives 0 with a note on stderr, so that a 32-bit test is
# run and fails loudly rather than being skipped.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/brantvell-i386.XXXXXX") || exit 0
trap 'rm -f "$probe"' EXIT
# ELF header (52 bytes), one loadable segment at 0x08048000 (32 bytes), code
# at 0x08048054: xor ebx,ebx; mov bl,42; xor eax,eax; inc eax; int 0x80.
printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\010\064\0\0\0'\
'\0\0\0\0\0\0\0\0\064\0\040\0\1\0\0\0\0\0\0\0'\
'\1\0\0\0\0\0\0\0\0\200\4\010\0\200\4\010\135\0\0\0\135\0\0\0\5\0\0\0\0\020\0\0'\
'\061\333\263\052\061\300\100\315\200' >"$probe"
chmod 700 "$probe"
message=$("$probe" 2>&1)
status=$?
[ "$status" -eq 42 ] && exit 0
if [ "$status" -eq 126 ] && [[ "$message" == *"Exec format error"* ]]; then
  echo "this kernel cannot start 32-bit programs (Exec format error)"
  exit 1
fi
echo "kernel-runs-i386: the probe program gave status $status (${message:-no message}); taken as able" >&2
exit 0
