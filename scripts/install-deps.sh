#!/usr/bin/env bash
# Installs what the build, the tests or the demo need on a fresh Debian 12
# (bookworm) or Debian 13 (trixie) machine, run as root, down to a bare
# system with git (a minbase root): nothing is taken from recommended
# packages.
#
#   scripts/install-deps.sh demo   the main job only: compiler, CMake, Ninja,
#                                  libpng and lnkinfo; nothing 32-bit
#   scripts/install-deps.sh [all]  everything the whole test suite needs
#
# Every package comes from the machine's own apt sources, with apt's
# signature and hash checks as they are. A package registry that lags (an
# index whose size or hash does not match its Release file while a mirror
# syncs) does not stop the install: `apt-get update` is tried a few times,
# an index that still fails is named in one line, and the install goes on
# with what resolves. The 64-bit packages must install; 32-bit Wine is a
# step of its own, and when the registry cannot provide it the reason is
# written to build/wine32-unavailable.txt, where scripts/test-all.sh reads
# it to skip the 32-bit Windows suite by name.
#
# Environment: BRANTVELL_APT_TRIES (default 3), BRANTVELL_APT_PAUSE
# (seconds between tries, default 10).
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive
profile=${1:-all}
case "$profile" in
  demo | all) ;;
  *) echo "install-deps: unknown profile '$profile' (demo or all)" >&2; exit 2 ;;
esac
wine32_note=build/wine32-unavailable.txt
failed_indexes=""

# The package names are the release's own unversioned ones (clang, llvm,
# libclang-rt-dev pick the release's default LLVM), so one list serves
# Debian 12 and 13.
demo_packages=(ca-certificates g++ make cmake ninja-build pkg-config libpng-dev liblnk-utils)
all_packages=("${demo_packages[@]}"
  git file procps util-linux mount diffutils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang-format clang libclang-rt-dev llvm
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  valgrind strace osslsigncode
  desktop-file-utils python3-gi gir1.2-glib-2.0 gir1.2-gmenu-3.0 gnome-menus libglib2.0-bin
  lintian dpkg-dev)

# update: apt-get update, tried again while an index fails. Ends well when
# the lists could be read at all; a last failing index is named, not fatal.
update() {
  local tries=${BRANTVELL_APT_TRIES:-3} pause=${BRANTVELL_APT_PAUSE:-10} try out status
  for ((try = 1; try <= tries; try++)); do
    status=0
    out=$(apt-get update -q 2>&1) || status=$?
    [ "$status" -eq 0 ] && return 0
    if [ "$try" -lt "$tries" ]; then
      echo "install-deps: apt-get update failed (exit $status), try $try of $tries; again in ${pause}s"
      sleep "$pause"
    fi
  done
  # Each failing index once, in one line: "E: Failed to fetch URL  reason".
  failed_indexes=$(grep -E '^(E|W): Failed to fetch' <<<"$out" | sed -E 's/^[EW]: Failed to fetch //; s/ +/ /g' | sort -u)
  [ -z "$failed_indexes" ] || sed 's/^/install-deps: index not fetched, going on without it: /' <<<"$failed_indexes"
  if ! grep -qE '^(E|W): Failed to fetch' <<<"$out"; then
    printf '%s\n' "$out" | tail -n 5
    echo "install-deps: apt-get update failed (exit $status); going on with the lists it could read"
  fi
  return 0
}

if [ "$profile" = all ]; then
  # 32-bit Wine comes from the i386 architecture; wine64 alone cannot start
  # a 32-bit program.
  dpkg --add-architecture i386
fi
update
# apt prints its own reason when a package cannot be had, and the script
# ends with apt's exit status.
if [ "$profile" = demo ]; then
  apt-get install -y -q --no-install-recommends "${demo_packages[@]}"
  exit 0
fi
apt-get install -y -q --no-install-recommends "${all_packages[@]}"

# 32-bit Wine on its own: multiarch needs the i386 twin of every amd64
# library at the same version, which a lagging registry may not have yet.
mkdir -p build
out=$(apt-get install -y -q --no-install-recommends wine32:i386 2>&1) && status=0 || status=$?
if [ "$status" -eq 0 ]; then
  rm -f "$wine32_note"
  echo "install-deps: 32-bit Wine (wine32:i386) installed"
else
  printf '%s\n' "$out" | tail -n 20
  reason=$(grep -E '^E: ' <<<"$out" | sed 's/^E: //' | paste -sd ';' | sed 's/;/; /g')
  broken=$(grep -E '^ +[^ ]+ : Depends:' <<<"$out" | head -n 1 | sed -E 's/^ +//; s/ +/ /g' || true)
  # The index that failed to come is the likelier cause than the first
  # unmet dependency apt happens to name.
  i386_index=$(grep -m 1 -E 'binary-(i386|all)/' <<<"$failed_indexes" || true)
  printf '%s%s%s\n' "${reason:-apt-get exit status $status}" "${broken:+ ($broken)}" \
    "${i386_index:+; index not fetched: $i386_index}" >"$wine32_note"
  echo "install-deps: 32-bit Wine cannot be installed from this registry: $(cat "$wine32_note")"
fi
