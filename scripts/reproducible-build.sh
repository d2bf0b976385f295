#!/usr/bin/env bash
# Builds the Windows release program twice, from two copies of the checked-in
# sources in two different folders, for 32- and 64-bit, and compares the
# exes byte for byte; prints each exe's SHA-256. Exit status 1 when a pair
# differs.
#
# Usage: scripts/reproducible-build.sh [PRESET...]  (default: both mingw)
set -uo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(mingw-i686 mingw-x86_64)
jobs=${BRANTVELL_JOBS:-2}
work=$(mktemp -d /tmp/brantvell-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
for copy in one second-copy; do
  mkdir -p "$work/$copy/src"
  git archive HEAD | tar -x -C "$work/$copy/src"
done
for preset in "${presets[@]}"; do
  sums=()
  for copy in one second-copy; do
    src=$work/$copy/src
    if ! (cmake -S "$src" --preset "$preset" -DBRANTVELL_TESTS=OFF >/dev/null &&
      cmake --build "$src/build/$preset" -j "$jobs" --target brantvell >/dev/null); then
      echo "$preset: the build in $src failed"
      status=1
      continue 2
    fi
    sums+=("$(sha256sum <"$src/build/$preset/Brantvell.exe" | cut -d' ' -f1)")
  done
  if cmp "$work/one/src/build/$preset/Brantvell.exe" "$work/second-copy/src/build/$preset/Brantvell.exe"; then
    echo "$preset: identical, SHA-256 ${sums[0]}"
  else
    echo "$preset: the two builds differ (SHA-256 ${sums[0]} and ${sums[1]})"
    status=1
  fi
done
exit "$status"
