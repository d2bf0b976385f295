#!/usr/bin/env bash
# Runs the Windows program under Wine in a fresh prefix with the application
# registered the way its installer leaves it, and checks what each run leaves
# behind: the shortcut files (the exact set of names, every link's target,
# arguments, working folder, icon and window state, every Internet shortcut's
# address), the exit status, the message box of a failed run and the log in
# the prefix's temporary folder.
#
# With the native program given as well, both programs are run on the same
# prefix: the links the native one writes are read back through the
# system's ShellLink object (lnk_probe.exe), and both must write the same
# files with the same link fields.
#
# Usage: program_test.sh BRANTVELL_EXE [NATIVE_BRANTVELL]
# lnk_probe.exe is taken from $BRANTVELL_LNK_PROBE, else from tests/ beside
# the program. Exit status 125 when the machine lacks the tools or cannot run
# the program's architecture (a 32-bit one where the kernel cannot start
# 32-bit programs).
set -uo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ] || [ ! -f "$1" ]; then
  echo "usage: $0 Brantvell.exe [native-brantvell]" >&2
  exit 2
fi
exe=$(realpath "$1")
native=""
if [ $# -eq 2 ] && [ -n "$2" ]; then
  native=$(realpath "$2")
fi
probe=${BRANTVELL_LNK_PROBE:-$(dirname "$exe")/tests/lnk_probe.exe}
launcher=${BRANTVELL_LAUNCH_EXACT:-$(dirname "$exe")/tests/launch_exact.exe}
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../scripts/wine-run.sh
. "$here/../support/wait_for.sh"
# File names with Czech letters pass to Windows programs and back as UTF-8.
export LC_ALL=C.UTF-8

# The PE machine field of a Windows executable: 6486 for x86-64, 4c01 for x86.
pe_machine() { od -An -tx1 -j"$(($(od -An -tu4 -j60 -N4 "$1") + 4))" -N2 "$1" | tr -d ' '; }

if [ -z "${BRANTVELL_PROGRAM_DISPLAY:-}" ]; then
  # A 32-bit program is skipped only where the kernel cannot start one (see
  # scripts/wine-run.sh).
  if [ "$(pe_machine "$exe")" != 6486 ] && ! why=$(bash "$here/../../scripts/kernel-runs-i386.sh"); then
    echo "program_test: $why: $exe; skipped"
    exit 125
  fi
  for tool in xvfb-run xdotool lnkinfo wine; do
    if ! command -v "$tool" >/dev/null; then
      echo "program_test: $tool is missing; skipped"
      exit 125
    fi
  done
  if [ -n "$native" ] && [ ! -x "$native" ]; then
    echo "program_test: $native is missing; the two programs are not compared"
    native=""
  fi
  if [ -n "$native" ] && [ ! -f "$probe" ]; then
    echo "program_test: $probe is missing; the two programs are not compared"
    native=""
  fi
  export BRANTVELL_PROGRAM_DISPLAY=1
  if [ -n "$native" ]; then
    exec xvfb-run -a -n "$(free_display)" -s "-screen 0 800x600x24" bash "$0" "$exe" "$native"
  fi
  exec xvfb-run -a -n "$(free_display)" -s "-screen 0 800x600x24" bash "$0" "$exe"
fi

wine_work program
WORK=$WINE_WORK

. "$here/../support/program_runs.sh"

# Wine's own programs (wineboot, reg, cmd), with the loader that can run
# here.
if bash "$here/../../scripts/kernel-runs-i386.sh" >/dev/null; then
  wine_tool=(wine)
else
  wine_tool=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64)
fi

APP_KEY_WIN='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe'
register_app() { "${wine_tool[@]}" reg add "$APP_KEY_WIN" /v Path /t REG_SZ /d 'C:\Veldramona' /f >/dev/null 2>&1; }
unregister_app() { "${wine_tool[@]}" reg delete "$APP_KEY_WIN" /v Path /f >/dev/null 2>&1; }

