#!/usr/bin/env bash
# Fault tests of the native program: each case lays out a Wine prefix by
# hand (as the end-to-end tests do), breaks something underneath the program
# (permissions, a full disk, a kill in the middle of a save, a damaged
# registry file, links out of the prefix) and checks that nothing of the
# user's is lost, that no half-written shortcut is left and that the outcome
# is reported: exit status 1 and an error record when the run fails.
#
# Root ignores permission bits, so the permission cases run the program as
# an unprivileged user through setpriv; they are skipped, with the reason,
# where that is impossible.
#
# The kill moments of the random-kill case come from a seed, printed at the
# start: BRANTVELL_FAULT_SEED (default: taken from the clock) and
# BRANTVELL_FAULT_SPAN_MS (the span the kills spread over; default: one
# timed run) given again repeat the same kill moments.
#
# Usage: run_faults.sh PATH-TO-BRANTVELL
# BRANTVELL_FAULT_CASES (names of cases, separated by spaces) runs only
# those cases.
set -u

. "$(dirname "$0")/../support/program_runs.sh"
take_program "$0" "$@"
MOUNTS=()
cleanup() {
  local mount
  for mount in "${MOUNTS[@]}"; do umount "$mount" 2>/dev/null; done
  rm -rf "$WORK"
}
trap cleanup EXIT
# Texts with Czech letters are compared byte for byte.
export LC_ALL=C.UTF-8
# Whether Linux entries are made, as the caller set it; a case that checks
# them switches them on for itself (every run has the case's own home).
ENTRIES_SETTING=${BRANTVELL_NO_DESKTOP_ENTRIES-}
with_entries() { export BRANTVELL_NO_DESKTOP_ENTRIES=0; }

FAULT_SEED=${BRANTVELL_FAULT_SEED:-$(($(date +%s%N) % 1000000007))}
echo "fault seed: $FAULT_SEED (BRANTVELL_FAULT_SEED=$FAULT_SEED repeats the kill moments)"
random_state=$FAULT_SEED
# next_random: RANDOM_VALUE becomes the next number (0 to 32767) of the
# seeded sequence. It runs in this shell, never in a subshell, so the
# sequence goes on from call to call.
next_random() {
  random_state=$(((random_state * 1103515245 + 12345) % 2147483648))
  RANDOM_VALUE=$((random_state / 65536))
}

if [ "$HAVE_LNKINFO" -eq 0 ]; then
  echo "note: lnkinfo (liblnk-utils) is not installed; .lnk files are checked by their header only"
fi

# The catalogue the program is held to (APP and the file sets).
. "$(dirname "$0")/../e2e/catalogue.sh"
CZSK_DESKTOP=('Veldramona (CZ).lnk' 'Veldramona (SK).lnk')

# ---- running as an unprivileged user -----------------------------------------

USER_ID=65534
USER_BRANTVELL=
WHY_NO_USER=
if [ "$(id -u)" -ne 0 ]; then
  WHY_NO_USER="not running as root, so the program cannot be run as another user"
elif ! command -v setpriv >/dev/null 2>&1; then
  WHY_NO_USER="setpriv (util-linux) is not installed"
elif ! setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups -- true 2>/dev/null; then
  WHY_NO_USER="setpriv cannot switch to user $USER_ID here"
else
  # The user needs to reach the program and the case folders.
  chmod 755 "$WORK"
  mkdir -p "$WORK/bin"
  cp "$BRANTVELL" "$WORK/bin/brantvell"
  chmod 755 "$WORK/bin" "$WORK/bin/brantvell"
  USER_BRANTVELL=$WORK/bin/brantvell
  if ! setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups -- test -x "$USER_BRANTVELL"; then
    WHY_NO_USER="user $USER_ID cannot run the program from $WORK"
  fi
fi

# need_user: false (and the case is skipped) when the program cannot be run
# as the unprivileged user.
need_user() {
  [ -z "$WHY_NO_USER" ] && return 0
  skip "$WHY_NO_USER"
  return 1
}

# as_user COMMAND...: runs a command as the unprivileged user.
as_user() { setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups -- "$@"; }

# give_to_user: the current case's prefix and temporary folder belong to the
# unprivileged user, as a user's own prefix does.
give_to_user() {
  chmod 755 "$WORK/$CASE_NAME"
  chown -R $USER_ID:$USER_ID "$PREFIX" "$TEMPDIR" "$USER_HOME"
}

# brantvell_as_user [ARGS...]: the program on the current prefix, run as the
# unprivileged user; sets STATUS, OUT and ERR like brantvell.
brantvell_as_user() {
  local out=$WORK/last.out err=$WORK/last.err
  rm -f "$LOG"
  printf '%s' "${STDIN-}" |
    in_case setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups -- "$USER_BRANTVELL" "$@" \
    >"$out" 2>"$err"
  STATUS=$?
  OUT=$(cat "$out")
  ERR=$(cat "$err")
  STDIN=
}

# ---- cases, checks -------------------------------------------------------------

SKIPPED=0
SKIP_REASONS=()
CASE_SKIPPED=0
CASE_NAME=

skip() {
  echo "    skipped: $*"
  CASE_SKIPPED=1
  SKIP_REASONS+=("$CASE_NAME: $*")
}

# fault_case NAME: runs the function case_NAME with its own prefix folder
# name; a skipped case counts neither as passed nor as failed.
fault_case() {
  CASE_NAME=$1
  CASE_SKIPPED=0
  LOG=
  ERR=
  run_case "case_$1"
  export BRANTVELL_NO_DESKTOP_ENTRIES=$ENTRIES_SETTING
  if [ "$CASE_SKIPPED" -eq 1 ] && [ "$CASE_FAILED" -eq 0 ]; then
    PASSED=$((PASSED - 1))
    SKIPPED=$((SKIPPED + 1))
  fi
}

# prefix [APP_FOLDER_VALUE|-]: a fresh prefix named after the case.
prefix() { new_prefix "$CASE_NAME" "$@"; }

# The run failed and said so: exit status 1, Main's error record with the
# error number given (any number when none is given), the END record last,
# no shell refresh.
expect_reported_failure() {  # [ERROR-NUMBER]
  expect_status 1
  expect_log "Brantvell[mdlMain] (Main)"$'\t'$'\t'"${1-}"
  grep -q '^#ERRLOG#' "$LOG" 2>/dev/null || fail "the log has no #ERRLOG# line"
  [ "$(tail -n 1 "$LOG" 2>/dev/null | tr -d '\r' | cut -f 2-)" = "Brantvell[mdlMain] (Main)"$'\t'"END" ] ||
    fail "the log does not end with Main's END record"
  expect_no_log 'Brantvell[mdlMain] (RefreshIcon)'
}

