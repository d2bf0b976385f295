#!/usr/bin/env bash
# Builds every target and runs the whole test suite: native (plain and with
# AddressSanitizer + UndefinedBehaviorSanitizer, the end-to-end, fault and
# memcheck tests included), the Windows test programs and the Windows
# program of both architectures under Wine in a fresh prefix, and a short
# run of every fuzz target, then the benchmarks with their budgets.
# Expects the packages of scripts/install-deps.sh.
#
# Every suite ends as passed, failed or skipped, and the summary names each
# with the reason of a failure or skip. The 32-bit Windows suite is skipped
# only when the package registry could not provide 32-bit Wine (as
# scripts/install-deps.sh recorded) or on a kernel that cannot start 32-bit
# programs; a Wine prefix that cannot be made fails both Windows suites.
#
# Environment: BRANTVELL_SUITES (the suites to run, separated by blanks or
# commas; default all of: clang-format native native-asan package mingw-i686
# mingw-x86_64 reproducible fuzz bench), BRANTVELL_FUZZ_SECONDS, BRANTVELL_BENCH_RUNS,
# BRANTVELL_BENCH_WINE_RUNS.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
all_suites="clang-format native native-asan package mingw-i686 mingw-x86_64 reproducible fuzz bench"
selected=" ${BRANTVELL_SUITES:-$all_suites} "
selected=${selected//,/ }
for name in $selected; do
  case " $all_suites " in
    *" $name "*) ;;
    *) echo "test-all: unknown suite '$name' in BRANTVELL_SUITES (known: $all_suites)" >&2; exit 2 ;;
  esac
done

names=()
outcomes=()
reasons=()
record() {  # record NAME passed|failed|skipped [REASON]
  names+=("$1")
  outcomes+=("$2")
  reasons+=("${3-}")
  if [ "$2" != passed ]; then echo "=== $1: $2${3:+ ($3)}"; fi
}
selected() { [[ "$selected" == *" $1 "* ]]; }

# step NAME COMMAND...: runs one suite (when selected) and records it. A
# command may set step_reason to explain its failure, or set step_skip to
# end as skipped.
step() {
  local name=$1
  shift
  if ! selected "$name"; then
    record "$name" skipped "not in BRANTVELL_SUITES"
    return
  fi
  echo "=== $name"
  step_reason=""
  step_skip=""
  if "$@"; then
    if [ -n "$step_skip" ]; then record "$name" skipped "$step_skip"; else record "$name" passed "$step_reason"; fi
  else
    record "$name" failed "${step_reason:-exit status $?}"
  fi
}

