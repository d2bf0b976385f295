#!/usr/bin/env bash
# Builds every target and runs the whole test suite: native (plain and with
# AddressSanitizer + UndefinedBehaviorSanitizer, the end-to-end, fault and
# memcheck tests included), the Windows test programs and the Windows
# program of both architectures under Wine in a fresh prefix, and a short
# run of every fuzz target, then the benchmarks with their budgets.
# Expects the packages of scripts/install-deps.sh.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
passed=0
failed=0
failures=()

step() {  # step NAME COMMAND...: runs one suite and counts it
  local name=$1
  shift
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}

format_check() {
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

native() {  # native PRESET
  cmake --preset "$1" >/dev/null &&
    cmake --build --preset "$1" -j "$jobs" &&
    ctest --preset "$1" -j "$jobs"
}

windows() {  # windows PRESET: cross build, then the test programs under Wine
  # The native program takes part in the Windows program's test under Wine.
  cmake --preset "$1" -DBRANTVELL_NATIVE_PROGRAM="$PWD/build/native/brantvell" >/dev/null &&
    cmake --build --preset "$1" -j "$jobs" &&
    ctest --preset "$1"
}

step "clang-format" format_check
step "native" native native
step "native-asan" native native-asan

# A fresh prefix, made only after Wine is installed completely.
WINEPREFIX=$(mktemp -d /tmp/brantvell-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wine wineboot -i >/dev/null 2>&1
else
  echo "note: this kernel cannot run 32-bit programs; the 32-bit Windows tests are skipped"
  WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
fi
wineserver -w 2>/dev/null || true
step "mingw-i686" windows mingw-i686
step "mingw-x86_64" windows mingw-x86_64
wineserver -k 2>/dev/null || true

# Each fuzz target for a short while; scripts/fuzz.sh with more seconds for
# a longer run.
step "fuzz" bash scripts/fuzz.sh "${BRANTVELL_FUZZ_SECONDS:-60}"

# The measurements side by side, with fewer runs than bench/run_bench.sh
# takes by default. Timings on a shared machine only inform; the suite fails
# when the program and what it is compared with stop doing the same work, or
# when a run exceeds its budget (the native run against the floor, the
# instructions and system calls of a run).
step "bench" env PERF_BUILD="$PWD/build/mingw-x86_64" CHECK_BUDGETS=1 \
  RUNS="${BRANTVELL_BENCH_RUNS:-9}" WINE_RUNS="${BRANTVELL_BENCH_WINE_RUNS:-5}" REPS=3 \
  bash bench/run_bench.sh

echo
if [ "$failed" -ne 0 ]; then
  echo "failed suites: ${failures[*]}"
fi
echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