expect_success() {
  expect_status 0
  [ -z "$LOG" ] || [ ! -f "$LOG" ] || expect_no_log '#ERRLOG#'
}

# snapshot PATH...: every entry under the paths (links not followed) with
# its type, permissions, owner, size and content digest; compared before and
# after a run to show that nothing was touched.
snapshot() {
  local path
  for path in "$@"; do
    [ -e "$path" ] || [ -L "$path" ] || {
      echo "absent $path"
      continue
    }
    find "$path" -printf '%y %m %U %s %p -> %l\n' | LC_ALL=C sort
    find "$path" -type f -exec md5sum {} + | LC_ALL=C sort
  done
}

expect_unchanged() {  # WHAT BEFORE AFTER
  if [ "$2" != "$3" ]; then
    fail "$1 changed:"$'\n'"$(diff <(echo "$2") <(echo "$3") | sed 's/^/      /')"
  fi
}

# lnk_complete FILE: the shell link is whole: lnkinfo reads it and finds its
# target in the application folder (without lnkinfo: the header is whole).
lnk_complete() {
  if [ "$HAVE_LNKINFO" -eq 1 ]; then
    lnkinfo "$1" >/dev/null 2>&1 || return 1
    case "$(lnk_field "$1" "Local path")" in
      "$APP"\\*) return 0 ;;
    esac
    return 1
  fi
  [ "$(od -An -tx1 -N4 "$1" | tr -d ' ')" = 4c000000 ] && [ "$(stat -c %s "$1")" -gt 76 ]
}

# url_complete FILE: the Internet shortcut has its header and a whole URL
# line.
url_complete() {
  [ "$(head -c 19 "$1")" = $'[InternetShortcut]\r' ] &&
    [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = 0d0a ] &&
    tr -d '\r' <"$1" | grep -q '^URL=http'
}

# expect_whole_shortcuts FOLDER [ALLOWED...]: every .lnk and .url file of
# the folder is complete, and nothing else is in it but the allowed names.
expect_whole_shortcuts() {
  local folder=$1 entry name
  shift
  [ -d "$folder" ] || return 0
  for entry in "$folder"/* "$folder"/.[!.]*; do
    [ -e "$entry" ] || [ -L "$entry" ] || continue
    name=${entry##*/}
    local allowed=0 other
    for other in "$@"; do [ "$name" = "$other" ] && allowed=1; done
    [ "$allowed" -eq 1 ] && continue
    case "$name" in
      *.lnk) [ -f "$entry" ] && lnk_complete "$entry" || fail "${folder##*/}/$name is not a whole shell link" ;;
      *.url) [ -f "$entry" ] && url_complete "$entry" || fail "${folder##*/}/$name is not a whole Internet shortcut" ;;
      *) fail "${folder##*/} holds a left-over entry: $name" ;;
    esac
  done
}

# leftovers FOLDER: the names in the folder that are neither shortcuts nor
# in the way of the program (temporary files of interrupted saves).
leftovers() {
  [ -d "$1" ] || return 0
  (cd "$1" && find . -mindepth 1 -maxdepth 1 ! -name '*.lnk' ! -name '*.url' -printf '%f\n')
}

# ---- 1. the group folder cannot be written ------------------------------------

case_group_folder_not_writable() {
  need_user || return
  prefix
  give_to_user
  brantvell_as_user /action=cz
  expect_success
  expect_files "$GROUP" "${CZ_SET[@]}"
  as_user test -w "$GROUP" || fail "the user cannot write the group folder before the fault"
  chmod 555 "$GROUP"
  as_user test -w "$GROUP" && fail "the user can still write the group folder"
  local before
  before=$(snapshot "$GROUP" "$DESKTOP")

  # Switching the variant must clear first: the first delete fails, the run
  # says so and nothing is lost.
  brantvell_as_user /action=sk
  expect_reported_failure 70
  expect_contains "stderr" "$ERR" "Aplikace Veldramona není nainstalována."
  expect_unchanged "the shortcut folders" "$before" "$(snapshot "$GROUP" "$DESKTOP")"

  brantvell_as_user /action=clear /mode=q
  expect_reported_failure 70
  expect_not_contains "stderr" "$ERR" "Aplikace Veldramona"
  expect_unchanged "the shortcut folders" "$before" "$(snapshot "$GROUP" "$DESKTOP")"

  # Once the folder can be written again, the next run puts things right.
  chmod 755 "$GROUP"
  brantvell_as_user /action=sk
  expect_success
  expect_files "$GROUP" "${SK_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona.lnk'
}

