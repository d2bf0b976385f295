#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a fresh
# Debian 12 machine (run as root), down to a bare system with git (a minbase
# root): nothing is taken from recommended packages.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine comes from the i386 architecture; wine64 alone cannot start a
# 32-bit program.
dpkg --add-architecture i386
apt-get update -q
# wine puts wine, wineboot and wineserver on the PATH; wine64 and
# wine32:i386 are the two loaders behind them.
apt-get install -y -q --no-install-recommends \
  ca-certificates git file procps util-linux mount diffutils \
  g++ make cmake ninja-build pkg-config \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  clang-format clang libclang-rt-14-dev llvm-14 \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  wine wine64 wine32:i386 \
  xvfb xauth xdotool imagemagick fonts-dejavu-core \
  liblnk-utils valgrind strace \
  desktop-file-utils python3-gi gir1.2-glib-2.0 lintian libpng-dev dpkg-dev
