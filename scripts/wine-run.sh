#!/usr/bin/env bash
# Runs a Windows program under Wine, headless and quiet.
#
# Debian's `wine` wrapper prefers the 32-bit loader whenever wine32 is
# installed, and that loader cannot start on a kernel without 32-bit ELF
# support; then a 64-bit program still runs under the 64-bit loader. A 32-bit
# program needs the 32-bit loader: on such a kernel it exits with 125.
set -euo pipefail
exe=$1
export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run: WINEPREFIX is not set" >&2
  exit 2
fi
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  exec wine "$@"
fi
if [ -x /usr/lib/wine/wine64 ] && [ "$(od -An -tx1 -j"$(($(od -An -tu4 -j60 -N4 "$exe") + 4))" -N2 "$exe" | tr -d ' ')" = "6486" ]; then
  export WINELOADER=/usr/lib/wine/wine64
  exec /usr/lib/wine/wine64 "$@"
fi
echo "wine-run: this machine cannot run 32-bit programs under Wine (no 32-bit loader): $exe" >&2
exit 125