case_start_menu_not_writable() {
  need_user || return
  prefix
  give_to_user
  local programs=${GROUP%/*}
  printf 'own' >"$programs/Moje.lnk"
  chown $USER_ID:$USER_ID "$programs/Moje.lnk"
  chmod 555 "$programs"
  local before
  before=$(snapshot "$programs")

  # The group folder cannot be made: the first save into it fails. The
  # desktop shortcut saved before it stays whole.
  brantvell_as_user /action=cz
  expect_reported_failure -2147024893
  expect_no_folder "$GROUP"
  expect_unchanged "the Start-menu programs folder" "$before" "$(snapshot "$programs")"
  expect_whole_shortcuts "$DESKTOP"
  chmod 755 "$programs"
}

# A make whose set cannot be saved leaves the old set as it was: with the
# desktop (or the group, or the Start-menu folder that would hold a missing
# group) not writable, it fails before deleting anything, with the error of
# the save it could not make.
case_make_into_locked_folder_keeps_the_set() {
  need_user || return
  local locked error programs
  while read -r locked error; do
    rm -rf "${WORK:?}/$CASE_NAME"
    prefix
    give_to_user
    programs=${GROUP%/*}
    brantvell_as_user /action=czsk
    expect_success
    if [ "$locked" = programs ]; then
      # Only the desktop links are left of an earlier set.
      rm -r "$GROUP"
    fi
    case $locked in
      desktop) chmod 555 "$DESKTOP" ;;
      group) chmod 555 "$GROUP" ;;
      programs) chmod 555 "$programs" ;;
    esac
    local before
    before=$(snapshot "$programs" "$DESKTOP")
    brantvell_as_user /action=cz /mode=q
    expect_reported_failure "$error"
    expect_no_log 'Brantvell[clsBrantvell] (FileDelete)'
    expect_unchanged "the shortcut folders ($locked read-only)" "$before" "$(snapshot "$programs" "$DESKTOP")"
    chmod 755 "$DESKTOP" "$programs"
    [ -d "$GROUP" ] && chmod 755 "$GROUP"
  done <<'EOF2'
desktop 70
group 70
programs -2147024893
EOF2
}

# ---- 2. read-only shortcut files -----------------------------------------------

case_read_only_shortcut() {
  need_user || return
  prefix
  give_to_user
  brantvell_as_user /action=cz
  expect_success
  chmod 444 "$GROUP/Veldramona.lnk" "$DESKTOP/Veldramona.lnk"
  # A root-owned read-only file in the user's folder goes as well: removing
  # it is a change to the folder, which the user may write.
  chown 0:0 "$GROUP/Nápověda.lnk"
  chmod 444 "$GROUP/Nápověda.lnk"
  brantvell_as_user /action=sk
  expect_success
  expect_files "$GROUP" "${SK_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona.lnk'
  expect_whole_shortcuts "$GROUP"
  expect_whole_shortcuts "$DESKTOP"
}

case_read_only_shortcut_in_locked_folder() {
  need_user || return
  prefix
  give_to_user
  brantvell_as_user /action=cz
  expect_success
  chmod 444 "$GROUP"/*.lnk "$GROUP"/*.url
  chmod 555 "$GROUP"
  local before
  before=$(snapshot "$GROUP" "$DESKTOP")
  # The delete fails; the files keep their read-only permissions too.
  brantvell_as_user /action=clear
  expect_reported_failure 70
  expect_unchanged "the shortcut folders" "$before" "$(snapshot "$GROUP" "$DESKTOP")"
  chmod 755 "$GROUP"
}

# ---- 3. a folder in the place of a shortcut ------------------------------------

case_folder_named_like_a_shortcut() {
  prefix
  mkdir -p "$GROUP/Veldramona (CZ).lnk/Moje" "$DESKTOP/veldramona (sk).LNK"
  printf 'notes' >"$GROUP/Veldramona (CZ).lnk/Moje/notes.txt"
  printf 'more' >"$DESKTOP/veldramona (sk).LNK/more.txt"
  local before
  before=$(snapshot "$GROUP/Veldramona (CZ).lnk" "$DESKTOP/veldramona (sk).LNK")

  brantvell /action=czsk
  expect_reported_failure 70
  expect_unchanged "the folders" "$before" \
    "$(snapshot "$GROUP/Veldramona (CZ).lnk" "$DESKTOP/veldramona (sk).LNK")"
  expect_whole_shortcuts "$GROUP" 'Veldramona (CZ).lnk'
  expect_whole_shortcuts "$DESKTOP" 'veldramona (sk).LNK'

  # Clearing passes them by and keeps the group folder that holds one.
  brantvell /action=clear
  expect_success
  expect_unchanged "the folders" "$before" \
    "$(snapshot "$GROUP/Veldramona (CZ).lnk" "$DESKTOP/veldramona (sk).LNK")"
  expect_folder "$GROUP"
  expect_files "$GROUP"
  expect_files "$DESKTOP"

  # The check is not misled by a folder named like the web-site shortcut.
  rm -rf "$GROUP/Veldramona (CZ).lnk" "$DESKTOP/veldramona (sk).LNK"
  mkdir "$GROUP/www.veldramona-bank-sk.example.url"
  STDIN=$'esc\n'
  brantvell
  expect_status 2  # nothing chosen
  expect_log "Brantvell[clsBrantvell] (SetupCheck)"$'\t'"END"$'\t'"RETURN=1"
}

# ---- 4. no log folder ------------------------------------------------------------

case_log_folder_missing() {
  prefix
  rm -rf "$TEMPDIR"
  LOG=$TEMPDIR/Brantvell.TXT
  brantvell /action=cz
  expect_status 0
  expect_files "$GROUP" "${CZ_SET[@]}"
  expect_no_folder "$TEMPDIR"

  # A failing run still reports through its exit status and message.
  rm -rf "$(host_path "$APP")"
  brantvell /action=cz
  expect_status 1
  expect_contains "stderr" "$ERR" "Aplikace Veldramona není nainstalována."
  expect_no_folder "$TEMPDIR"
}

case_log_folder_is_a_file() {
  prefix
  rmdir "$TEMPDIR"
  printf 'not a folder' >"$TEMPDIR"
  LOG=
  brantvell /action=sk
  expect_status 0
  expect_files "$GROUP" "${SK_SET[@]}"
  [ "$(cat "$TEMPDIR")" = 'not a folder' ] || fail "the file named by TEMP changed"
}

case_log_folder_not_writable() {
  need_user || return
  prefix
  give_to_user
  chown 0:0 "$TEMPDIR"
  chmod 755 "$TEMPDIR"
  brantvell_as_user /action=czsk
  expect_status 0
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" "${CZSK_DESKTOP[@]}"
  expect_no_file "$LOG"
  # A log file the user may not write is left as it is.
  printf 'root\n' >"$LOG"
  chmod 644 "$LOG"
  keeping_log brantvell_as_user /action=clear
  expect_status 0
  expect_no_folder "$GROUP"
  [ "$(cat "$LOG")" = root ] || fail "the log file the user may not write changed"
}

# keeping_log RUN ARGS...: RUN (brantvell or brantvell_as_user) without
# removing the log first.
keeping_log() {
  local log=$LOG
  LOG=$WORK/no-such-log
  "$@"
  LOG=$log
}

# ---- 5. a full disk --------------------------------------------------------------

# small_disk FOLDER PAGES: mounts a tmpfs of that many 4 KiB pages on the
# folder; false when mounting is not allowed here.
small_disk() {
  mount -t tmpfs -o "size=$(($2 * 4))k,mode=755" brantvell-faults "$1" 2>/dev/null || return 1
  MOUNTS+=("$1")
}

unmount() {
  umount "$1" && MOUNTS=("${MOUNTS[@]/$1/}")
}

case_disk_full() {
  prefix
  local programs=${GROUP%/*}
  if ! small_disk "$programs" 16; then
    disk_full_by_file_size_limit
    return
  fi
  # Fill the disk in one go; what is left is not enough for one shortcut.
  dd if=/dev/zero of="$programs/filler" bs=4k 2>/dev/null
  brantvell /action=cz
  expect_reported_failure 61
  expect_log "Disk full"
  expect_folder "$GROUP"
  expect_files "$GROUP"
  expect_whole_shortcuts "$GROUP"
  expect_whole_shortcuts "$DESKTOP"

  # Room for a few shortcuts only: those saved are whole, then the run
  # stops and says so.
  rm -f "$programs/filler"
  rm -rf "$GROUP"
  dd if=/dev/zero of="$programs/filler" bs=4k count=12 2>/dev/null
  brantvell /action=czsk
  expect_reported_failure 61
  local saved
  saved=$(find "$GROUP" -type f | wc -l)
  [ "$saved" -gt 0 ] && [ "$saved" -lt 9 ] || fail "$saved shortcuts saved, expected some but not all"
  expect_whole_shortcuts "$GROUP"
  expect_whole_shortcuts "$DESKTOP"

  # With room again the next run makes the whole set.
  rm -f "$programs/filler"
  brantvell /action=czsk
  expect_success
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_whole_shortcuts "$GROUP"
  unmount "$programs"
}

# Without a mount the file size limit stands in for the full disk: a
# shortcut larger than the limit cannot be written. The log cannot be
# written past the limit either, so only the exit status, the message and
# the files tell the outcome.
disk_full_by_file_size_limit() {
  note "tmpfs cannot be mounted here; the file size limit stands in for a full disk"
  if ! command -v prlimit >/dev/null 2>&1; then
    skip "neither tmpfs nor prlimit is available"
    return
  fi
  local out=$WORK/last.out err=$WORK/last.err
  # SIGXFSZ ignored, so the write fails instead of the process dying.
  (
    trap '' XFSZ
    in_case prlimit --fsize=200 "$BRANTVELL" /action=cz
  ) </dev/null >"$out" 2>"$err"
  STATUS=$?
  ERR=$(cat "$err")
  expect_status 1
  expect_contains "stderr" "$ERR" "Aplikace Veldramona není nainstalována."
  expect_whole_shortcuts "$GROUP"
  expect_whole_shortcuts "$DESKTOP"
  [ ! -e "$GROUP/Veldramona.lnk" ] || fail "a shortcut larger than the limit was saved"
}

# The temporary folder fills up in the middle of a record: the record is
# cut back whole, so the log ends at a line's end, and the next run's
# records start lines of their own.
case_log_full_mid_record() {
  prefix
  local limit=4096
  if small_disk "$TEMPDIR" 2; then
    # One page is left for the log, far less than a run writes.
    dd if=/dev/zero of="$TEMPDIR/filler" bs=4k count=1 2>/dev/null
    brantvell /action=czsk
    expect_success
    expect_whole_log_lines
    keeping_log brantvell /action=clear
    expect_success
    expect_whole_log_lines
    [ "$(stat -c %s "$LOG")" -le "$limit" ] || fail "the log grew past the full disk"
    unmount "$TEMPDIR"
    return
  fi
  note "tmpfs cannot be mounted here; the file size limit stands in for a full folder"
  command -v prlimit >/dev/null 2>&1 || {
    skip "neither tmpfs nor prlimit is available"
    return
  }
  rm -f "$LOG"
  local action
  for action in czsk clear; do
    (
      trap '' XFSZ
      in_case prlimit --fsize=$limit "$BRANTVELL" /action=$action
    ) </dev/null >/dev/null 2>&1
    STATUS=$?
    expect_success
    expect_whole_log_lines
  done
}

# ---- 6. killed while saving ------------------------------------------------------

# A save that was killed leaves at most a temporary file beside the
# shortcuts, never a partial shortcut; the next run that saves into the
# folder removes it, and a clear removes the group folder all the same.

# killed_at_save N ARGS...: runs the program and kills it as its N-th save
# is about to put the shortcut in place. Without strace, the file such a
# save leaves (named as the program names its temporary files) is laid out
# by hand after a run that completed.
killed_at_save() {
  if [ "$HAVE_STRACE" -eq 0 ]; then
    brantvell "${@:2}"
    STATUS=137
    local folder=$GROUP
    case " $FIRST_DESKTOP_SAVES " in *" $1 "*) folder=$DESKTOP ;; esac
    next_random
    head -c 100 "$WORK/bin-sample.lnk" >"$folder/.shortcut-$(printf '%08x' $((RANDOM_VALUE * 7919 + $1))).tmp"
    return
  fi
  local n=$1
  shift
  rm -f "$LOG"
  in_case strace -f -o /dev/null -e trace=rename,renameat,renameat2 \
    -e inject=rename,renameat,renameat2:signal=KILL:when=$n "$BRANTVELL" "$@" \
    </dev/null >/dev/null 2>&1
  STATUS=$?
}

case_killed_during_save() {
  prefix
  local n left
  # Saves 1 and 7 of the combined set go to the desktop, the others to the
  # group folder.
  FIRST_DESKTOP_SAVES="1 7"
  if [ "$HAVE_STRACE" -eq 0 ]; then
    note "strace is not available here: the kills are simulated by the file a killed save leaves"
    brantvell /action=cz
    cp "$DESKTOP/Veldramona.lnk" "$WORK/bin-sample.lnk"
  fi
  for n in 1 2 7 11; do
    rm -rf "$GROUP"
    find "$DESKTOP" -mindepth 1 -delete
    killed_at_save "$n" /action=czsk
    [ "$STATUS" -eq 137 ] || fail "save $n: exit status $STATUS, expected the kill (137)"
    left=$( (leftovers "$GROUP"; leftovers "$DESKTOP") | wc -l)
    [ "$left" -eq 1 ] || fail "save $n: $left temporary files left by the killed save, expected 1"
    expect_whole_shortcuts "$GROUP" $(leftovers "$GROUP")
    expect_whole_shortcuts "$DESKTOP" $(leftovers "$DESKTOP")

    brantvell /action=czsk
    expect_success
    expect_files "$GROUP" "${CZSK_SET[@]}"
    expect_files "$DESKTOP" "${CZSK_DESKTOP[@]}"
    [ -z "$(leftovers "$GROUP")$(leftovers "$DESKTOP")" ] ||
      fail "save $n: the next run left the temporary file: $(leftovers "$GROUP") $(leftovers "$DESKTOP")"
  done

  # A clear after a killed save into the group removes the group folder with
  # the temporary file.
  brantvell /action=cz
  killed_at_save 4 /action=czsk
  [ -n "$(leftovers "$GROUP")" ] || fail "the kill left no temporary file in the group folder"
  printf 'mine' >"$DESKTOP/Moje.txt"
  brantvell /action=clear
  expect_success
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP" 'Moje.txt'
}

# A run killed at each of its renames (shortcuts, entries, menu files,
# icons), with the Linux entries on, and then a clear: no shortcut and no
# entry is left, no temporary file of an entry in the home, and none of a
# killed save on the public desktop.
case_killed_at_each_rename_then_clear() {
  if [ "$HAVE_STRACE" -eq 0 ]; then
    skip "strace is not available here"
    return
  fi
  prefix
  with_entries
  local n left
  for ((n = 1; n <= 60; n += 2)); do
    killed_at_save "$n" /action=czsk
    [ "$STATUS" -eq 137 ] || break
    brantvell /action=clear
    expect_success
    expect_no_folder "$GROUP"
    [ -z "$(leftovers "$DESKTOP")" ] || fail "kill at rename $n, then a clear, left $(leftovers "$DESKTOP")"
    [ -z "$(find "$DESKTOP" -name '*.lnk')" ] || fail "kill at rename $n, then a clear, left a shortcut"
    left=$(cd "$WORK/$CASE_NAME" && find home \( -name '*.tmp' -o -name '*brantvell-new*' \
      -o -name '*.desktop' -o -name '*.menu' \) -printf '%P\n')
    [ -z "$left" ] || fail "kill at rename $n, then a clear, left: $(echo $left)"
  done
  [ "$n" -gt 20 ] || fail "only $n renames seen in a run with entries"
}

# A make after the shortcuts and entries went out of step (shortcuts
# removed by other means, a run killed before its entry) leaves exactly the
# entries of the shortcuts it finds, and no icon without an entry.
case_make_after_mixed_state_matches() {
  prefix
  with_entries
  cp /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe "$(host_path 'C:\Veldramona')/Loader.exe" 2>/dev/null
  local icons=$USER_HOME/.local/share/icons/hicolor/32x32/apps action
  for action in sk cz czsk; do
    brantvell /action=czsk
    expect_success
    rm -f "$GROUP/Veldramona (CZ).lnk" "$GROUP/Pomocník (SK).lnk" "$DESKTOP/Veldramona (SK).lnk"
    mkdir -p "$icons"
    printf 'png' >"$icons/brantvell-loader-00000000deadbeef.png"
    brantvell /action=$action
    expect_success
    expect_matching_entries
    expect_no_file "$icons/brantvell-loader-00000000deadbeef.png"
  done
}

# What killed runs left (a save's temporary file on the public desktop, an
# icon whose entry was never written) goes with the next make or clear, even
# a clear that finds nothing else to delete; files of others stay.
case_kill_leftovers_gone_after_next_run() {
  prefix
  with_entries
  local icons=$USER_HOME/.local/share/icons/hicolor/48x48/apps action
  for action in clear clear czsk; do
    mkdir -p "$icons"
    printf 'tmp' >"$DESKTOP/.shortcut-0badcafe.tmp"
    printf 'mine' >"$DESKTOP/.shortcut-mine.tmp"
    printf 'png' >"$icons/brantvell-loader-00000000deadbeef.png"
    printf 'png' >"$icons/moje.png"
    printf 'png' >"$icons/brantvell-moje.png"
    brantvell /action=$action
    expect_success
    expect_no_file "$DESKTOP/.shortcut-0badcafe.tmp"
    expect_no_file "$icons/brantvell-loader-00000000deadbeef.png"
    expect_file "$DESKTOP/.shortcut-mine.tmp"
    expect_file "$icons/moje.png"
    expect_file "$icons/brantvell-moje.png"
    expect_matching_entries
  done
}

case_killed_at_random_moments() {
  prefix
  # How long one whole run takes here, so the kills spread over it.
  local start end span=${BRANTVELL_FAULT_SPAN_MS:-}
  start=$(date +%s%N)
  brantvell /action=czsk
  end=$(date +%s%N)
  [ -n "$span" ] || span=$(((end - start) / 1000000 + 5))
  note "kills spread over $span ms (BRANTVELL_FAULT_SEED=$FAULT_SEED BRANTVELL_FAULT_SPAN_MS=$span repeat them)"
  local runs=30 run pid delay words=(cz czsk sk czsk) left_temp=0
  for ((run = 0; run < runs; run++)); do
    # The program itself in the background, with the case's environment: a
    # background function would run in a subshell of its own, and the kill
    # would end that subshell while the program went on.
    case_env
    env "${CASE_ENV[@]}" "$BRANTVELL" "/action=${words[run % 4]}" </dev/null >/dev/null 2>&1 &
    pid=$!
    next_random
    delay=$((RANDOM_VALUE % span))
    sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$(leftovers "$GROUP")$(leftovers "$DESKTOP")" ] && left_temp=$((left_temp + 1))
    expect_whole_shortcuts "$GROUP" $(leftovers "$GROUP")
    expect_whole_shortcuts "$DESKTOP" $(leftovers "$DESKTOP")
  done
  note "$left_temp of $runs killed runs left a temporary file at that moment"
  brantvell /action=czsk
  expect_success
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" "${CZSK_DESKTOP[@]}"
  expect_whole_shortcuts "$GROUP"
  expect_whole_shortcuts "$DESKTOP"
  brantvell /action=clear
  expect_success
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
}

# ---- 7. a damaged registry file ---------------------------------------------------

case_registry_unreadable() {
  need_user || return
  prefix
  give_to_user
  chown 0:0 "$PREFIX/system.reg"
  chmod 600 "$PREFIX/system.reg"
  as_user test -r "$PREFIX/system.reg" && fail "the user can still read the registry file"
  brantvell_as_user /action=cz
  expect_reported_failure -2147024894
  expect_contains "stderr" "$ERR" "Aplikace Veldramona není nainstalována."
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
}

case_registry_is_a_folder() {
  prefix
  rm -f "$PREFIX/system.reg"
  mkdir "$PREFIX/system.reg"
  brantvell /action=sk
  expect_reported_failure -2147024894
  expect_no_folder "$GROUP"
}

# The registry file cut at every offset from the start of the application's
# key to its end, and at a spread of offsets before it: the run either reads
# the whole value or reports the application as not installed; it never
# crashes and never takes a cut value for the folder.
case_registry_truncated() {
  prefix
  local whole=$WORK/$CASE_NAME/system.reg.whole
  cp "$PREFIX/system.reg" "$whole"
  # Every shorter spelling of the folder exists, so a cut value would pass
  # the folder check and show up in the shortcuts.
  local partial=Veldramona i
  for ((i = 1; i < ${#partial}; i++)); do mkdir -p "$(host_path "C:\\${partial:0:i}")"; done
  local size key_at value_end
  size=$(stat -c %s "$whole")
  key_at=$(grep -b -o '\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths' "$whole" |
    cut -d: -f1)
  # Just after the closing quote of the "Path" value.
  value_end=$(grep -b -o '"Path"="C:\\\\Veldramona"' "$whole" | cut -d: -f1)
  value_end=$((value_end + ${#APP} + 10))
  [ -n "$key_at" ] && [ "$value_end" -gt "$key_at" ] || {
    fail "cannot find the application's key in the registry file"
    return
  }
  local cut bad=0
  for ((cut = 0; cut <= size; cut++)); do
    [ "$cut" -lt "$key_at" ] && [ $((cut % 13)) -ne 0 ] && continue
    head -c "$cut" "$whole" >"$PREFIX/system.reg"
    rm -rf "$GROUP" "$DESKTOP"/*
    brantvell /action=cz /mode=q
    if [ "$cut" -ge "$value_end" ]; then
      if [ "$STATUS" -ne 0 ] || ! grep -qF "(GET AppPath)"$'\t'"RETURN=$APP"$'\r' "$LOG"; then
        fail "cut at $cut of $size: exit status $STATUS, expected the whole value read"
        bad=$((bad + 1))
      fi
    elif [ "$STATUS" -ne 1 ] || ! grep -q '^#ERRLOG#' "$LOG" || [ -e "$GROUP" ]; then
      fail "cut at $cut of $size: exit status $STATUS, expected 'not installed' (1, #ERRLOG#)"
      bad=$((bad + 1))
    fi
    [ "$bad" -ge 5 ] && break
  done
}

# ---- 8. a group folder that links out of the prefix ----------------------------

# outside_group: the group folder is a link to a folder outside the prefix's
# drives holding the user's own file and files named like the catalogue's.
outside_group() {
  OUTSIDE=$WORK/$CASE_NAME/outside
  mkdir -p "$OUTSIDE" "${GROUP%/*}"
  printf 'mine' >"$OUTSIDE/Moje poznámky.txt"
  ln -s "$OUTSIDE" "$GROUP"
}

case_group_links_out_of_the_prefix() {
  prefix
  outside_group
  printf 'user link' >"$OUTSIDE/Veldramona.lnk"
  printf 'user url' >"$OUTSIDE/www.veldramona-bank.example.url"
  local before
  before=$(snapshot "$OUTSIDE")

  # Nothing outside the prefix's drives is deleted through the link; the
  # run says that it could not clear.
  brantvell /action=clear
  expect_reported_failure 70
  expect_unchanged "the folder outside the prefix" "$before" "$(snapshot "$OUTSIDE")"
  [ -L "$GROUP" ] || fail "the group link is gone"

  brantvell /action=sk
  expect_reported_failure 70
  expect_unchanged "the folder outside the prefix" "$before" "$(snapshot "$OUTSIDE")"
}

case_group_links_out_without_catalogue_files() {
  prefix
  outside_group
  local before
  before=$(snapshot "$OUTSIDE")
  # Nothing to delete: the clear goes through; the link stays because the
  # folder it shows holds a file.
  brantvell /action=clear
  expect_success
  expect_unchanged "the folder outside the prefix" "$before" "$(snapshot "$OUTSIDE")"
  [ -L "$GROUP" ] || fail "the group link is gone"

  # Nothing is written outside the prefix's drives either.
  brantvell /action=cz
  expect_reported_failure 70
  expect_unchanged "the folder outside the prefix" "$before" "$(snapshot "$OUTSIDE")"

  # A link to an empty folder is removed as the empty group folder would
  # be; the folder it pointed at stays.
  rm -f "$OUTSIDE/Moje poznámky.txt"
  brantvell /action=clear
  expect_success
  [ ! -e "$GROUP" ] && [ ! -L "$GROUP" ] || fail "the group link is still there"
  expect_folder "$OUTSIDE"
}

case_group_links_within_the_drives() {
  prefix
  # A booted prefix: drive C: and drive Z: (the whole machine) as links. The
  # folder outside drive_c is on drive Z:, so the program may clear it.
  mkdir -p "$PREFIX/dosdevices"
  ln -s ../drive_c "$PREFIX/dosdevices/c:"
  ln -s / "$PREFIX/dosdevices/z:"
  outside_group
  brantvell /action=cz
  expect_success
  expect_files "$OUTSIDE" "${CZ_SET[@]}" 'Moje poznámky.txt'
  brantvell /action=clear
  expect_success
  expect_files "$OUTSIDE" 'Moje poznámky.txt'
  [ -L "$GROUP" ] || fail "the group link is gone"

  # A link to another place on drive C: behaves like the folder itself.
  rm -f "$GROUP"
  mkdir -p "$PREFIX/drive_c/Elsewhere"
  printf 'mine' >"$PREFIX/drive_c/Elsewhere/Moje.txt"
  ln -s "$PREFIX/drive_c/Elsewhere" "$GROUP"
  rm -f "$PREFIX/dosdevices/z:"
  brantvell /action=sk
  expect_success
  expect_files "$PREFIX/drive_c/Elsewhere" "${SK_SET[@]}" 'Moje.txt'
  brantvell /action=clear
  expect_success
  expect_files "$PREFIX/drive_c/Elsewhere" 'Moje.txt'
}

# ---- 9. a link swapped in while the program runs -------------------------------

# A helper swaps the group folder for a link to a folder outside the prefix
# and back, in a loop, while the program saves and clears again and again.
# Whatever moment the swap hits, nothing appears in or vanishes from the
# folder outside.
case_group_swapped_for_a_link_while_running() {
  prefix
  OUTSIDE=$WORK/$CASE_NAME/outside
  mkdir -p "$OUTSIDE" "${GROUP%/*}"
  printf 'mine' >"$OUTSIDE/Moje poznámky.txt"
  printf 'user link' >"$OUTSIDE/Veldramona.lnk"
  local before stop=$WORK/$CASE_NAME/stop swapper runs=0 end
  before=$(snapshot "$OUTSIDE")
  # perl (part of every Debian system) swaps fast enough to hit the moment
  # between finding a folder and writing into it; the link stays half the
  # time.
  GROUP=$GROUP OUTSIDE=$OUTSIDE STOP=$stop perl -e '
    my ($g, $o, $stop) = @ENV{qw(GROUP OUTSIDE STOP)};
    until (-e $stop) {
      next unless -d $g && !-l $g && rename($g, "$g.aside");
      symlink($o, $g);
      select(undef, undef, undef, 0.0005);
      unlink($g);
      rename("$g.aside", $g) or system("rm", "-rf", "$g.aside");
      select(undef, undef, undef, 0.0005);
    }' &
  swapper=$!
  end=$((SECONDS + 4))
  while [ $SECONDS -lt $end ]; do
    in_case "$BRANTVELL" /action=czsk </dev/null >/dev/null 2>&1
    in_case "$BRANTVELL" /action=clear </dev/null >/dev/null 2>&1
    runs=$((runs + 1))
  done
  touch "$stop"
  wait "$swapper"
  note "$runs saves and clears against the swapping helper"
  expect_unchanged "the folder outside the prefix" "$before" "$(snapshot "$OUTSIDE")"
}

# The group folder is moved out of the prefix and back, again and again,
# while the program saves and clears. A folder the program already holds
# open goes with the move (the mover could write there itself), so what is
# checked is that every run ends with its status, 0 or 1, never a crash;
# that the user's file beside the moved folder is untouched; that no
# temporary file is left behind; and that the next run, once the moves
# stop, makes the whole group in the prefix.
case_group_folder_moved_while_running() {
  prefix
  OUTSIDE=$WORK/$CASE_NAME/outside
  mkdir -p "$OUTSIDE" "${GROUP%/*}"
  printf 'mine' >"$OUTSIDE/Moje poznámky.txt"
  local before stop=$WORK/$CASE_NAME/stop mover runs=0 end status odd=()
  before=$(snapshot "$OUTSIDE/Moje poznámky.txt")
  GROUP=$GROUP MOVED=$OUTSIDE/moved STOP=$stop perl -e '
    my ($g, $m, $stop) = @ENV{qw(GROUP MOVED STOP)};
    until (-e $stop) {
      if (rename($g, $m)) {
        select(undef, undef, undef, 0.0005);
        rename($m, $g) or system("rm", "-rf", $m);
      }
      select(undef, undef, undef, 0.0005);
    }' &
  mover=$!
  end=$((SECONDS + 4))
  while [ $SECONDS -lt $end ]; do
    for action in czsk clear; do
      in_case "$BRANTVELL" /action=$action </dev/null >/dev/null 2>&1
      status=$?
      [ "$status" -le 1 ] || odd+=("$action: $status")
    done
    runs=$((runs + 1))
  done
  touch "$stop"
  wait "$mover"
  note "$runs saves and clears against the moving helper"
  [ ${#odd[@]} -eq 0 ] || fail "runs ended with other statuses than 0 or 1: ${odd[*]}"
  expect_unchanged "the user's file outside the prefix" "$before" \
    "$(snapshot "$OUTSIDE/Moje poznámky.txt")"
  local folder
  for folder in "$GROUP" "$OUTSIDE/moved" "$DESKTOP"; do
    [ -z "$(leftovers "$folder")" ] || fail "${folder##*/} holds left-overs: $(leftovers "$folder")"
  done
  brantvell /action=czsk
  expect_success
  expect_files "$GROUP" "${CZSK_SET[@]}"
}