echo "# a fresh prefix"
if ! "${wine_tool[@]}" wineboot -i >"$WORK/boot.txt" 2>&1 || ! wineserver -w >>"$WORK/boot.txt" 2>&1; then
  echo "program_test: the Wine prefix cannot be made: '${wine_tool[*]} wineboot -i' failed:"
  tail -n 5 "$WORK/boot.txt"
  exit 1
fi
PREFIX=$WINEPREFIX
GROUP=$PREFIX/$GROUP_REL
DESKTOP=$PREFIX/$DESKTOP_REL
GROUP_WIN='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Halvorna'
DESKTOP_WIN='C:\users\Public\Desktop'
register_app
mkdir -p "$(host_path 'C:\Veldramona')"
# The registry on disk for the native program (Wine writes it when its
# server ends); then one server for all runs, so no run waits for Wine's
# start-up services.
wineserver -w 2>/dev/null || true
wineserver -p 2>/dev/null || true
# The user's temporary folder of the prefix holds the program's log. Where
# it is depends on the Wine release (C:\users\<user>\Temp, or
# ...\AppData\Local\Temp), so the prefix itself tells.
temp_win=$("${wine_tool[@]}" cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r' | tail -n 1)
case "$temp_win" in
  [A-Za-z]:\\*) LOG=$(host_path "$temp_win")/Brantvell.TXT ;;
  *)
    echo "program_test: the prefix names no user temporary folder (%TEMP% is '$temp_win')"
    exit 1
    ;;
esac
if [ ! -d "${LOG%/*}" ]; then
  echo "program_test: the prefix's temporary folder $temp_win is not there (${LOG%/*})"
  exit 1
fi

. "$here/../e2e/catalogue.sh"

# ---- running the programs -------------------------------------------------

# The message box's text as Wine's trace of it shows the text: characters
# beyond ASCII as \ and four hexadecimal digits.
MESSAGE_TRACE='L"Aplikace Veldramona nen\00ed nainstalov\00e1na."'

# Waits for the Windows program started as $pid to end (at most 60 s) and
# watches for its message box meanwhile: a box is answered with Enter. Sets
# STATUS, WINDOW (yes/no), LOG_AT_WINDOW (the log while the box was shown)
# and ERR (the program's stderr, without Wine's own notes). Enter is pressed
# again every 2 s while the box stays (a key sent before the box takes the
# input is lost).
program_ended() { ! kill -0 "$pid" 2>/dev/null; }
box_shown() {
  wid=$(xdotool search --onlyvisible --name '^Brantvell$' 2>/dev/null | head -1)
  [ -n "$wid" ] || program_ended
}
box_gone() { ! xdotool search --onlyvisible --name '^Brantvell$' >/dev/null 2>&1 || program_ended; }
watch_program() {
  local wid="" deadline=$((SECONDS + 60))
  WINDOW=no
  LOG_AT_WINDOW=""
  while ! program_ended && [ "$SECONDS" -lt "$deadline" ]; do
    wait_for $((deadline - SECONDS)) box_shown
    if [ -n "$wid" ] && ! program_ended; then
      # The log as it stood when the box first came up (a closing box can
      # still be found once more).
      [ "$WINDOW" = no ] && LOG_AT_WINDOW=$(cat "$LOG" 2>/dev/null)
      WINDOW=yes
      xdotool key --window "$wid" "${ANSWER_KEY:-Return}" 2>/dev/null
      wait_for 2 box_gone
    fi
  done
  kill "$pid" 2>/dev/null
  wait "$pid"
  STATUS=$?
  ERR=$(grep -v 'Read access denied for device\|XGetInputFocus' "$WORK/last.err" 2>/dev/null)
  if [ "$STATUS" -eq 125 ]; then
    echo "program_test: this machine cannot run $exe; skipped"
    exit 125
  fi
}

# run_program ARGS...: one run of the Windows program with these arguments;
# the log starts empty, so it tells about this run only. Wine's trace of
# message boxes goes to stderr.
run_program() {
  rm -f "$LOG"
  WINEDEBUG=-all,trace+msgbox "$wine_run" "$exe" "$@" >/dev/null 2>"$WORK/last.err" &
  pid=$!
  watch_program
}

