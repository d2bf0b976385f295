#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a fresh
# Debian 12 machine (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine comes from the i386 architecture; wine64 alone cannot start a
# 32-bit program.
dpkg --add-architecture i386
apt-get update -q
apt-get install -y -q --no-install-recommends \
  g++ cmake ninja-build make pkg-config file \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  clang-format clang libclang-rt-14-dev llvm-14 \
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  wine64 wine32:i386 xvfb xauth xdotool imagemagick liblnk-utils \
  valgrind strace procps \
  fonts-dejavu-core \
  desktop-file-utils python3-gi gir1.2-glib-2.0 lintian libpng-dev dpkg-dev
