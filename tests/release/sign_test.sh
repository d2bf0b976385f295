#!/usr/bin/env bash
# scripts/sign-release.sh with a throw-away self-signed certificate made
# here: the signed program carries an Authenticode signature that verifies
# against that certificate, both SHA-256 sums are printed, and the unsigned
# program stays byte for byte what the build made (its .sha256 beside it).
#
# Usage: sign_test.sh BRANTVELL_EXE
# Exit status 125 when openssl or osslsigncode is missing.
set -uo pipefail
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 Brantvell.exe" >&2
  exit 2
fi
for tool in openssl osslsigncode; do
  if ! command -v "$tool" >/dev/null; then
    echo "sign_test: $tool is missing; skipped"
    exit 125
  fi
done
here=$(cd "$(dirname "$0")" && pwd)
sign=$here/../../scripts/sign-release.sh
work=$(mktemp -d /tmp/brantvell-sign.XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

# A copy of the build's program with the checksum the build wrote.
exe=$work/build/Brantvell.exe
mkdir -p "$work/build"
cp "$1" "$exe"
built_sum=$(sha256sum <"$1" | cut -d' ' -f1)
if [ -f "$1.sha256" ]; then
  [ "$(cut -d' ' -f1 <"$1.sha256")" = "$built_sum" ] || fail "the program differs from its build's .sha256"
fi

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Brantvell test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
  >/dev/null 2>&1 || {
  echo "sign_test: openssl cannot make a certificate"
  exit 1
}

out=$(bash "$sign" "$work/cert.pem" "$work/key.pem" "$exe" 2>&1)
status=$?
echo "$out"
[ "$status" -eq 0 ] || fail "sign-release.sh exited $status"
signed=$work/build/signed/Brantvell.exe
[ -f "$signed" ] || fail "no signed program at $signed"
signed_sum=$(sha256sum <"$signed" | cut -d' ' -f1)
grep -q "unsigned SHA-256 $built_sum" <<<"$out" || fail "the unsigned SHA-256 is not printed"
grep -q "signed   SHA-256 $signed_sum" <<<"$out" || fail "the signed SHA-256 is not printed"
[ "$signed_sum" != "$built_sum" ] || fail "the signed program is the unsigned one"

# The signature verifies against the certificate, and names it.
verify=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" 2>&1) ||
  fail "the signature does not verify: $verify"
grep -q "Brantvell test signing" <<<"$verify" || fail "the signature does not name the certificate"
# The unsigned program has no signature, and is unchanged.
osslsigncode verify -CAfile "$work/cert.pem" -in "$exe" >/dev/null 2>&1 &&
  fail "the unsigned program verifies as signed"
[ "$(sha256sum <"$exe" | cut -d' ' -f1)" = "$built_sum" ] || fail "signing changed the unsigned program"

# A program altered after signing no longer verifies.
cp "$signed" "$work/altered.exe"
printf 'x' | dd of="$work/altered.exe" bs=1 seek=1024 conv=notrunc 2>/dev/null
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/altered.exe" >/dev/null 2>&1 &&
  fail "an altered signed program still verifies"

# Wrong usage.
bash "$sign" "$work/cert.pem" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing KEY is not a usage error"

[ "$failed" -eq 0 ] && echo "sign_test: passed"
[ "$failed" -eq 0 ]