# run_typed TEXT: a run with exactly this command text, typed as a user
# types it at a Windows prompt (Wine would quote arguments passed one by
# one): a batch file run by the command interpreter.
run_typed() {
  local exe_win="Z:${exe//\//\\}"
  printf '@"%s" %s\r\n@exit /b %%errorlevel%%\r\n' "$exe_win" "$1" >"$PREFIX/drive_c/brantvell_run.bat"
  rm -f "$LOG"
  WINEDEBUG=-all,trace+msgbox "${wine_tool[@]}" cmd /c 'C:\brantvell_run.bat' >/dev/null 2>"$WORK/last.err" &
  pid=$!
  watch_program
}

# run_exact TEXT: a run with exactly this command text, as an installer
# passes it through CreateProcessW (launch_exact.exe); any characters.
run_exact() {
  printf '%s' "$1" >"$WORK/command.txt"
  rm -f "$LOG"
  WINEDEBUG=-all,trace+msgbox "$wine_run" "$launcher" "${RUN_EXE_WIN:-Z:${exe//\//\\}}" "Z:${WORK//\//\\}\\command.txt" \
    </dev/null >/dev/null 2>"$WORK/last.err" &
  pid=$!
  watch_program
}

# run_native ARGS...: one run of the native program on the same prefix, with
# its log in a folder of its own. It reads the registry as Wine last wrote it
# to disk: with the application registered.
run_native() {
  # Wine keeps registry changes of earlier cases in its server and writes
  # them to system.reg only now and then or when the server ends; the native
  # program reads the file, so the server ends first (and starts again).
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p 2>/dev/null || true
  rm -f "$LOG"
  mkdir -p "$WORK/native-temp"
  rm -f "$WORK/native-temp/Brantvell.TXT"
  WINEPREFIX=$PREFIX TEMP=$WORK/native-temp timeout 60 "$native" "$@" </dev/null \
    >/dev/null 2>"$WORK/last.err"
  STATUS=$?
  ERR=$(cat "$WORK/last.err")
}

# probe_links FILE...: lnk_probe's reading of these links (Windows paths),
# one field a line.
probe_links() {
  "$wine_run" "$probe" "$@" 2>/dev/null | tr -d '\r'
}

# The links of the group, then those of the desktop, as Windows paths.
links_on_disk() {
  local file
  for file in "$GROUP"/*.lnk; do
    [ -f "$file" ] && printf '%s\\%s\n' "$GROUP_WIN" "${file##*/}"
  done
  for file in "$DESKTOP"/*.lnk; do
    [ -f "$file" ] && printf '%s\\%s\n' "$DESKTOP_WIN" "${file##*/}"
  done
}

# Every file of the group and the desktop, with its folder's name.
files_on_disk() {
  (cd "$GROUP" 2>/dev/null && find . -maxdepth 1 -type f | sed 's|^\./|group/|')
  (cd "$DESKTOP" 2>/dev/null && find . -maxdepth 1 -type f | sed 's|^\./|desktop/|')
}

# Every file of the group and the desktop with a checksum of its bytes.
disk_state() {
  (cd "$GROUP" 2>/dev/null && find . -maxdepth 1 -type f -exec md5sum {} + | sed 's|\./|group/|')
  (cd "$DESKTOP" 2>/dev/null && find . -maxdepth 1 -type f -exec md5sum {} + | sed 's|\./|desktop/|')
}

# ---- checks of one run ----------------------------------------------------

# A run that went through: exit 0, no message box, no error record, the
# run's first and last records.
expect_clean_run() {  # COMMAND-TEXT
  expect_status 0
  [ "$WINDOW" = no ] || fail "a message box was shown"
  expect_log 'Brantvell verze 1.0.17'
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"START"$'\t'"$1"$'\r'
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"END"
  expect_no_log '#ERRLOG#'
}