# ---- inputs that must neither stall a run nor be read whole ----------------------

# Each input the program reads, in place of which goes a FIFO without a
# writer, a link to /dev/zero or a file past its size cap (sparse, with
# settings at its start that would change the run if they were read). The
# run is bounded by `timeout`: a run that waits is killed and counts as a
# failure. Inputs the run needs before it writes anything (the registry)
# end it with the reported failure and no shortcut; the others count as
# missing and the run makes the whole set.
HOSTILE_INPUTS=(system_reg log_ini log_file user_dirs icon_source)
HOSTILE_KINDS=(fifo zero oversized)

# hostile_path INPUT: where the input lies for the current case.
hostile_path() {
  case $1 in
    system_reg) echo "$PREFIX/system.reg" ;;
    log_ini) echo "$WORK/$CASE_NAME/bin/log.ini" ;;
    log_file) echo "$LOG" ;;
    user_dirs) echo "$USER_HOME/.config/user-dirs.dirs" ;;
    icon_source) echo "$(host_path 'C:\Veldramona')/Loader.exe" ;;
  esac
}

# hostile_oversized INPUT PATH: a file just past the input's cap whose start
# would be taken if it were read.
hostile_oversized() {
  case $1 in
    system_reg) truncate -s 257M "$2" ;;
    log_ini) printf '[Default]\ndefault=OFF\n' >"$2" && truncate -s 1025K "$2" ;;
    log_file) : >"$2" && truncate -s 5G "$2" ;;
    user_dirs) printf 'XDG_DESKTOP_DIR="$HOME/Elsewhere"\n' >"$2" && truncate -s 65K "$2" ;;
    icon_source) printf 'MZ' >"$2" && truncate -s 65M "$2" ;;
  esac
}

