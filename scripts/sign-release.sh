#!/usr/bin/env bash
# Signs the Windows release programs with Authenticode (osslsigncode) and
# prints each one's SHA-256 before and after.
#
# Usage: scripts/sign-release.sh CERT KEY [EXE...]
#   CERT  the code-signing certificate (PEM or DER, with its chain if any)
#   KEY   its private key (PEM or DER); a passphrase is taken from
#         BRANTVELL_SIGN_PASS when set
#   EXE   the programs to sign (default: both release builds,
#         build/mingw-i686/Brantvell.exe and build/mingw-x86_64/Brantvell.exe)
# BRANTVELL_TIMESTAMP_URL, when set, names an RFC 3161 time-stamp server.
#
# Each signed program is written as signed/Brantvell.exe beside the
# unsigned one, which stays as the build made it (so a rebuild can still be
# compared with it byte for byte). Exit status 1 when a program cannot be
# signed or its signature does not verify, 2 on wrong usage.
set -uo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 CERT KEY [EXE...]" >&2
  exit 2
fi
cert=$1
key=$2
shift 2
for file in "$cert" "$key"; do
  [ -r "$file" ] || {
    echo "sign-release: cannot read $file" >&2
    exit 2
  }
done
if ! command -v osslsigncode >/dev/null; then
  echo "sign-release: osslsigncode is not installed (Debian package osslsigncode)" >&2
  exit 1
fi
here=$(cd "$(dirname "$0")/.." && pwd)
exes=("$@")
[ ${#exes[@]} -gt 0 ] || exes=("$here/build/mingw-i686/Brantvell.exe" "$here/build/mingw-x86_64/Brantvell.exe")

options=(-certs "$cert" -key "$key" -h sha256 -n Brantvell)
[ -n "${BRANTVELL_SIGN_PASS:-}" ] && options+=(-pass "$BRANTVELL_SIGN_PASS")
[ -n "${BRANTVELL_TIMESTAMP_URL:-}" ] && options+=(-ts "$BRANTVELL_TIMESTAMP_URL")

status=0
for exe in "${exes[@]}"; do
  if [ ! -f "$exe" ]; then
    echo "sign-release: $exe is missing (build it first)" >&2
    status=1
    continue
  fi
  signed=$(dirname "$exe")/signed/$(basename "$exe")
  mkdir -p "$(dirname "$signed")"
  rm -f "$signed"
  echo "$exe"
  echo "  unsigned SHA-256 $(sha256sum <"$exe" | cut -d' ' -f1)"
  if ! out=$(osslsigncode sign "${options[@]}" -in "$exe" -out "$signed" 2>&1); then
    echo "sign-release: signing $exe failed:" >&2
    echo "$out" >&2
    rm -f "$signed"
    status=1
    continue
  fi
  if ! out=$(osslsigncode verify -CAfile "$cert" -in "$signed" 2>&1); then
    echo "sign-release: the signature of $signed does not verify:" >&2
    echo "$out" >&2
    status=1
    continue
  fi
  echo "  signed   SHA-256 $(sha256sum <"$signed" | cut -d' ' -f1)  $signed"
done
exit "$status"