# A run whose error trap fired: exit 1, the error record of Main with the
# error's number and source, END as the last record, no shell refresh.
expect_failed_run() {  # NUMBER SOURCE
  expect_status 1
  expect_log "#ERRLOG#"
  expect_log "Brantvell[mdlMain] (Main)"$'\t'$'\t'"$1"$'\t'"$2"
  [ "$(tail -n 1 "$LOG" | tr -d '\r' | cut -f 2-)" = "Brantvell[mdlMain] (Main)"$'\t'"END" ] ||
    fail "the log does not end with Main's END record"
  expect_no_log 'Brantvell[mdlMain] (RefreshIcon)'
}

expect_no_message_box() {
  [ "$WINDOW" = no ] || fail "a message box was shown"
  expect_not_contains "Wine's trace" "$ERR" "MSGBOX_OnInit"
}

# ---- the action words -------------------------------------------------------
# The cases run in this order on one prefix, each starting from what the one
# before it left.

case_make_sk() {
  run_program /ACTION=SK
  expect_clean_run '/ACTION=SK'
  expect_sk_set
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"INFO"$'\t'"action=2"$'\t'"option=2"
  expect_log "Brantvell[clsBrantvell] (SetupMake)"$'\t'"START"$'\t'"2"
  expect_log "Brantvell[mdlMain] (RefreshIcon)"
}

case_make_cz_replaces_sk() {
  run_program /action=cz /mode=q
  expect_clean_run '/action=cz /mode=q'
  expect_cz_set
  expect_log "INFO"$'\t'"action=1"$'\t'"option=1"
}

case_switch_cz_to_czsk() {
  run_program /action=czsk
  expect_clean_run '/action=czsk'
  expect_czsk_set
  expect_log "INFO"$'\t'"action=3"$'\t'"option=3"
  # The clear step of the make found the plain CZ files.
  expect_log "Brantvell[clsBrantvell] (FileDelete)"$'\t'"$DESKTOP_WIN\\Veldramona.lnk"$'\t'"True"
}

case_clear_keeps_users_file() {
  printf 'mine' >"$GROUP/Moje zkratka.lnk"
  run_program /action=Clear
  expect_clean_run '/action=Clear'
  expect_files "$GROUP" 'Moje zkratka.lnk'
  [ "$(cat "$GROUP/Moje zkratka.lnk" 2>/dev/null)" = mine ] || fail "the user's file was changed"
  expect_files "$DESKTOP"
  expect_log "INFO"$'\t'"action=0"$'\t'"option=0"
  expect_log "Brantvell[mdlMain] (RefreshIcon)"
  expect_no_log "Brantvell[clsBrantvell] (FolderDelete)"
}

case_clear_removes_empty_group() {
  rm -f "$GROUP/Moje zkratka.lnk"
  run_program /action=CLEAR /mode=q
  expect_clean_run '/action=CLEAR /mode=q'
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
  expect_log "Brantvell[clsBrantvell] (FolderDelete)"$'\t'"$GROUP_WIN"$'\t'"False"
}

# ---- the application folder from the command line -------------------------

case_target_folder() {
  mkdir -p "$(host_path 'C:\Moje Aplikace')"
  run_typed '/target="C:\Moje Aplikace" /action=cz'
  expect_clean_run '/target="C:\Moje Aplikace" /action=cz'
  expect_cz_set 'C:\Moje Aplikace'
  expect_log "Brantvell[mdlMain] (GetParamInfo)"$'\t'"RETURN=True"$'\t'"/target"$'\t'"1"$'\t'"C:\\Moje Aplikace"$'\r'
  expect_no_log "Brantvell[clsBrantvell] (RegReadString)"
}