# The code keeps the layout of one clang-format release, Debian 12's: other
# releases lay out a few constructs differently, so the check runs only
# with that one and says so elsewhere.
reference_clang_format=14
format_check() {
  local version
  version=$(clang-format --version | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
  if [ "$version" != "$reference_clang_format" ]; then
    step_skip="clang-format ${version:-of unknown version} is not the reference release $reference_clang_format (Debian 12), whose layout the code keeps; the check runs there"
    return 0
  fi
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

# skipped_tests LOG: the names of the tests ctest reported as skipped.
skipped_tests() {
  sed -n 's/^.*Test *#[0-9]*: \([^ ]*\) .*\*\*\*Skipped.*$/\1/p' "$1" | tr '\n' ' ' | sed 's/ $//'
}

native() {  # native PRESET
  local log
  log=$(mktemp)
  cmake --preset "$1" >/dev/null &&
    cmake --build --preset "$1" -j "$jobs" &&
    ctest --preset "$1" -j "$jobs" | tee "$log"
  local status=$?
  local skipped
  skipped=$(skipped_tests "$log")
  rm -f "$log"
  [ -n "$skipped" ] && step_reason="tests skipped: $skipped"
  return "$status"
}

# ---- the Wine prefix of the Windows suites --------------------------------

WINEPREFIX=""
prefix_error=""
cleanup() {
  if [ -n "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
}
trap cleanup EXIT

kernel_note=$(bash scripts/kernel-runs-i386.sh)
kernel_runs_i386=$?

# 32-bit Wine is installed apart from the rest (scripts/install-deps.sh),
# and a lagging package registry may not provide it; install-deps then
# writes apt's reason here.
wine32_note=build/wine32-unavailable.txt
wine32_missing=""
if [ "$(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null)" != "install ok installed" ]; then
  if [ -s "$wine32_note" ]; then
    wine32_missing="the package registry could not provide 32-bit Wine: $(head -n 1 "$wine32_note")"
  else
    wine32_missing="32-bit Wine (wine32:i386) is not installed; scripts/install-deps.sh installs it"
  fi
fi

# make_prefix: a fresh prefix, made once; sets prefix_error when it cannot
# be made. The loader is the one this kernel can start.
make_prefix() {
  [ -n "$WINEPREFIX" ] && return 0
  WINEPREFIX=$(mktemp -d /tmp/brantvell-wine.XXXXXX)
  export WINEPREFIX WINEDEBUG=-all
  local boot=(wine wineboot -i) out=$WINEPREFIX.boot.txt
  if [ "$kernel_runs_i386" -ne 0 ]; then
    echo "note: $kernel_note; the prefix is made with the 64-bit loader"
    boot=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i)
  fi
  if ! command -v "${boot[0]}" >/dev/null || { [ "$kernel_runs_i386" -ne 0 ] && [ ! -x /usr/lib/wine/wine64 ]; }; then
    prefix_error="the Wine prefix cannot be made: Wine is not installed (packages wine, wine64, wine32:i386)"
  elif ! "${boot[@]}" >"$out" 2>&1 || ! wineserver -w >>"$out" 2>&1; then
    prefix_error="the Wine prefix cannot be made: '${boot[*]}' failed: $(grep -v '^$' "$out" | tail -n 3 | tr '\n' ' ')"
  elif [ ! -d "$WINEPREFIX/drive_c/windows/system32" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    prefix_error="the Wine prefix cannot be made: '${boot[*]}' left no drive_c/windows/system32 or system.reg: $(grep -v '^$' "$out" | tail -n 3 | tr '\n' ' ')"
  fi
  rm -f "$out"
  [ -n "$prefix_error" ] && echo "test-all: $prefix_error" >&2
  return 0
}

windows() {  # windows PRESET: cross build, then the test programs under Wine
  # The native program takes part in the Windows program's test under Wine.
  cmake --preset "$1" -DBRANTVELL_NATIVE_PROGRAM="$PWD/build/native/brantvell" >/dev/null &&
    cmake --build --preset "$1" -j "$jobs" || return
  # The only two reasons to leave the 32-bit tests out: a registry that
  # could not provide 32-bit Wine, and a kernel that cannot start 32-bit
  # programs. Once 32-bit Wine is installed, a failure stays a failure.
  if [ "$1" = mingw-i686 ]; then
    if [ -n "$wine32_missing" ] && [ -s "$wine32_note" ]; then
      step_skip="built; its tests not run: $wine32_missing"
      return 0
    elif [ "$kernel_runs_i386" -ne 0 ]; then
      step_skip="built; its tests not run: $kernel_note"
      return 0
    elif [ -n "$wine32_missing" ]; then
      step_reason=$wine32_missing
      return 1
    fi
  fi
  make_prefix
  if [ -n "$prefix_error" ]; then
    step_reason=$prefix_error
    return 1
  fi
  local log status skipped
  log=$(mktemp)
  ctest --preset "$1" | tee "$log"
  status=$?
  skipped=$(skipped_tests "$log")
  rm -f "$log"
  # Every tool of these tests is installed by scripts/install-deps.sh, so a
  # skipped Windows test is a failure here.
  if [ -n "$skipped" ]; then
    step_reason="tests skipped: $skipped"
    return 1
  fi
  [ "$status" -eq 0 ] || step_reason="ctest failed (exit status $status)"
  return "$status"
}

step "clang-format" format_check
step "native" native native
step "native-asan" native native-asan
# The Debian package of the Linux program, checked by lintian.
step "package" bash scripts/package-check.sh
step "mingw-i686" windows mingw-i686
step "mingw-x86_64" windows mingw-x86_64
cleanup
WINEPREFIX=""

# Two builds of the Windows release program in two folders must be the same
# to the byte; prints their SHA-256.
step "reproducible" bash scripts/reproducible-build.sh

# Each fuzz target for a short while; scripts/fuzz.sh with more seconds for
# a longer run.
step "fuzz" bash scripts/fuzz.sh "${BRANTVELL_FUZZ_SECONDS:-60}"

# The measurements side by side, with fewer runs than bench/run_bench.sh
# takes by default. Timings are printed and only inform; the suite fails
# when the program and what it is compared with stop doing the same work, or
# when a run exceeds its instruction or system-call budget.
step "bench" env PERF_BUILD="$PWD/build/mingw-x86_64" CHECK_BUDGETS=1 \
  RUNS="${BRANTVELL_BENCH_RUNS:-9}" WINE_RUNS="${BRANTVELL_BENCH_WINE_RUNS:-5}" REPS=3 \
  bash bench/run_bench.sh

passed=0
failed=0
skipped=0
echo
echo "== summary"
for i in "${!names[@]}"; do
  case ${outcomes[i]} in
    passed) passed=$((passed + 1)) ;;
    failed) failed=$((failed + 1)) ;;
    skipped) skipped=$((skipped + 1)) ;;
  esac
  printf '%-8s %s%s\n' "${outcomes[i]}" "${names[i]}" "${reasons[i]:+: ${reasons[i]}}"
done
echo "suites: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