hostile_case() {  # INPUT KIND
  local input=$1 kind=$2 path real=$BRANTVELL
  prefix
  # The program runs from the case's own folder, where its log.ini lies,
  # under a time bound, with its desktop entries (in the case's home) on.
  mkdir -p "$WORK/$CASE_NAME/bin" "$USER_HOME/.config"
  cp "$real" "$WORK/$CASE_NAME/bin/brantvell"
  printf '#!/bin/sh\nexec env -u BRANTVELL_NO_DESKTOP_ENTRIES timeout -k 2 20 "%s" "$@"\n' "$WORK/$CASE_NAME/bin/brantvell" \
    >"$WORK/$CASE_NAME/run"
  chmod +x "$WORK/$CASE_NAME/run"
  path=$(hostile_path "$input")
  [ "$input" = system_reg ] || mkdir -p "$(dirname "$path")"
  [ "$input" = icon_source ] || touch "$(host_path 'C:\Veldramona')/Loader.exe"
  case $kind in
    fifo) rm -f "$path" && mkfifo "$path" ;;
    zero) rm -f "$path" && ln -s /dev/zero "$path" ;;
    oversized) hostile_oversized "$input" "$path" ;;
  esac
  # The log is the input: the helper's own removal of it must not undo it.
  local run=(brantvell)
  [ "$input" = log_file ] && run=(keeping_log brantvell)
  BRANTVELL=$WORK/$CASE_NAME/run "${run[@]}" /action=czsk
  BRANTVELL=$real
  [ "$STATUS" -ne 124 ] && [ "$STATUS" -ne 137 ] || {
    fail "the run waited on the $input ($kind) until it was killed"
    return
  }
  if [ "$input" = system_reg ]; then
    expect_reported_failure -2147024894
    expect_no_folder "$GROUP"
    expect_files "$DESKTOP"
    return
  fi
  expect_status 0
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" "${CZSK_DESKTOP[@]}"
  case $input in
    log_file)
      [ "$kind" != oversized ] || [ "$(stat -c %s "$path")" -gt $((5 << 30)) ] ||
        fail "no record was appended to the large log"
      [ "$kind" != zero ] || [ -L "$path" ] || fail "the link in the log's place was replaced"
      ;;
    *) [ -s "$LOG" ] || fail "no log was written" ;;
  esac
  [ "$input" != user_dirs ] || [ "$kind" != oversized ] || [ ! -e "$USER_HOME/Elsewhere" ] ||
    fail "the oversized user-dirs.dirs was read"
}