# Switches quoted whole, as PowerShell's Start-Process and most installer
# wrappers pass an argument holding a space: a quiet run, no window, the
# values read as the switches say, the START record the text as received.
case_quoted_whole_switches() {
  local text app mode
  # ASCII only: the log is written in the ANSI code page, and the links'
  # LinkInfo paths too, which would change the letters the check compares.
  mkdir -p "$(host_path 'C:\Aplikace Dvorak\Veldramona 2')"
  while IFS='|' read -r text app mode; do
    run_exact "$text"
    expect_clean_run "$text"
    expect_no_message_box
    expect_czsk_set "$app"
    expect_log "INFO"$'\t'"action=3"$'\t'"option=3"
    expect_log "Brantvell[mdlMain] (GetParamInfo)"$'\t'"RETURN=True"$'\t'"/mode"$'\t'"1"$'\t'"$mode"$'\r'
  done <<'EOF2'
/action=czsk /mode=q "/target=C:\Aplikace Dvorak\Veldramona 2"|C:\Aplikace Dvorak\Veldramona 2|q
"/action=czsk" "/mode=q"|C:\Veldramona|q
"/ACTION=czsk" "/Mode=Q" "/target=C:\Veldramona\\"|C:\Veldramona|Q
EOF2
}

# An action word it does not know asks; a cancelled dialog installs nothing
# and tells the installer so: exit 2.
case_cancelled_choice_exits_2() {
  local before
  before=$(disk_state)
  ANSWER_KEY=Escape run_exact '/action=cz-sk /mode=q'
  expect_status 2
  [ "$WINDOW" = yes ] || fail "no choice dialog was shown"
  expect_log "Brantvell[mdlMain] (GetChoice)"$'\t'"END"$'\t'"RETURN=0"
  expect_no_log 'Brantvell[clsBrantvell] (SetupMake)'
  expect_no_log '#ERRLOG#'
  [ "$(disk_state)" = "$before" ] || fail "the shortcut folders changed"
}

# A make whose set cannot be saved keeps the set that is there: with the
# public desktop (or the group) read-only it fails before deleting
# anything, with the error the save gives. The folders are made immutable:
# a read-only mode does not stop root.
case_read_only_folder_keeps_the_set() {
  local folder before record folder_win
  for folder in "$DESKTOP" "$GROUP"; do
    folder_win=$DESKTOP_WIN
    [ "$folder" = "$GROUP" ] && folder_win=$GROUP_WIN
    before=$(disk_state)
    if ! chattr +i "$folder" 2>/dev/null; then
      note "chattr +i does not work here; a read-only $folder is not tried"
      continue
    fi
    run_exact '/action=cz /mode=q'
    chattr -i "$folder"
    expect_failed_run -2147024891 ''
    expect_no_message_box
    expect_no_log 'Brantvell[clsBrantvell] (FileDelete)'
    # The record names the system's text and the folder.
    record=$(grep '^#ERRLOG#' "$LOG" | tr -d '\r')
    [[ "$record" == *$'\t'-2147024891$'\t\t'?*$'\t'"$folder_win" ]] ||
      fail "the error record names no cause and folder: $record"
    [ -n "$before" ] && [ "$(disk_state)" = "$before" ] || fail "the shortcut folders changed (${folder##*/} read-only)"
  done
}

# A target a link cannot keep whole fails its save, naming the cause and
# the shortcut, instead of links that point nowhere.
case_target_too_long_for_a_link() {
  local long='C:\' record
  long+=$(printf 'A%.0s' {1..100})'\'$(printf 'B%.0s' {1..100})'\'$(printf 'C%.0s' {1..99})
  mkdir -p "$(host_path "$long")"
  run_exact "/target=$long /action=cz /mode=q"
  expect_failed_run -2147024690 ''
  expect_no_message_box
  record=$(grep '^#ERRLOG#' "$LOG" | tr -d '\r')
  [[ "$record" == *$'\t'-2147024690$'\t\t'?*$'\t'"$DESKTOP_WIN\\Veldramona.lnk" ]] ||
    fail "the error record names no cause and shortcut: $record"
  expect_no_file "$DESKTOP/Veldramona.lnk"
}

