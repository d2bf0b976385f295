# Helpers for the end-to-end tests: throw-away Wine prefixes laid out by
# hand (no Wine needed), runs of the program against them, and checks that
# count failures instead of stopping the script.
#
# Sourced by the end-to-end, fault, memcheck and Wine program suites, which
# call take_program first and remove WORK at exit.

# take_program SCRIPT ARGS...: the script's one argument is the program;
# sets BRANTVELL (its absolute path) and WORK (a new temporary folder), or
# stops with the usage.
take_program() {
  local script=$1
  shift
  if [ $# -ne 1 ] || [ ! -x "$1" ]; then
    echo "usage: $script path-to-brantvell" >&2
    exit 2
  fi
  BRANTVELL=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
  WORK=$(mktemp -d)
}

GROUP_REL='drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Halvorna'
DESKTOP_REL='drive_c/users/Public/Desktop'
APP_KEY='Software\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe'

E2E_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
HAVE_LNKINFO=0
command -v lnkinfo >/dev/null 2>&1 && HAVE_LNKINFO=1

# new_prefix NAME [APP_FOLDER_VALUE|-]: a prefix with the all-users Start
# menu and desktop folders, the application registered under App Paths with
# the given folder (default C:\Veldramona; "-" leaves the value out) and that
# folder present. Sets PREFIX, GROUP, DESKTOP, TEMPDIR and LOG, and a home of
# the case's own with a desktop folder (USER_HOME, ENTRIES, USER_DESKTOP).
new_prefix() {
  local name=$1 app=${2-'C:\Veldramona'}
  PREFIX=$WORK/$name/prefix
  TEMPDIR=$WORK/$name/temp
  USER_HOME=$WORK/$name/home
  ENTRIES=$USER_HOME/.local/share/applications/wine/Programs/Halvorna
  USER_DESKTOP=$USER_HOME/Desktop
  mkdir -p "$USER_DESKTOP"
  GROUP=$PREFIX/$GROUP_REL
  DESKTOP=$PREFIX/$DESKTOP_REL
  LOG=$TEMPDIR/Brantvell.TXT
  mkdir -p "$PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" "$DESKTOP" "$TEMPDIR"
  {
    printf 'WINE REGISTRY Version 2\n'
    printf ';; All keys relative to \\\\Machine\n\n'
    printf '#arch=win32\n\n'
    printf '[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1700000000\n'
    printf '#time=1da0000000000000\n"ProgramFilesDir"="C:\\\\Program Files"\n\n'
    printf '[%s] 1700000000\n' "$(printf '%s' "$APP_KEY" | sed 's/\\/\\\\/g')"
    printf '#time=1da0000000000000\n'
    if [ "$app" != "-" ]; then
      printf '"Path"="%s"\n' "$(printf '%s' "$app" | sed 's/\\/\\\\/g')"
    fi
    printf '@="%s"\n' 'C:\\Veldramona\\VR_CLT.exe'
  } >"$PREFIX/system.reg"
  if [ "$app" != "-" ]; then
    mkdir -p "$(host_path "$app")"
  fi
}

# host_path 'C:\a\b': the folder of a C: path inside the current prefix.
host_path() {
  local rest=${1#?:}
  rest=${rest//\\//}
  printf '%s/drive_c%s' "$PREFIX" "$rest"
}

# case_env: sets CASE_ENV to the current case's home, prefix and temporary
# folder, never the real user's, as `env` takes them.
case_env() {
  CASE_ENV=(HOME="$USER_HOME" XDG_DATA_HOME= XDG_CONFIG_HOME= WINEPREFIX="$PREFIX" TEMP="$TEMPDIR")
}

# in_case COMMAND...: runs a command in the current case's environment.
in_case() {
  case_env
  env "${CASE_ENV[@]}" "$@"
}

# brantvell [ARGS...]: runs the program on the current prefix with standard
# input from $STDIN (empty when unset), in the case's own home (never the
# real user's menu). Sets STATUS, OUT and ERR. The log starts empty, so it
# tells about this run only.
brantvell() {
  local out=$WORK/last.out err=$WORK/last.err
  rm -f "$LOG"
  printf '%s' "${STDIN-}" | in_case "$BRANTVELL" "$@" >"$out" 2>"$err"
  STATUS=$?
  OUT=$(cat "$out")
  ERR=$(cat "$err")
  STDIN=
}

# ---- checks ---------------------------------------------------------------

CASE_FAILED=0
PASSED=0
FAILED=0

fail() {
  echo "    FAIL: $*"
  CASE_FAILED=1
}

note() { echo "    note: $*"; }

# run_case NAME: runs the function NAME as one test case.
run_case() {
  CASE_FAILED=0
  echo "--- $1"
  "$1"
  if [ "$CASE_FAILED" -eq 0 ]; then
    PASSED=$((PASSED + 1))
  else
    FAILED=$((FAILED + 1))
    if [ -n "${LOG-}" ] && [ -f "$LOG" ]; then
      echo "    last lines of the log:"
      tail -n 8 "$LOG" | sed 's/^/      /'
    fi
    [ -n "${ERR-}" ] && echo "    stderr: $ERR"
  fi
}

expect_status() {
  # What the run said on standard error is kept: a later run of the case
  # overwrites it.
  [ "$STATUS" -eq "$1" ] || fail "exit status $STATUS, expected $1${ERR:+; standard error: ${ERR:0:600}}"
}

expect_file() { [ -f "$1" ] || fail "missing file ${1#"$WORK"/}"; }
expect_no_file() { [ ! -e "$1" ] || fail "unexpected file ${1#"$WORK"/}"; }
expect_folder() { [ -d "$1" ] || fail "missing folder ${1#"$WORK"/}"; }
expect_no_folder() { [ ! -e "$1" ] || fail "unexpected folder ${1#"$WORK"/}"; }

# expect_files FOLDER NAME...: the folder holds exactly these files.
expect_files() {
  local folder=$1
  shift
  local expected actual
  expected=$(printf '%s\n' "$@" | LC_ALL=C sort)
  actual=$(cd "$folder" 2>/dev/null && find . -maxdepth 1 -type f | sed 's|^\./||' | LC_ALL=C sort)
  if [ "$expected" != "$actual" ]; then
    fail "files of ${folder#"$WORK"/}:"$'\n'"      expected: $(echo $expected)"$'\n'"      found:    $(echo $actual)"
  fi
}

# expect_log TEXT: some line of the log contains TEXT (fixed string).
expect_log() {
  grep -qF -- "$1" "$LOG" 2>/dev/null || fail "log has no line with: $1"
}
expect_no_log() {
  ! grep -qF -- "$1" "$LOG" 2>/dev/null || fail "log has a line with: $1"
}

expect_contains() {  # expect_contains WHAT TEXT NEEDLE
  case "$2" in
    *"$3"*) ;;
    *) fail "$1 does not contain: $3" ;;
  esac
}
expect_not_contains() {
  case "$2" in
    *"$3"*) fail "$1 contains: $3" ;;
  esac
}