for input in "${HOSTILE_INPUTS[@]}"; do
  for kind in "${HOSTILE_KINDS[@]}"; do
    eval "case_hostile_${input}_${kind}() { hostile_case $input $kind; }"
  done
done

# A command line of 1 MB (ten switches the program does not know, 100 KB
# each, the most one argument may hold) costs a few times a normal run, not
# seconds: the run ends well within its bound and makes the whole set.
case_long_command_line() {
  prefix
  local filler args=() i
  filler=$(head -c 100000 /dev/zero | tr '\0' 'a')
  for i in 0 1 2 3 4 5 6 7 8 9; do args+=("/extra$i=$filler"); done
  printf '#!/bin/sh\nexec timeout -k 2 10 "%s" "$@"\n' "$BRANTVELL" >"$WORK/$CASE_NAME/run"
  chmod +x "$WORK/$CASE_NAME/run"
  local real=$BRANTVELL
  BRANTVELL=$WORK/$CASE_NAME/run brantvell /action=czsk "${args[@]}"
  BRANTVELL=$real
  [ "$STATUS" -ne 124 ] && [ "$STATUS" -ne 137 ] || {
    fail "a 1 MB command line took more than 10 s"
    return
  }
  expect_success
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" "${CZSK_DESKTOP[@]}"
}

