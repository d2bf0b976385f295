#!/usr/bin/env bash
# Runs the native program under valgrind's memcheck once for every action
# (czsk, cz, sk, clear), once without an action answering the choice dialog
# with "ok", and once failing (no application folder), each on a throw-away
# Wine prefix with a home and temporary folder of its own. A case fails on any memory error, on any definitely lost
# byte (valgrind then exits 99), or when the run did not do its job.
#
# Usage: run_memcheck.sh PATH-TO-BRANTVELL
# Exits 125 (skipped) when valgrind is not installed or the program carries
# a sanitizer runtime, which cannot run under valgrind.
set -u

if [ $# -ne 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 path-to-brantvell" >&2
  exit 2
fi
BRANTVELL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
if ! command -v valgrind >/dev/null 2>&1; then
  echo "skipped: valgrind is not installed"
  exit 125
fi
if grep -qa -e '__asan_init' -e '__tsan_init' -e '__msan_init' "$BRANTVELL"; then
  echo "skipped: the program is built with a sanitizer"
  exit 125
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export LC_ALL=C.UTF-8

. "$(dirname "$0")/../support/program_runs.sh"
# Every run has a home of its own, so the entry writer runs under memcheck
# too, whatever the caller set.
unset BRANTVELL_NO_DESKTOP_ENTRIES

MEMCHECK_STATUS=99
VG_LOG=$WORK/memcheck.log

# memcheck [ARGS...]: the program under memcheck on the current prefix, in
# the case's own home and temporary folder (never the real user's menu), with
# standard input from $STDIN. Sets STATUS, OUT and ERR as program_runs.sh's
# brantvell does; valgrind's own report goes to $VG_LOG.
memcheck() {
  local out=$WORK/last.out err=$WORK/last.err
  rm -f "$LOG" "$VG_LOG"
  printf '%s' "${STDIN-}" | in_case \
    valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite \
    --error-exitcode=$MEMCHECK_STATUS --log-file="$VG_LOG" "$BRANTVELL" "$@" >"$out" 2>"$err"
  STATUS=$?
  OUT=$(cat "$out")
  ERR=$(cat "$err")
  STDIN=
}

# The run was clean in valgrind's eyes and ended with STATUS.
expect_clean_memcheck() {  # STATUS
  if [ ! -s "$VG_LOG" ] || ! grep -q 'ERROR SUMMARY' "$VG_LOG"; then
    fail "valgrind wrote no report"
    return
  fi
  if [ "$STATUS" -eq "$MEMCHECK_STATUS" ] || ! grep -q 'ERROR SUMMARY: 0 errors' "$VG_LOG"; then
    fail "memcheck found errors:"$'\n'"$(grep -v '^==[0-9]*== *$' "$VG_LOG" | sed 's/^/      /')"
    return
  fi
  if grep -q 'definitely lost: [1-9]' "$VG_LOG"; then
    fail "memory definitely lost: $(grep 'definitely lost' "$VG_LOG")"
  fi
  expect_status "$1"
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"END"
}

case_czsk() {
  new_prefix czsk
  memcheck /action=czsk /mode=q
  expect_clean_memcheck 0
  expect_file "$GROUP/Veldramona (CZ).lnk"
  expect_file "$GROUP/www.veldramona-bank-sk.example.url"
  expect_file "$DESKTOP/Veldramona (SK).lnk"
  # The entries went into the case's home.
  expect_file "$ENTRIES/Veldramona (CZ).desktop"
  expect_file "$USER_DESKTOP/Veldramona (SK).desktop"
}

case_cz() {
  new_prefix cz
  memcheck /action=cz
  expect_clean_memcheck 0
  expect_file "$GROUP/Veldramona.lnk"
  expect_file "$GROUP/www.veldramona-bank.example.url"
}

case_sk() {
  new_prefix sk
  memcheck /action=sk
  expect_clean_memcheck 0
  expect_file "$GROUP/Pomocník.lnk"
  expect_file "$DESKTOP/Veldramona.lnk"
}

case_clear() {
  new_prefix clear
  brantvell /action=czsk
  expect_status 0
  memcheck /action=clear
  expect_clean_memcheck 0
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
  expect_no_file "$ENTRIES/Veldramona (CZ).desktop"
}

case_dialog_ok() {
  new_prefix dialog
  STDIN=$'ok\n'
  memcheck
  expect_clean_memcheck 0
  expect_log 'Brantvell[frmMain] (cmdOK_Click)'
  expect_file "$GROUP/Veldramona.lnk"
}

case_failure() {
  new_prefix failure -
  memcheck /action=cz
  expect_clean_memcheck 1
  expect_contains "stderr" "$ERR" "Aplikace Veldramona není nainstalována."
  expect_no_folder "$GROUP"
}

for test_case in case_czsk case_cz case_sk case_clear case_dialog_ok case_failure; do
  run_case "$test_case"
done

echo
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