# lnk_field FILE LABEL: a field of a shell link as lnkinfo prints it
# ("Local path", "Command line arguments", "Working directory", ...).
lnk_field() { bash "$E2E_LIB_DIR/../../scripts/lnk-field.sh" "$1" "$2"; }

# expect_lnk FILE TARGET ARGUMENTS WORKING_FOLDER: the shortcut's target,
# arguments and working folder, its icon (the target's first) through
# lnkinfo when it is installed, and its window style (normal).
expect_lnk() {
  local file=$1
  expect_file "$file"
  [ -f "$file" ] || return 0
  # lnkinfo does not show the window style; it is the 32-bit number at
  # offset 0x3C of the header.
  local got
  got=$(od -An -tu4 -j60 -N4 "$file" | tr -d ' ')
  [ "$got" = 1 ] || fail "${file##*/}: window style $got, expected 1"
  if [ "$HAVE_LNKINFO" -eq 0 ]; then
    return 0
  fi
  got=$(lnk_field "$file" "Local path")
  [ "$got" = "$2" ] || fail "${file##*/}: target '$got', expected '$2'"
  got=$(lnk_field "$file" "Command line arguments")
  [ "$got" = "$3" ] || fail "${file##*/}: arguments '$got', expected '$3'"
  got=$(lnk_field "$file" "Working directory")
  [ "$got" = "$4" ] || fail "${file##*/}: working folder '$got', expected '$4'"
  got=$(lnk_field "$file" "Icon location")
  [ "$got" = "$2" ] || fail "${file##*/}: icon '$got', expected '$2'"
  got=$(lnk_field "$file" "Icon index")
  [ "$got" = 0 ] || fail "${file##*/}: icon index '$got', expected 0"
}

# expect_url FILE URL: an Internet shortcut pointing at URL.
expect_url() {
  expect_file "$1"
  [ -f "$1" ] || return 0
  grep -q '^\[InternetShortcut\]' "$1" || fail "${1##*/} is not an Internet shortcut"
  tr -d '\r' <"$1" | grep -qxF "URL=$2" || fail "${1##*/} does not point at $2"
}

# entry_names FOLDER EXT: the file names in FOLDER without extension EXT,
# sorted.
entry_names() {
  (cd "$1" 2>/dev/null && find . -maxdepth 1 -type f -name "*$2" | sed "s|^\./||; s|$2\$||") |
    LC_ALL=C sort
}

# expect_matching_entries: the case's home holds a menu entry and a menu
# file for each shortcut of the group and a desktop entry for each .lnk of
# the desktop, none other, and no temporary file of an entry or icon.
expect_matching_entries() {
  local want got
  want=$( (entry_names "$GROUP" .lnk; entry_names "$GROUP" .url) | LC_ALL=C sort)
  got=$(entry_names "$ENTRIES" .desktop)
  [ "$want" = "$got" ] || fail "menu entries:"$'\n'"      expected: $(echo $want)"$'\n'"      found:    $(echo $got)"
  got=$(entry_names "$USER_HOME/.config/menus/applications-merged" .menu |
    sed 's/^wine-Programs-Halvorna-//' | LC_ALL=C sort)
  [ "$want" = "$got" ] || fail "menu files:"$'\n'"      expected: $(echo $want)"$'\n'"      found:    $(echo $got)"
  want=$(entry_names "$DESKTOP" .lnk)
  got=$(entry_names "$USER_DESKTOP" .desktop)
  [ "$want" = "$got" ] || fail "desktop entries: expected: $(echo $want); found: $(echo $got)"
  got=$(find "$USER_HOME" -type f ! -name '*.desktop' ! -name '*.menu' ! -name '*.directory' \
    ! -name '*.png' ! -name 'mimeinfo.cache' ! -name 'user-dirs.dirs' -printf '%P\n')
  [ -z "$got" ] || fail "left-overs in the home: $(echo $got)"
}

# expect_whole_log_lines: the log ends at a line's end and every line of it
# is a record or the continuation of one.
expect_whole_log_lines() {
  [ -s "$LOG" ] || {
    fail "the log is empty"
    return
  }
  [ "$(tail -c 2 "$LOG" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "the log ends inside a line"
  local torn
  torn=$(grep -c -v -E $'^((InfoLog:  |SysLog:   |#ERRLOG#  |DebugLog: )[0-9]{4}/|\t\t)' "$LOG")
  [ "$torn" -eq 0 ] || fail "$torn lines of the log are neither records nor their continuations"
}
