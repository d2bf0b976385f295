#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and quiet.
#
# Debian's `wine` wrapper prefers the 32-bit loader whenever wine32 is
# installed, and that loader cannot start on a kernel without 32-bit ELF
# support; then a 64-bit program still runs under the 64-bit loader. A 32-bit
# program exits with 125 (ctest's "skipped") only on such a kernel; on a
# kernel that starts 32-bit programs a missing 32-bit Wine is an error.
set -euo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run: WINEPREFIX is not set" >&2
  exit 2
fi
# The PE machine field: 6486 for x86-64, 4c01 for x86.
machine=$(od -An -tx1 -j"$(($(od -An -tu4 -j60 -N4 "$exe") + 4))" -N2 "$exe" | tr -d ' ')
if kernel=$(bash "$here/kernel-runs-i386.sh"); then
  if ! command -v wine >/dev/null; then
    echo "wine-run: wine is not installed (Debian package wine)" >&2
    exit 1
  fi
  if [ "$machine" != 6486 ] && [ ! -x /usr/lib/wine/wine ]; then
    echo "wine-run: the kernel starts 32-bit programs, but the 32-bit Wine loader" \
      "/usr/lib/wine/wine (package wine32:i386) is missing: $exe" >&2
    exit 1
  fi
  exec wine "$@"
fi
if [ "$machine" = 6486 ]; then
  if [ ! -x /usr/lib/wine/wine64 ]; then
    echo "wine-run: the 64-bit Wine loader /usr/lib/wine/wine64 (package wine64) is missing" >&2
    exit 1
  fi
  export WINELOADER=/usr/lib/wine/wine64
  exec /usr/lib/wine/wine64 "$@"
fi
echo "wine-run: $kernel: $exe" >&2
exit 125