# log.ini beside the program is read in a folder whose name the ANSI code
# page cannot hold: here it turns the trace records off.
case_log_ini_in_czech_folder() {
  local folder="$PREFIX/drive_c/Dvořák Nástroje"
  mkdir -p "$folder"
  cp "$exe" "$folder/Brantvell.exe"
  printf '[Brantvell]\r\nDebugLog=OFF\r\n' >"$folder/log.ini"
  RUN_EXE_WIN='C:\Dvořák Nástroje\Brantvell.exe' run_exact '/action=czsk /mode=q'
  expect_status 0
  expect_log 'Brantvell verze 1.0.17'
  expect_no_log "Brantvell[mdlMain] (Main)"$'\t'"START"
  rm -f "$folder/log.ini"
  RUN_EXE_WIN='C:\Dvořák Nástroje\Brantvell.exe' run_exact '/action=czsk /mode=q'
  expect_clean_run '/action=czsk /mode=q'
}

# App Paths' Path in its usual form, with a trailing ";".
case_registry_folder_ending_in_semicolon() {
  "${wine_tool[@]}" reg add "$APP_KEY_WIN" /v Path /t REG_SZ /d 'C:\Veldramona;' /f >/dev/null 2>&1
  run_exact '/action=czsk /mode=q'
  expect_clean_run '/action=czsk /mode=q'
  expect_czsk_set
  register_app
}

# The usual uninstall order removes the App Paths value, then clears: every
# file goes, exit 0. The set is made again for the cases after it.
case_clear_without_registry_value() {
  unregister_app
  run_exact '/action=clear /mode=q'
  expect_clean_run '/action=clear /mode=q'
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
  register_app
  run_program /action=czsk /mode=q
  expect_clean_run '/action=czsk /mode=q'
}

# ---- failures: nothing changes ------------------------------------------------

case_missing_target_folder() {
  local before
  before=$(disk_state)
  run_program '/target=C:\Nikde' /action=sk /mode=q
  expect_failed_run 76 '[clsBrantvell] (CheckFolders)'
  expect_log $'\t'"76"$'\t'"[clsBrantvell] (CheckFolders)"$'\t'"Cesta nebyla nalezena:"
  expect_no_message_box
  [ -n "$before" ] && [ "$(disk_state)" = "$before" ] || fail "the shortcut folders changed"
}

case_missing_application_folder() {
  local before
  before=$(disk_state)
  rmdir "$(host_path "$APP")"
  run_program /action=czsk /mode=Q
  expect_failed_run 76 '[clsBrantvell] (CheckFolders)'
  expect_no_message_box
  [ -n "$before" ] && [ "$(disk_state)" = "$before" ] || fail "the shortcut folders changed"
  mkdir -p "$(host_path "$APP")"
}

# The registry component's "file not found" (0x80070002) reaches the run's
# error record as its number; Wine gives it no source.
case_missing_registry_value() {
  local before
  before=$(disk_state)
  unregister_app
  run_program /action=cz /mode=q
  expect_failed_run -2147024894 ''
  # The component says nothing; the record names the system's text for the
  # number and the value that was read.
  grep -qP '\t-2147024894\t\t[^\t]+\tHKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT\.exe\\Path\r?$' "$LOG" ||
    fail "the error record names no cause and path: $(grep ERRLOG "$LOG")"
  expect_no_message_box
  [ -n "$before" ] && [ "$(disk_state)" = "$before" ] || fail "the shortcut folders changed"

  # Not quiet: the message box, until the user closes it.
  run_program /action=sk
  expect_failed_run -2147024894 ''
  [ "$WINDOW" = yes ] || fail "no message box titled Brantvell"
  expect_contains "Wine's trace of the message box" "$ERR" "$MESSAGE_TRACE"
  expect_contains "the log while the box was shown" "$LOG_AT_WINDOW" "#ERRLOG#"
  expect_not_contains "the log while the box was shown" "$LOG_AT_WINDOW" \
    "Brantvell[mdlMain] (Main)"$'\t'"END"
  [ "$(disk_state)" = "$before" ] || fail "the shortcut folders changed"
  register_app
}

# ---- both programs on one prefix ------------------------------------------------

# The fields lnk_probe shows for a link of the catalogue.
catalogue_link() {  # FILE TARGET ARGUMENTS
  printf 'link=%s\npath=%s\narguments=%s\nworkdir=%s\nicon=%s,0\nshow=1\n' \
    "$1" "$APP\\$2" "$3" "$APP" "$APP\\$2"
}

