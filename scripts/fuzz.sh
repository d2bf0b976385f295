#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one for SECONDS on a copy of its
# seed corpus fuzz/corpus/<name>/, one after the other. A target that finds
# a crash, a sanitizer report or a broken property fails; the input that did
# it is kept in build/fuzz/runs/<name>/findings/.
#
#   scripts/fuzz.sh [SECONDS] [NAME...]     (default: 60 s, every target)
#
# Expects the packages of scripts/install-deps.sh.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: $0 [SECONDS] [NAME...]" >&2
  exit 2
fi
shift $(($# > 0 ? 1 : 0))
if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
if ! { cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs"; }; then
  echo "fuzz: the fuzz targets did not build"
  echo "0 passed, ${#targets[@]} failed"
  exit 1
fi

passed=0
failed=0
failures=()
for name in "${targets[@]}"; do
  program=build/fuzz/fuzz/${name}_fuzz
  work=build/fuzz/runs/$name
  echo "=== $name (${seconds} s)"
  if [ ! -x "$program" ] || [ ! -d "fuzz/corpus/$name" ]; then
    echo "fuzz: no target or no seed corpus for $name"
    failed=$((failed + 1))
    failures+=("$name")
    continue
  fi
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  cp fuzz/corpus/"$name"/* "$work/corpus/"
  options=(-max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1
    -artifact_prefix="$work/findings/")
  [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
  "$program" "${options[@]}" "$work/corpus" >"$work/log" 2>&1
  status=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$work/log"
  if [ $status -eq 0 ] && [ -z "$(ls -A "$work/findings")" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
    echo "fuzz: $name found a fault (exit $status); the end of $work/log:"
    tail -n 40 "$work/log"
    for finding in "$work"/findings/*; do
      [ -e "$finding" ] && echo "fuzz: input kept in $finding (replay: $program $finding)"
    done
  fi
done

[ ${#failures[@]} -gt 0 ] && echo "failed: ${failures[*]}"
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
