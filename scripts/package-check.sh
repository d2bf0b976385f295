#!/usr/bin/env bash
# Builds the Linux program in release form (preset native-package), packages
# it as build/package/brantvell_<version>_amd64.deb with CPack and checks the
# package with lintian: fails when lintian reports an error, or the package
# lacks the program, the manual page or its dependencies, or the program
# links a library it does not need at every start.
#
# Expects the packages of scripts/install-deps.sh (dpkg-dev, lintian).
set -euo pipefail
cd "$(dirname "$0")/.."

rm -f build/package/brantvell_*_amd64.deb
cmake --preset native-package >/dev/null
cmake --build --preset native-package -j2 --target package | tail -n 1
# The version is the project's (CMakeLists.txt); the package is the one made.
debs=(build/package/brantvell_*_amd64.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "package-check: no build/package/brantvell_*_amd64.deb was made"; exit 1; }

status=0
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/brantvell ./usr/share/man/man1/brantvell.1.gz ./usr/share/doc/brantvell/copyright; do
  grep -qF " $file" <<<"$contents" || { echo "package-check: the package lacks $file"; status=1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -qE "(^|[ ,])libc6( |,|$)" <<<"$depends" || { echo "package-check: Depends lacks libc6"; status=1; }
# libpng is loaded when an icon is written, so no library scan finds it: the
# package names it as libpng16-16 or libpng16-16t64 (releases that moved to
# 64-bit time), one package installable on Debian 12 and 13 alike.
grep -qE "(^|, )libpng16-16( \([^)]*\))? \| libpng16-16t64(,|$)" <<<"$depends" ||
  { echo "package-check: Depends lacks libpng16-16 | libpng16-16t64"; status=1; }
# ... and the packaged program does not link it, so a start does not load it.
unpacked=$(mktemp -d)
dpkg-deb -x "$deb" "$unpacked"
needed=$(readelf -d "$unpacked/usr/bin/brantvell" | grep NEEDED || true)
rm -rf "$unpacked"
if ! grep -q 'libc\.so' <<<"$needed"; then
  echo "package-check: the libraries the program needs cannot be read"
  status=1
elif grep -q libpng <<<"$needed"; then
  echo "package-check: the program links libpng, so every start loads it"
  status=1
elif grep -q 'libstdc++' <<<"$needed"; then
  # The release program carries the C++ runtime it uses (CMakeLists.txt).
  echo "package-check: the program links the shared C++ runtime, loaded and bound at every start"
  status=1
fi
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