# The Internet shortcuts of the group: each file's name and text.
urls_on_disk() {
  local file
  for file in "$GROUP"/*.url; do
    [ -f "$file" ] && printf '%s: %s\n' "${file##*/}" "$(tr -d '\r' <"$file")"
  done
}

# What the native program wrote, for the comparison that follows.
NATIVE_FILES=""
NATIVE_LINKS=""
NATIVE_URLS=""

case_native_links_read_by_windows() {
  run_native /action=czsk /mode=q
  expect_status 0
  expect_files "$GROUP" "${CZSK_SET[@]}"
  expect_files "$DESKTOP" 'Veldramona (CZ).lnk' 'Veldramona (SK).lnk'
  local expected links=()
  expected=$(
    catalogue_link "$GROUP_WIN\\Nápověda (CZ).lnk" 'veldramona.chm' ''
    catalogue_link "$GROUP_WIN\\Pomocník (SK).lnk" 'veldramona_sk.chm' ''
    catalogue_link "$GROUP_WIN\\Veldramona (CZ).lnk" 'Loader.exe' '/CID="0470"'
    catalogue_link "$GROUP_WIN\\Veldramona (SK).lnk" 'Loader.exe' '/CID="8470"'
    catalogue_link "$DESKTOP_WIN\\Veldramona (CZ).lnk" 'Loader.exe' '/CID="0470"'
    catalogue_link "$DESKTOP_WIN\\Veldramona (SK).lnk" 'Loader.exe' '/CID="8470"'
  )
  mapfile -t links < <(links_on_disk)
  NATIVE_LINKS=$(probe_links "${links[@]}")
  if [ "$expected" != "$NATIVE_LINKS" ]; then
    fail "the native program's links as Windows reads them:"$'\n'"$(diff <(echo "$expected") <(echo "$NATIVE_LINKS") | sed 's/^/      /')"
  fi
  NATIVE_FILES=$(files_on_disk | LC_ALL=C sort)
  NATIVE_URLS=$(urls_on_disk)
}

case_both_programs_agree() {
  run_native /action=clear /mode=q
  expect_status 0
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"

  run_program /action=czsk /mode=q
  expect_clean_run '/action=czsk /mode=q'
  local files links=() windows_links
  files=$(files_on_disk | LC_ALL=C sort)
  if [ "$files" != "$NATIVE_FILES" ]; then
    fail "different files (< native, > Windows):"$'\n'"$(diff <(echo "$NATIVE_FILES") <(echo "$files") | sed 's/^/      /')"
  fi
  mapfile -t links < <(links_on_disk)
  windows_links=$(probe_links "${links[@]}")
  [ -n "$windows_links" ] || fail "lnk_probe read nothing"
  if [ "$windows_links" != "$NATIVE_LINKS" ]; then
    fail "different links (< native, > Windows):"$'\n'"$(diff <(echo "$NATIVE_LINKS") <(echo "$windows_links") | sed 's/^/      /')"
  fi
  [ "$(urls_on_disk)" = "$NATIVE_URLS" ] || fail "different Internet shortcuts"
}

run_case case_make_sk
run_case case_make_cz_replaces_sk
run_case case_switch_cz_to_czsk
run_case case_clear_keeps_users_file
run_case case_clear_removes_empty_group
run_case case_target_folder
run_case case_quoted_whole_switches
run_case case_cancelled_choice_exits_2
run_case case_read_only_folder_keeps_the_set
run_case case_log_ini_in_czech_folder
run_case case_registry_folder_ending_in_semicolon
run_case case_target_too_long_for_a_link
run_case case_clear_without_registry_value
run_case case_missing_target_folder
run_case case_missing_application_folder
# The native program reads the registry from disk: before it changes.
if [ -n "$native" ]; then
  run_case case_native_links_read_by_windows
  run_case case_both_programs_agree
else
  echo "note: no native program given; the two programs are not compared"
fi
run_case case_missing_registry_value

echo
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
