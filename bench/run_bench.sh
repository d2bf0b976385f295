#!/usr/bin/env bash
# Measures the program side by side with what it is compared against and
# prints one ratio per comparison (docs/performance.md has the results):
#
#   native   the whole native run `/action=czsk /mode=q` on a demo prefix
#            against bench/io_floor, which makes the same files and appends
#            the same log lines (target: within 1.5x of the floor)
#   wine     Brantvell.exe (x86_64) under Wine against bench/make_shortcuts.vbs
#            run by cscript under the same Wine on the same prefix (target:
#            faster than the script)
#   micro    the log writer against plain appends, the parser, SetDebug
#            (Google Benchmark, medians of repetitions)
#   counts   instructions (callgrind) and system calls (strace) of one
#            native run
#
# Usage: bench/run_bench.sh [native|wine|micro|counts|all]...   (default all)
# Environment: RUNS (timed runs of each side, default 31; the median is
# reported), WINE_RUNS (default 15), REPS (benchmark repetitions, default 5),
# PERF_BUILD (a 64-bit Windows Release build folder to take Brantvell.exe
# from instead of configuring build/perf), CHECK_BUDGETS=1 (exit with 1 when
# a budget below is exceeded: the suite's regression check).
#
# Budgets: at most IR_BUDGET instructions (default 5,100,000) and
# SYSCALL_BUDGET system calls (default 900) per native run on the hand-made
# prefix; on a prefix made by `wineboot -i` (once per run of this script,
# with the App Paths value added) at most BOOTED_IR_BUDGET instructions
# (15,000,000), BOOTED_SYSCALL_BUDGET system calls (1,000) and
# BOOTED_PEAK_KB_BUDGET kilobytes of peak memory (10,240); a run with a
# command line of 1 MB at most LONG_LINE_IR_RATIO (5) times the
# instructions of the same run with a plain one (the text is copied a few
# times on its way from the arguments to the switches, and a copy counts
# about an instruction a byte). The counts do
# not depend on the machine's load, so they catch a regression that timings
# would hide in noise. Timings (the native run's target of at most 1.5 times
# the floor among them) are printed and never decide: a shared machine's
# load would make them pass or fail by chance. With CHECK_BUDGETS=1 a
# comparison that cannot be run (no Wine, no mingw) also fails.
#
# Runs alternate between the two sides of a comparison so that the load of
# a shared machine falls on both alike. Each run starts from the same state:
# no group folder, no desktop shortcuts, no log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The runs measure the shortcut work and never write into the user's menu.
export BRANTVELL_NO_DESKTOP_ENTRIES=1

