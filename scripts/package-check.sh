#!/usr/bin/env bash
# Builds the Linux program in release form (preset native-package), packages
# it as build/package/brantvell_1.0.17_amd64.deb with CPack and checks the
# package with lintian: fails when lintian reports an error, or the package
# lacks the program, the manual page or its dependencies.
#
# Expects the packages of scripts/install-deps.sh (dpkg-dev, lintian).
set -euo pipefail
cd "$(dirname "$0")/.."

deb=build/package/brantvell_1.0.17_amd64.deb
rm -f "$deb"
cmake --preset native-package >/dev/null
cmake --build --preset native-package -j2 --target package | tail -n 1
[ -f "$deb" ] || { echo "package-check: $deb was not made"; exit 1; }

status=0
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/brantvell ./usr/share/man/man1/brantvell.1.gz ./usr/share/doc/brantvell/copyright; do
  grep -qF " $file" <<<"$contents" || { echo "package-check: the package lacks $file"; status=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 libstdc++6 libpng16-16; do
  grep -q "\b$package\b" <<<"$depends" || { echo "package-check: Depends lacks $package"; status=1; }
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "wine, xdg-utils" ] ||
  { echo "package-check: wine and xdg-utils are not recommended"; status=1; }
echo "Depends: $depends"

report=$(lintian "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -n "$report" ] && printf '%s\n' "$report"
if grep -q '^E:' <<<"$report"; then
  echo "package-check: lintian reports errors"
  status=1
fi
[ $status -eq 0 ] && echo "package-check: $deb is fine"
exit $status