# ---- 10. runs that overlap ------------------------------------------------------

# overlapping_sections LOG: how many times, in a log that several runs wrote
# into, one run's work on the shortcuts began while another's was under way.
# A run's work is its setup object's records from its first SetupMake or
# SetupClear to its shell refresh or Main's error record; the other runs'
# START, INFO and END records may come in between, their setup records may
# not.
overlapping_sections() {
  tr -d '\r' <"$1" | awk -F'\t' '
    $2 ~ /^Brantvell\[clsBrantvell\] \(Setup(Make|Clear)\)$/ && $3 == "START" {
      if (!open) { open = 1; make = ($2 ~ /SetupMake/); nested = 0; next }
      if (make && !nested && $2 ~ /SetupClear/) { nested = 1; next }
      bad++
      next
    }
    $2 ~ /^Brantvell\[clsBrantvell\]/ && !open { bad++ }
    $2 == "Brantvell[mdlMain] (RefreshIcon)" || ($2 == "Brantvell[mdlMain] (Main)" && $3 == "") { open = 0 }
    END { print bad + 0 }'
}

# Eight runs at once, of every action, several rounds, all writing one log:
# each ends 0 or 1, their work on the shortcuts never overlaps, and a run
# alone afterwards leaves exactly its own set with matching entries.
case_overlapping_runs() {
  prefix
  with_entries
  local words=(czsk cz sk clear czsk cz sk czsk) round run pids status odd=() overlaps
  for ((round = 0; round < 4; round++)); do
    pids=()
    for ((run = 0; run < 8; run++)); do
      in_case "$BRANTVELL" "/action=${words[(run + round) % 8]}" /mode=q </dev/null >/dev/null 2>&1 &
      pids+=($!)
    done
    for run in "${pids[@]}"; do
      wait "$run"
      status=$?
      [ "$status" -le 1 ] || odd+=("round $round: $status")
    done
  done
  [ ${#odd[@]} -eq 0 ] || fail "runs ended with other statuses than 0 or 1: ${odd[*]}"
  [ "$(grep -c 'Brantvell\[mdlMain\] (Main)'$'\t''END' "$LOG")" -eq 32 ] ||
    fail "the log does not hold the END records of all 32 runs"
  overlaps=$(overlapping_sections "$LOG")
  [ "$overlaps" -eq 0 ] || fail "$overlaps runs worked on the shortcuts while another did"
  expect_no_log '#ERRLOG#'
  brantvell /action=sk
  expect_success
  expect_files "$GROUP" "${SK_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona.lnk'
  expect_matching_entries
  brantvell /action=czsk
  expect_success
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" "${CZSK_DESKTOP[@]}"
  expect_matching_entries
  [ -z "$(leftovers "$GROUP")$(leftovers "$DESKTOP")" ] ||
    fail "left-overs: $(leftovers "$GROUP") $(leftovers "$DESKTOP")"
}

# The overlap check itself: a log of two runs whose work interleaves is
# caught, one whose other records only come in between is not.
case_overlap_check_catches_interleaving() {
  prefix
  local r='DebugLog: 2026/12/09 10:00:00'$'\t''Brantvell'
  {
    printf '%s\n' "$r[mdlMain] (Main)"$'\t'"START"
    printf '%s\n' "$r[clsBrantvell] (SetupMake)"$'\t'"START"$'\t'"1"
    printf '%s\n' "$r[clsBrantvell] (SetupClear)"$'\t'"START"
    printf '%s\n' "$r[mdlMain] (Main)"$'\t'"START"
    printf '%s\n' "$r[mdlMain] (RefreshIcon)"
    printf '%s\n' "$r[clsBrantvell] (SetupClear)"$'\t'"START"
    printf '%s\n' "$r[mdlMain] (RefreshIcon)"
  } >"$LOG"
  [ "$(overlapping_sections "$LOG")" -eq 0 ] || fail "runs one after the other counted as overlapping"
  sed -i '5d' "$LOG"
  [ "$(overlapping_sections "$LOG")" -eq 1 ] || fail "interleaved runs not caught"
}

HAVE_STRACE=0
command -v strace >/dev/null 2>&1 && strace -f -o /dev/null true 2>/dev/null && HAVE_STRACE=1

for name in group_folder_not_writable start_menu_not_writable make_into_locked_folder_keeps_the_set \
  read_only_shortcut \
  read_only_shortcut_in_locked_folder folder_named_like_a_shortcut log_folder_missing \
  log_folder_is_a_file log_folder_not_writable disk_full killed_during_save \
  killed_at_random_moments registry_unreadable registry_is_a_folder registry_truncated \
  group_links_out_of_the_prefix group_links_out_without_catalogue_files \
  group_links_within_the_drives \
  group_swapped_for_a_link_while_running group_folder_moved_while_running long_command_line \
  log_full_mid_record killed_at_each_rename_then_clear overlapping_runs overlap_check_catches_interleaving \
  make_after_mixed_state_matches kill_leftovers_gone_after_next_run \
  $(for i in "${HOSTILE_INPUTS[@]}"; do for k in "${HOSTILE_KINDS[@]}"; do echo "hostile_${i}_$k"; done; done); do
  # BRANTVELL_FAULT_CASES, when set, names the cases to run.
  if [ -n "${BRANTVELL_FAULT_CASES:-}" ] && [[ " $BRANTVELL_FAULT_CASES " != *" $name "* ]]; then
    continue
  fi
  fault_case "$name"
done

echo
for reason in "${SKIP_REASONS[@]}"; do echo "skipped: $reason"; done
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