RUNS=${RUNS:-31}
WINE_RUNS=${WINE_RUNS:-15}
REPS=${REPS:-5}
sections=("$@")
[ ${#sections[@]} -eq 0 ] && sections=(native wine micro counts)

IR_BUDGET=${IR_BUDGET:-5100000}
SYSCALL_BUDGET=${SYSCALL_BUDGET:-900}
BOOTED_IR_BUDGET=${BOOTED_IR_BUDGET:-15000000}
BOOTED_SYSCALL_BUDGET=${BOOTED_SYSCALL_BUDGET:-1000}
BOOTED_PEAK_KB_BUDGET=${BOOTED_PEAK_KB_BUDGET:-10240}
LONG_LINE_IR_RATIO=${LONG_LINE_IR_RATIO:-5}
CHECK_BUDGETS=${CHECK_BUDGETS:-0}
over_budget=()

WORK=$(mktemp -d)
cleanup() {
  if [ -n "${BENCH_WINEPREFIX:-}" ]; then
    WINEPREFIX=$BENCH_WINEPREFIX wineserver -k >/dev/null 2>&1 || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
# The prefix helpers of the end-to-end tests (new_prefix, host_path).
. "$root/tests/support/program_runs.sh"

release=$root/build/release
program=$release/brantvell
floor=$release/bench/io_floor
peak_memory=$release/bench/peak_memory
summary=()
BOOTED=

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"

# ---- timing helpers -----------------------------------------------------------

now_us() {  # microseconds, without starting a process
  local t=${EPOCHREALTIME/[.,]/}
  echo "$t"
}

median() {  # median of the numbers on standard input
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

ratio() {  # ratio A B: A / B with two decimals
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

# budget NAME VALUE LIMIT: notes NAME when VALUE is above LIMIT.
budget() {
  if awk -v v="$2" -v l="$3" 'BEGIN { exit !(v > l) }'; then
    over_budget+=("$1: $2 (budget $3)")
  fi
}

ms() {  # microseconds as milliseconds
  awk -v a="$1" 'BEGIN { printf "%.2f", a / 1000 }'
}

# reset_outputs PREFIX LOG: the state before a czsk run.
reset_outputs() {
  rm -rf "$1/$GROUP_REL" "$2"
  rm -f "$1/$DESKTOP_REL"/*
}

build_native() {
  cmake --preset native-release >/dev/null
  cmake --build --preset native-release -j2 --target brantvell io_floor peak_memory log_bench \
    command_line_bench |
    tail -n 1
}

# pick_loader: wine_tool runs a Windows program with the loader that runs
# here (wine64 alone where the kernel cannot start 32-bit programs).
pick_loader() {
  loader=(wine)
  bash "$root/scripts/kernel-runs-i386.sh" >/dev/null ||
    loader=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64)
  wine_tool() { "${loader[@]}" "$@"; }
}

# make_booted: BOOTED becomes a prefix as a Linux user has one, made by
# `wineboot -i` once per run of this script, with the application's App
# Paths value and its folder; false (noted) when Wine is not there.
make_booted() {
  [ -n "$BOOTED" ] && return 0
  if ! command -v wine >/dev/null 2>&1; then
    echo "   booted prefix skipped: wine is not installed"
    over_budget+=("booted prefix not measured: wine is not installed")
    return 1
  fi
  pick_loader
  local prefix=$WORK/booted/prefix
  mkdir -p "$prefix" "$WORK/booted/temp"
  echo "   making a prefix with wineboot -i ..."
  if ! WINEPREFIX=$prefix WINEDEBUG=-all wine_tool wineboot -i >"$WORK/booted.txt" 2>&1 ||
    ! WINEPREFIX=$prefix WINEDEBUG=-all wine_tool reg add \
      'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe' \
      /v Path /t REG_SZ /d 'C:\Veldramona' /f >>"$WORK/booted.txt" 2>&1; then
    echo "   the booted prefix cannot be made:" >&2
    tail -n 5 "$WORK/booted.txt" >&2
    over_budget+=("booted prefix not measured: wineboot failed")
    return 1
  fi
  # Wine writes system.reg when its server ends.
  WINEPREFIX=$prefix wineserver -w
  mkdir -p "$prefix/drive_c/Veldramona"
  touch "$prefix/drive_c/Veldramona/Loader.exe"
  BOOTED=$prefix
  echo "   booted prefix: system.reg of $(stat -c %s "$prefix/system.reg") bytes," \
    "$(grep -c '^\[' "$prefix/system.reg") keys"
}

# ---- native run against the I/O floor ------------------------------------------

# The floor's pack, $WORK/floor.pack: what one run of the program writes,
# in the prefix $WORK/reference.
make_pack() {
  [ -f "$WORK/floor.pack" ] && return 0
  new_prefix reference
  touch "$(host_path 'C:\Veldramona')/Loader.exe"
  WINEPREFIX=$PREFIX TEMP=$TEMPDIR "$program" /action=czsk /mode=q
  "$floor" pack "$PREFIX" "$LOG" "$WORK/floor.pack" >/dev/null
}

bench_native() {
  echo
  echo "== native run /action=czsk /mode=q against the I/O floor ($RUNS runs each)"
  make_pack
  local ref_prefix=$WORK/reference/prefix lines
  lines=$(wc -l <"$WORK/reference/temp/Brantvell.TXT")

  new_prefix timed
  touch "$(host_path 'C:\Veldramona')/Loader.exe"
  local i t0 t1 status=0
  : >"$WORK/program.us"
  : >"$WORK/floor.us"
  for ((i = 0; i < RUNS; i++)); do
    reset_outputs "$PREFIX" "$LOG"
    t0=$(now_us)
    WINEPREFIX=$PREFIX TEMP=$TEMPDIR "$program" /action=czsk /mode=q || status=$?
    t1=$(now_us)
    [ "$status" -eq 0 ] || { echo "the program failed (status $status)" >&2; return 1; }
    echo $((t1 - t0)) >>"$WORK/program.us"

    reset_outputs "$PREFIX" "$LOG"
    t0=$(now_us)
    "$floor" run "$WORK/floor.pack" "$PREFIX" "$LOG"
    t1=$(now_us)
    echo $((t1 - t0)) >>"$WORK/floor.us"
  done
  # The floor's last run must have made what the program makes.
  if ! diff -r "$ref_prefix/$GROUP_REL" "$PREFIX/$GROUP_REL" >/dev/null ||
    ! diff -r "$ref_prefix/$DESKTOP_REL" "$PREFIX/$DESKTOP_REL" >/dev/null ||
    [ "$(wc -l <"$LOG")" -ne "$lines" ]; then
    echo "the floor did not make the same files and log lines" >&2
    return 1
  fi
  local p f
  p=$(median <"$WORK/program.us")
  f=$(median <"$WORK/floor.us")
  echo "   program: median $(ms "$p") ms"
  echo "   floor:   median $(ms "$f") ms ($lines log lines, 11 shortcut files)"
  echo "   ratio program / floor: $(ratio "$p" "$f")  (target: at most 1.5; a timing, so it only informs)"
  summary+=("native run / I/O floor: $(ratio "$p" "$f")  ($(ms "$p") ms / $(ms "$f") ms)")

  # The same on a booted prefix, against the floor that also reads its
  # system.reg once.
  make_booted || return 0
  local booted_log=$WORK/booted/temp/Brantvell.TXT
  : >"$WORK/booted.us"
  : >"$WORK/booted-floor.us"
  for ((i = 0; i < RUNS; i++)); do
    reset_outputs "$BOOTED" "$booted_log"
    t0=$(now_us)
    WINEPREFIX=$BOOTED TEMP=$WORK/booted/temp "$program" /action=czsk /mode=q || status=$?
    t1=$(now_us)
    [ "$status" -eq 0 ] || { echo "the program failed on the booted prefix (status $status)" >&2; return 1; }
    echo $((t1 - t0)) >>"$WORK/booted.us"
    reset_outputs "$BOOTED" "$booted_log"
    t0=$(now_us)
    "$floor" run "$WORK/floor.pack" "$BOOTED" "$booted_log" "$BOOTED/system.reg"
    t1=$(now_us)
    echo $((t1 - t0)) >>"$WORK/booted-floor.us"
  done
  local b bf
  b=$(median <"$WORK/booted.us")
  bf=$(median <"$WORK/booted-floor.us")
  echo "   booted prefix: program median $(ms "$b") ms (hand-made $(ms "$p") ms)," \
    "floor reading system.reg once $(ms "$bf") ms, ratio $(ratio "$b" "$bf")"
  summary+=("native run on a booted prefix / I/O floor with system.reg: $(ratio "$b" "$bf")  ($(ms "$b") ms / $(ms "$bf") ms; hand-made prefix $(ms "$p") ms)")
}

# ---- Brantvell.exe under Wine against the VBScript -------------------------------

bench_wine() {
  echo
  echo "== Brantvell.exe (x86_64) under Wine against cscript make_shortcuts.vbs ($WINE_RUNS runs each)"
  if ! command -v wine >/dev/null 2>&1 || ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
    echo "   skipped: wine or the x86_64 mingw compiler is not installed"
    over_budget+=("Wine comparison not run: wine or the x86_64 mingw compiler is not installed")
    return 0
  fi
  local perf=${PERF_BUILD:-$root/build/perf}
  if [ -z "${PERF_BUILD:-}" ]; then
    cmake -S "$root" -B "$perf" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" -DBRANTVELL_TESTS=OFF \
      >/dev/null
  fi
  cmake --build "$perf" -j2 --target brantvell | tail -n 1

  # Both sides are started the same way, by their paths with the loader
  # that runs here (a bare "cscript" would go through start.exe, one more
  # process). The choice of loader is made once, outside the timed runs.
  pick_loader
  export WINEPREFIX=$WORK/wineprefix WINEDEBUG=-all
  BENCH_WINEPREFIX=$WINEPREFIX
  echo "   making a Wine prefix (wineboot) ..."
  if ! wine_tool wineboot -i >"$WORK/wineboot.txt" 2>&1; then
    echo "   the Wine prefix cannot be made: ${loader[*]} wineboot -i failed:" >&2
    tail -n 5 "$WORK/wineboot.txt" >&2
    return 1
  fi
  wine_tool reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe' \
    /v Path /t REG_SZ /d 'C:\Veldramona' /f >/dev/null 2>&1
  mkdir -p "$WINEPREFIX/drive_c/Veldramona"
  touch "$WINEPREFIX/drive_c/Veldramona/Loader.exe"
  # One wine server and one desktop for all runs, as on a desktop where Wine
  # is running.
  wineserver -w
  wineserver -p
  x86_64-w64-mingw32-g++-posix -O2 -static -o "$WINEPREFIX/drive_c/desktop_holder.exe" \
    "$root/bench/wine_desktop_holder.cpp" -lole32
  x86_64-w64-mingw32-g++-posix -O2 -static -municode -o "$WINEPREFIX/drive_c/append_floor.exe" \
    "$root/bench/wine_append_floor.cpp"
  wine_tool "$WINEPREFIX/drive_c/desktop_holder.exe" >/dev/null 2>&1 &
  local waited=0
  until pgrep -f 'explorer.exe' >/dev/null || [ $waited -ge 100 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  cp "$perf/Brantvell.exe" "$WINEPREFIX/drive_c/Brantvell.exe"
  sed 's/$/\r/' "$root/bench/make_shortcuts.vbs" >"$WINEPREFIX/drive_c/make_shortcuts.vbs"
  { printf '\xff\xfe'; sed 's/$/\r/' "$root/bench/make_shortcuts_names.txt" | iconv -f UTF-8 -t UTF-16LE; } \
    >"$WINEPREFIX/drive_c/names.txt"

  local cscript=$WINEPREFIX/drive_c/windows/system32/cscript.exe temp
  for temp in "$WINEPREFIX"/drive_c/users/*/Temp "$WINEPREFIX"/drive_c/users/*/AppData/Local/Temp; do
    [ -d "$temp" ] && break
  done
  local group=$WINEPREFIX/$GROUP_REL desktop=$WINEPREFIX/$DESKTOP_REL
  wine_reset() {
    rm -rf "$group" "$temp/Brantvell.TXT" "$temp/make_shortcuts.txt"
    rm -f "$desktop"/*
    # The menu builders a run started go on after it ends; the next run must
    # not share the two cores with them.
    local waited=0
    while pgrep -f winemenubuilder >/dev/null && [ $waited -lt 100 ]; do
      sleep 0.1
      waited=$((waited + 1))
    done
  }
  made_files() {  # "size name" of every file the run made
    (cd "$WINEPREFIX" && find "$GROUP_REL" "$DESKTOP_REL" -type f -printf '%s %p\n' | LC_ALL=C sort)
  }
  # A first run of each, checked: the same files of the same sizes.
  wine_reset
  wine_tool "$WINEPREFIX/drive_c/Brantvell.exe" /action=czsk /mode=q
  local by_program by_script program_lines script_lines
  by_program=$(made_files)
  program_lines=$(wc -l <"$temp/Brantvell.TXT")
  wine_reset
  wine_tool "$cscript" //nologo 'C:\make_shortcuts.vbs'
  by_script=$(made_files)
  script_lines=$(wc -l <"$temp/make_shortcuts.txt")
  if [ "$by_program" != "$by_script" ] || [ "$(echo "$by_program" | wc -l)" -ne 11 ]; then
    echo "   the program and the script made different files:" >&2
    diff <(echo "$by_program") <(echo "$by_script") >&2 || true
    return 1
  fi
  echo "   both made the same 11 files; log lines: program $program_lines, script $script_lines"
  # What one record's open, append and close costs in the same folder.
  local temp_win floor_us
  temp_win="C:${temp#"$WINEPREFIX"/drive_c}"
  floor_us=$(wine_tool "$WINEPREFIX/drive_c/append_floor.exe" "${temp_win//\//\\}" "$program_lines" | tr -d '\r')

  printf "x = 0\r\n" >"$WINEPREFIX/drive_c/empty.vbs"
  # The program once more with its log switched off by a log.ini beside it,
  # to tell the log's share of the run.
  mkdir -p "$WINEPREFIX/drive_c/nolog"
  cp "$perf/Brantvell.exe" "$WINEPREFIX/drive_c/nolog/Brantvell.exe"
  printf '[Brantvell]\r\nInfoLog=OFF\r\nSysLog=OFF\r\nERRLOG=OFF\r\nDebugLog=OFF\r\n' \
    >"$WINEPREFIX/drive_c/nolog/log.ini"

  # timed NAME COMMAND...: one run, its microseconds appended to NAME.us.
  timed() {
    local name=$1 t0 t1
    shift
    t0=$(now_us)
    "$@"
    t1=$(now_us)
    echo $((t1 - t0)) >>"$WORK/$name.us"
  }
  local exe=$WINEPREFIX/drive_c/Brantvell.exe nolog=$WINEPREFIX/drive_c/nolog/Brantvell.exe
  local name i
  for name in exe vbs default_exe default_vbs nolog vbs_lines empty; do : >"$WORK/$name.us"; done
  for ((i = 0; i < WINE_RUNS; i++)); do
    # As Wine comes: saving a shell link starts Wine's menu builder
    # (winemenubuilder.exe) for every .lnk.
    wine_reset
    timed default_exe wine_tool "$exe" /action=czsk /mode=q
    wine_reset
    timed default_vbs wine_tool "$cscript" //nologo 'C:\make_shortcuts.vbs'
    # The menu builder switched off, which leaves the work both sides do
    # themselves.
    export WINEDLLOVERRIDES=winemenubuilder.exe=d
    wine_reset
    timed exe wine_tool "$exe" /action=czsk /mode=q
    wine_reset
    timed vbs wine_tool "$cscript" //nologo 'C:\make_shortcuts.vbs'
    wine_reset
    timed nolog wine_tool "$nolog" /action=czsk /mode=q
    wine_reset
    timed vbs_lines wine_tool "$cscript" //nologo 'C:\make_shortcuts.vbs' "$program_lines"
    # The script host's own start: a script that does nothing.
    timed empty wine_tool "$cscript" //nologo 'C:\empty.vbs'
    unset WINEDLLOVERRIDES
  done
  if [ -e "$temp/Brantvell.TXT" ] || [ "$(wc -l <"$temp/make_shortcuts.txt")" -ne "$program_lines" ]; then
    echo "   the runs without a log or with $program_lines script lines did not behave" >&2
    return 1
  fi
  local m
  for name in default_exe default_vbs exe vbs nolog vbs_lines empty; do
    m=$(median <"$WORK/$name.us")
    eval "median_$name=$m"
  done
  echo "   as Wine comes:      Brantvell.exe $(ms "$median_default_exe") ms, script $(ms "$median_default_vbs") ms," \
    "ratio $(ratio "$median_default_exe" "$median_default_vbs")"
  echo "   no menu builder:    Brantvell.exe $(ms "$median_exe") ms, script $(ms "$median_vbs") ms," \
    "ratio $(ratio "$median_exe" "$median_vbs")  (target: below 1)"
  echo "   same log lines:     script writing $program_lines lines $(ms "$median_vbs_lines") ms," \
    "ratio $(ratio "$median_exe" "$median_vbs_lines")"
  echo "   program, no log:    Brantvell.exe with log.ini OFF $(ms "$median_nolog") ms," \
    "ratio to the script $(ratio "$median_nolog" "$median_vbs")"
  echo "   empty script start: $(ms "$median_empty") ms"
  echo "   a log record under Wine, opened, appended and closed alone: $floor_us µs;" \
    "$program_lines records: $(awk -v u="$floor_us" -v n="$program_lines" 'BEGIN { printf "%.1f", u * n / 1000 }') ms"
  summary+=("Brantvell.exe / script under Wine: $(ratio "$median_exe" "$median_vbs")  ($(ms "$median_exe") ms / $(ms "$median_vbs") ms, menu builder off)")
  summary+=("  the same with Wine's menu builder: $(ratio "$median_default_exe" "$median_default_vbs")  ($(ms "$median_default_exe") ms / $(ms "$median_default_vbs") ms)")
  summary+=("  against the script writing $program_lines log lines: $(ratio "$median_exe" "$median_vbs_lines")  ($(ms "$median_vbs_lines") ms)")
  summary+=("  Brantvell.exe without its log / script: $(ratio "$median_nolog" "$median_vbs")  ($(ms "$median_nolog") ms)")
  summary+=("  an empty script: $(ms "$median_empty") ms")
  summary+=("  one log record's open-append-close under Wine: $floor_us µs")
  wineserver -k >/dev/null 2>&1 || true
  BENCH_WINEPREFIX=
  unset WINEPREFIX
}

# ---- micro-benchmarks --------------------------------------------------------------

# bench_median PROGRAM FILTER: "name median-ns-per-item" lines of the
# benchmarks matching FILTER.
bench_median() {
  "$1" --benchmark_filter="$2" --benchmark_repetitions="$REPS" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '$1 ~ /_median"?$/ { name = $1; gsub(/"/, "", name); sub(/_median$/, "", name); print name, $4 }'
}

bench_micro() {
  echo
  echo "== micro-benchmarks (median of $REPS repetitions, ns per call)"
  bench_median "$release/bench/log_bench" . | tee "$WORK/log.txt" | sed 's/^/   /'
  bench_median "$release/bench/command_line_bench" . | tee "$WORK/parse.txt" | sed 's/^/   /'
  local writer service plain
  writer=$(awk '$1 == "BM_SetEventToFile" { print $2 }' "$WORK/log.txt")
  service=$(awk '$1 == "BM_FileServiceAppendBaseline" { print $2 }' "$WORK/log.txt")
  plain=$(awk '$1 == "BM_PlainOpenAppendCloseBaseline" { print $2 }' "$WORK/log.txt")
  echo "   log writer records/s: $(awk -v t="$writer" 'BEGIN { printf "%.0f", 1e9 / t }')," \
    "plain open-append-close/s: $(awk -v t="$plain" 'BEGIN { printf "%.0f", 1e9 / t }')"
  summary+=("SetEvent to file / plain open-append-close: $(ratio "$writer" "$plain")")
  summary+=("file service append / plain open-append-close: $(ratio "$service" "$plain")")
}

# ---- instruction and system call counts ---------------------------------------------

bench_counts() {
  echo
  echo "== counts of one native run /action=czsk /mode=q"
  make_pack
  new_prefix counts
  touch "$(host_path 'C:\Veldramona')/Loader.exe"
  if command -v valgrind >/dev/null 2>&1; then
    reset_outputs "$PREFIX" "$LOG"
    WINEPREFIX=$PREFIX TEMP=$TEMPDIR valgrind --tool=callgrind \
      --callgrind-out-file="$WORK/callgrind.out" "$program" /action=czsk /mode=q 2>"$WORK/callgrind.err"
    local ir
    ir=$(awk '/^summary:/ { print $2 }' "$WORK/callgrind.out")
    reset_outputs "$PREFIX" "$LOG"
    valgrind --tool=callgrind --callgrind-out-file="$WORK/floor-callgrind.out" \
      "$floor" run "$WORK/floor.pack" "$PREFIX" "$LOG" 2>/dev/null
    local floor_ir
    floor_ir=$(awk '/^summary:/ { print $2 }' "$WORK/floor-callgrind.out")
    echo "   instructions (callgrind Ir): program $ir${floor_ir:+, floor $floor_ir}"
    summary+=("instructions per run: $ir${floor_ir:+ (floor $floor_ir, ratio $(ratio "$ir" "$floor_ir"))}")
    budget "instructions per native run" "$ir" "$IR_BUDGET"
    # The same run with a command line of 1 MB: ten switches the program
    # does not know, 100 KB each (the most one argument may hold).
    local filler long_args=() i long_ir
    filler=$(head -c 100000 /dev/zero | tr '\0' 'a')
    for i in 0 1 2 3 4 5 6 7 8 9; do long_args+=("/extra$i=$filler"); done
    reset_outputs "$PREFIX" "$LOG"
    WINEPREFIX=$PREFIX TEMP=$TEMPDIR valgrind --tool=callgrind \
      --callgrind-out-file="$WORK/long-callgrind.out" "$program" /action=czsk /mode=q "${long_args[@]}" \
      2>/dev/null
    long_ir=$(awk '/^summary:/ { print $2 }' "$WORK/long-callgrind.out")
    echo "   with a 1 MB command line: $long_ir, $(ratio "$long_ir" "$ir") times the run"
    summary+=("instructions with a 1 MB command line: $long_ir ($(ratio "$long_ir" "$ir") times a run)")
    budget "instructions with a 1 MB command line, times a run's" "$(ratio "$long_ir" "$ir")" \
      "$LONG_LINE_IR_RATIO"
  else
    echo "   valgrind is not installed: no instruction count"
    over_budget+=("instructions not counted: valgrind is not installed")
  fi
  if command -v strace >/dev/null 2>&1; then
    reset_outputs "$PREFIX" "$LOG"
    WINEPREFIX=$PREFIX TEMP=$TEMPDIR strace -c -f -o "$WORK/strace.txt" "$program" /action=czsk /mode=q
    local calls floor_calls=""
    calls=$(awk '$NF == "total" { print $4 }' "$WORK/strace.txt")
    reset_outputs "$PREFIX" "$LOG"
    strace -c -f -o "$WORK/floor-strace.txt" "$floor" run "$WORK/floor.pack" "$PREFIX" "$LOG"
    floor_calls=$(awk '$NF == "total" { print $4 }' "$WORK/floor-strace.txt")
    echo "   system calls (strace -c -f): program $calls${floor_calls:+, floor $floor_calls}"
    sed -n '3,12p' "$WORK/strace.txt" | sed 's/^/     /'
    summary+=("system calls per run: $calls${floor_calls:+ (floor $floor_calls, ratio $(ratio "$calls" "$floor_calls"))}")
    budget "system calls per native run" "$calls" "$SYSCALL_BUDGET"
  else
    echo "   strace is not installed: no system call count"
    over_budget+=("system calls not counted: strace is not installed")
  fi
  reset_outputs "$PREFIX" "$LOG"
  local peak
  peak=$(WINEPREFIX=$PREFIX TEMP=$TEMPDIR "$peak_memory" "$program" /action=czsk /mode=q)
  echo "   peak memory: $peak kB"
  summary+=("peak memory per run: $peak kB")
  bench_counts_booted
}

# The counts of one run on the booted prefix, held to their budgets.
bench_counts_booted() {
  echo
  echo "== counts of one native run /action=czsk /mode=q on a prefix made by wineboot -i"
  make_booted || return 0
  local log=$WORK/booted/temp/Brantvell.TXT temp=$WORK/booted/temp
  if command -v valgrind >/dev/null 2>&1; then
    reset_outputs "$BOOTED" "$log"
    WINEPREFIX=$BOOTED TEMP=$temp valgrind --tool=callgrind \
      --callgrind-out-file="$WORK/booted-callgrind.out" "$program" /action=czsk /mode=q 2>/dev/null
    local ir
    ir=$(awk '/^summary:/ { print $2 }' "$WORK/booted-callgrind.out")
    echo "   instructions (callgrind Ir): $ir"
    summary+=("instructions per run on the booted prefix: $ir")
    budget "instructions per run on the booted prefix" "$ir" "$BOOTED_IR_BUDGET"
  fi
  if command -v strace >/dev/null 2>&1; then
    reset_outputs "$BOOTED" "$log"
    WINEPREFIX=$BOOTED TEMP=$temp strace -c -f -o "$WORK/booted-strace.txt" "$program" /action=czsk /mode=q
    local calls
    calls=$(awk '$NF == "total" { print $4 }' "$WORK/booted-strace.txt")
    echo "   system calls (strace -c -f): $calls"
    summary+=("system calls per run on the booted prefix: $calls")
    budget "system calls per run on the booted prefix" "$calls" "$BOOTED_SYSCALL_BUDGET"
  fi
  reset_outputs "$BOOTED" "$log"
  local peak
  peak=$(WINEPREFIX=$BOOTED TEMP=$temp "$peak_memory" "$program" /action=czsk /mode=q)
  echo "   peak memory: $peak kB"
  summary+=("peak memory per run on the booted prefix: $peak kB")
  budget "peak memory (kB) per run on the booted prefix" "$peak" "$BOOTED_PEAK_KB_BUDGET"
}

build_native
for section in "${sections[@]}"; do
  case "$section" in
    native) bench_native ;;
    wine) bench_wine ;;
    micro) bench_micro ;;
    counts) bench_counts ;;
    all) bench_native; bench_wine; bench_micro; bench_counts ;;
    *) echo "unknown section: $section" >&2; exit 2 ;;
  esac
done

echo
echo "== summary (load average now $(cut -d' ' -f1-3 /proc/loadavg))"
printf '   %s\n' "${summary[@]}"
if [ ${#over_budget[@]} -gt 0 ]; then
  echo "== over budget or not measured:"
  printf '   %s\n' "${over_budget[@]}"
  [ "$CHECK_BUDGETS" = 1 ] && exit 1
fi
exit 0
