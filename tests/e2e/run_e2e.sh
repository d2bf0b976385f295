#!/usr/bin/env bash
# End-to-end tests of the native program: each case lays out a Wine prefix
# by hand in a temporary folder (drive_c, system.reg), runs the program
# against it and checks the shortcut files, the exit status, what the user
# saw and the log in $TEMP/Brantvell.TXT.
#
# Usage: run_e2e.sh PATH-TO-BRANTVELL
set -u

. "$(dirname "$0")/lib.sh"
take_program "$0" "$@"
trap 'rm -rf "$WORK"' EXIT
# Texts with Czech letters are compared byte for byte.
export LC_ALL=C.UTF-8
unset BRANTVELL_NO_DESKTOP_ENTRIES

if [ "$HAVE_LNKINFO" -eq 0 ]; then
  echo "note: lnkinfo (liblnk-utils) is not installed; the contents of .lnk files are not checked"
fi

MESSAGE='Aplikace Veldramona není nainstalována.'
. "$(dirname "$0")/catalogue.sh"

# A run that went through: exit 0, no message, no error record, the run's
# first and last records.
expect_clean_run() {  # COMMAND-TEXT [STATUS]
  expect_status "${2:-0}"
  expect_not_contains "stderr" "$ERR" "$MESSAGE"
  expect_log 'Brantvell verze 1.0.17'
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"START"$'\t'"$1"
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"END"
  expect_no_log '#ERRLOG#'
}

# A run whose error trap fired: exit 1, the error record of Main, END after
# it, and no change to the shortcut folders.
expect_failed_run() {
  expect_status 1
  expect_log "Brantvell[mdlMain] (Main)"$'\t'$'\t'
  [ "$(tail -n 1 "$LOG" | tr -d '\r' | cut -f 2-)" = "Brantvell[mdlMain] (Main)"$'\t'"END" ] ||
    fail "the log does not end with Main's END record"
  expect_no_log 'Brantvell[mdlMain] (RefreshIcon)'
}

# ---- making the sets ----------------------------------------------------------

case_make_cz() {
  new_prefix make_cz
  brantvell /action=cz /mode=q
  expect_clean_run '/action=cz /mode=q'
  expect_cz_set
  expect_log "Brantvell[mdlMain] (Main)"$'\t'"INFO"$'\t'"action=1"$'\t'"option=1"
  expect_log 'Brantvell[mdlMain] (RefreshIcon)'
  expect_log "Brantvell[clsBrantvell] (SetupMake)"$'\t'"START"$'\t'"1"
}

case_make_sk() {
  new_prefix make_sk
  brantvell /ACTION=SK
  expect_clean_run '/ACTION=SK'
  expect_sk_set
  expect_log "INFO"$'\t'"action=2"$'\t'"option=2"
}

case_make_czsk() {
  new_prefix make_czsk
  brantvell /action=czsk
  expect_clean_run '/action=czsk'
  expect_czsk_set
  expect_log "INFO"$'\t'"action=3"$'\t'"option=3"
}

case_switch_variants() {
  new_prefix switch
  brantvell /action=cz
  expect_status 0
  brantvell /action=czsk
  expect_status 0
  expect_czsk_set
  brantvell /action=sk
  expect_status 0
  expect_sk_set
  brantvell /action=cz
  expect_status 0
  expect_cz_set
}

case_target_folder() {
  new_prefix target -
  mkdir -p "$(host_path 'C:\Moje Aplikace')"
  # One argument with the quotes kept, as an installer would pass it.
  brantvell '/target="C:\Moje Aplikace"' /action=cz
  expect_clean_run '/target="C:\Moje Aplikace" /action=cz'
  expect_cz_set 'C:\Moje Aplikace'
}

# ---- clearing ---------------------------------------------------------------

case_clear_keeps_users_file() {
  new_prefix clear_own
  brantvell /action=czsk
  expect_status 0
  printf 'mine' >"$GROUP/Moje zkratka.lnk"
  brantvell /action=Clear
  expect_clean_run '/action=Clear'
  expect_files "$GROUP" 'Moje zkratka.lnk'
  expect_files "$DESKTOP"
  expect_log "INFO"$'\t'"action=0"$'\t'"option=0"
  expect_log 'Brantvell[mdlMain] (RefreshIcon)'
}

case_clear_removes_group() {
  new_prefix clear_all
  brantvell /action=sk
  expect_status 0
  brantvell /action=clear
  expect_clean_run '/action=clear'
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
}

case_clear_read_only_files() {
  new_prefix read_only
  brantvell /action=cz
  expect_status 0
  chmod a-w "$GROUP"/* "$DESKTOP"/*
  brantvell /action=clear
  expect_clean_run '/action=clear'
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
}

case_make_replaces_read_only_files() {
  new_prefix read_only_make
  brantvell /action=cz
  expect_status 0
  chmod a-w "$GROUP"/* "$DESKTOP"/*
  brantvell /action=sk
  expect_clean_run '/action=sk'
  expect_sk_set
}

# ---- failures ---------------------------------------------------------------

case_missing_registry_value() {
  new_prefix no_registry -
  brantvell /action=cz
  expect_failed_run
  # The error record names the cause and the value that was read.
  expect_log "Brantvell[mdlMain] (Main)"$'\t\t'"-2147024894"$'\t\t'"No such file or directory"$'\t'"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe\\Path"
  expect_contains "stderr" "$ERR" "$MESSAGE"
  expect_contains "stderr" "$ERR" "Brantvell"
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
}

# The usual uninstall order removes the App Paths value first, then clears:
# every catalogue file goes by its name, exit 0; a make still needs it.
case_clear_after_registry_value_removed() {
  local variant
  for variant in cz sk czsk; do
    new_prefix "clear_unregistered_$variant"
    brantvell /action=$variant /mode=q
    expect_status 0
    printf 'mine' >"$GROUP/Moje zkratka.lnk"
    sed -i '/^"Path"=/d' "$PREFIX/system.reg"
    brantvell /action=clear /mode=q
    expect_clean_run '/action=clear /mode=q'
    expect_files "$GROUP" 'Moje zkratka.lnk'
    expect_files "$DESKTOP"
    brantvell /action=$variant /mode=q
    expect_failed_run
    expect_files "$GROUP" 'Moje zkratka.lnk'
  done
}

# App Paths' Path in its usual form, with a trailing ";": the folder
# before it.
case_registry_folder_ending_in_semicolon() {
  new_prefix semicolon 'C:\Veldramona;'
  rmdir "$(host_path 'C:\Veldramona;')"
  mkdir -p "$(host_path "$APP")"
  brantvell /action=cz /mode=q
  expect_clean_run '/action=cz /mode=q'
  expect_cz_set
}

# A target a link cannot keep whole (304 characters) fails that save,
# naming the cause and the shortcut, instead of a link that points nowhere.
case_target_too_long_for_a_link() {
  new_prefix long_target
  local long='C:\'
  long+=$(printf 'A%.0s' {1..100})'\'$(printf 'B%.0s' {1..100})'\'$(printf 'C%.0s' {1..99})
  [ ${#long} -eq 304 ] || fail "the test's folder has ${#long} characters"
  mkdir -p "$(host_path "$long")"
  brantvell "/target=$long" /action=cz /mode=q
  expect_failed_run
  expect_log "Brantvell[mdlMain] (Main)"$'\t\t'"-2147024690"$'\t\t'"File name too long"$'\t'"C:\\users\\Public\\Desktop\\Veldramona.lnk"
  expect_files "$DESKTOP"
}

case_missing_application_folder() {
  new_prefix no_folder
  rm -rf "$(host_path "$APP")"
  brantvell /action=czsk
  expect_failed_run
  expect_contains "stderr" "$ERR" "$MESSAGE"
  expect_log $'\t'"76"$'\t'"[clsBrantvell] (CheckFolders)"$'\t'"Cesta nebyla nalezena:"
  expect_no_folder "$GROUP"
}

case_quiet_failure() {
  new_prefix quiet -
  brantvell /action=cz /mode=Q
  expect_failed_run
  expect_not_contains "stderr" "$ERR" "$MESSAGE"
  brantvell /action=cz /mode=quiet
  expect_status 1
  expect_contains "stderr of /mode=quiet" "$ERR" "$MESSAGE"
}

case_failed_check_shows_no_dialog() {
  new_prefix check_fails -
  STDIN=$'ok\n'
  brantvell
  expect_failed_run
  expect_contains "stderr" "$ERR" "$MESSAGE"
  expect_not_contains "the output" "$OUT$ERR" "Slovenská republika"
  expect_no_log '[frmMain]'
}

# ---- the choice dialog --------------------------------------------------------

case_dialog_ok_installs_selection() {
  new_prefix dialog_ok
  # Nothing installed: the check says CZ, which is unavailable; the top row
  # (SK) is selected and OK installs it.
  STDIN=$'ok\n'
  brantvell
  expect_clean_run ''
  expect_sk_set
  expect_contains "the dialog" "$OUT$ERR" "Česká republika  (nedostupné)"
  expect_log "INFO"$'\t'"action=-1"$'\t'"option=0"
  expect_log "Brantvell[mdlMain] (GetChoice)"$'\t'"START"$'\t'"1"
  expect_log "Brantvell[mdlMain] (GetChoice)"$'\t'"END"$'\t'"RETURN=2"
  expect_log 'Brantvell[frmMain] (cmdOK_Click)'
}

case_dialog_pick_row() {
  new_prefix dialog_pick
  STDIN=$'2\nok\n'
  brantvell /mode=q
  expect_clean_run '/mode=q'
  expect_czsk_set
  expect_log "END"$'\t'"RETURN=3"
}

case_dialog_unavailable_row() {
  new_prefix dialog_unavailable
  brantvell /action=sk
  expect_status 0
  # SK is installed: its row (1) cannot be picked, so OK keeps the default
  # selection, CZ and SK.
  STDIN=$'1\nok\n'
  brantvell /action=unknown
  expect_clean_run '/action=unknown'
  expect_contains "the dialog" "$OUT$ERR" "Slovenská republika  (nedostupné)"
  expect_log "Brantvell[mdlMain] (GetChoice)"$'\t'"START"$'\t'"2"
  expect_czsk_set
}

case_dialog_storno() {
  new_prefix dialog_storno
  brantvell /action=cz
  expect_status 0
  STDIN=$'3\nesc\n'
  brantvell
  expect_clean_run '' 2
  expect_cz_set
  expect_log 'Brantvell[frmMain] (cmdCancel_Click)'
  expect_log "END"$'\t'"RETURN=0"
  expect_no_log 'Brantvell[clsBrantvell] (SetupMake)'
  expect_no_log 'Brantvell[mdlMain] (RefreshIcon)'
}

case_dialog_end_of_input() {
  new_prefix dialog_eof
  STDIN=
  brantvell /action=cz /action=sk
  expect_clean_run '/action=cz /action=sk' 2
  expect_no_folder "$GROUP"
  expect_files "$DESKTOP"
  expect_log "Brantvell[frmMain] (Form_QueryUnload)"$'\t'"EVENT FORM"$'\t'"UnloadMode=0"
  expect_no_log 'Brantvell[frmMain] (cmdOK_Click)'
  expect_no_log 'Brantvell[mdlMain] (RefreshIcon)'
}

# Without a terminal nobody can answer: nothing is made, exit 2, and one
# line on stderr says which action word was not understood, or that none
# was given.
case_nothing_chosen_without_terminal() {
  new_prefix nothing_chosen
  local command why
  while IFS='|' read -r command why; do
    read -ra args <<<"$command"
    brantvell "${args[@]}"
    expect_clean_run "$command" 2
    expect_no_folder "$GROUP"
    expect_files "$DESKTOP"
    [ "$(grep -c '^brantvell: nothing was chosen: ' <<<"$ERR")" -eq 1 ] ||
      fail "$command: not one line saying nothing was chosen: $ERR"
    expect_contains "stderr" "$ERR" "brantvell: nothing was chosen: $why; there is no terminal"
    expect_not_contains "stderr" "$ERR" "$MESSAGE"
  done <<'EOF2'
/action=czks /mode=q|the action word "czks" was not understood (clear, cz, sk or czsk)
/action=bogus|the action word "bogus" was not understood (clear, cz, sk or czsk)
/?|no action word was given
-h|no action word was given
EOF2
}

# ---- the Linux desktop's entries ------------------------------------------------

MENUS_REL=.config/menus/applications-merged
DIRS_REL=.local/share/desktop-directories

# names FOLDER EXT: the file names in FOLDER without extension EXT, sorted.
names() {
  (cd "$1" 2>/dev/null && find . -maxdepth 1 -type f -name "*$2" | sed "s|^\./||; s|$2\$||") |
    LC_ALL=C sort
}

# expect_entries: the menu entries are the group's shortcuts and the desktop
# entries the desktop's .lnk files, one each; every entry and directory file
# validates, GLib loads each application entry and its command.
expect_entries() {
  local want got file
  want=$( (names "$GROUP" .lnk; names "$GROUP" .url) | LC_ALL=C sort)
  got=$(names "$ENTRIES" .desktop)
  [ "$want" = "$got" ] || fail "menu entries:"$'\n'"      expected: $(echo $want)"$'\n'"      found:    $(echo $got)"
  want=$(names "$DESKTOP" .lnk)
  got=$(names "$USER_DESKTOP" .desktop)
  [ "$want" = "$got" ] || fail "desktop entries: expected: $(echo $want); found: $(echo $got)"
  got=$( (names "$USER_HOME/$MENUS_REL" .menu | sed 's/^wine-Programs-Halvorna-//') | LC_ALL=C sort)
  [ "$(names "$ENTRIES" .desktop)" = "$got" ] || fail "menu files: $(echo $got)"
  while IFS= read -r -d '' file; do
    desktop-file-validate "$file" >/dev/null 2>&1 ||
      fail "${file#"$USER_HOME"/} does not validate: $(desktop-file-validate "$file" 2>&1 | head -2)"
  done < <(find "$USER_HOME" \( -name '*.desktop' -o -name '*.directory' \) -print0)
  for file in "$USER_DESKTOP"/*.desktop; do
    [ -e "$file" ] || continue
    [ -x "$file" ] || fail "${file##*/} on the desktop is not executable"
  done
  local apps
  apps=$(grep -l '^Type=Application' "$ENTRIES"/*.desktop "$USER_DESKTOP"/*.desktop 2>/dev/null)
  [ -z "$apps" ] && return 0
  got=$(printf '%s\n' "$apps" | /usr/bin/python3 -c '
import sys
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib
for path in sys.stdin.read().splitlines():
    app = Gio.DesktopAppInfo.new_from_filename(path)
    if app is None:
        print("GLib cannot load", path)
        continue
    ok, argv = GLib.shell_parse_argv(app.get_commandline())
    print(path.rsplit("/", 1)[1], "|".join(argv), "|", app.get_string("Path"))
' 2>&1)
  local lnk
  for lnk in "$GROUP"/*.lnk; do
    [ -e "$lnk" ] || continue
    local name=${lnk##*/}
    local win="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Halvorna\\$name"
    expect_contains "GLib's command of ${name%.lnk}" "$got" \
      "${name%.lnk}.desktop env|WINEPREFIX=$PREFIX|wine|$win | $PREFIX/drive_c/Veldramona"
  done
  expect_not_contains "GLib's reading" "$got" "GLib cannot load"
}

expect_no_entries() {
  [ ! -e "$USER_HOME/.local/share/applications/wine" ] || fail "the menu folder wine is left"
  [ -z "$(names "$USER_HOME/$MENUS_REL" .menu)" ] || fail "menu files are left"
  [ -z "$(names "$USER_HOME/$DIRS_REL" .directory)" ] || fail "directory files are left"
  [ -z "$(names "$USER_DESKTOP" .desktop)" ] || fail "desktop entries are left"
}

case_entries_follow_shortcuts() {
  new_prefix entries
  cp /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe "$(host_path "$APP")/Loader.exe" 2>/dev/null
  for action in czsk sk cz; do
    brantvell /action=$action
    expect_clean_run "/action=$action"
    expect_entries
  done
  expect_contains "Halvorna's folder entry" "$(cat "$USER_HOME/$DIRS_REL/wine-Programs-Halvorna.directory")" \
    "Name=Halvorna"
  expect_contains "the Internet shortcut's entry" \
    "$(cat "$ENTRIES/www.veldramona-bank.example.desktop")" "URL=$CZ_URL_SITE"
  if [ -f "$(host_path "$APP")/Loader.exe" ]; then
    local icon
    icon=$(sed -n 's/^Icon=//p' "$ENTRIES/Veldramona.desktop")
    [ -n "$(find "$USER_HOME/.local/share/icons/hicolor" -name "$icon.png" 2>/dev/null)" ] ||
      fail "no PNG of the client's icon $icon"
  fi
  brantvell /action=clear
  expect_clean_run '/action=clear'
  expect_no_entries
  [ -z "$(find "$USER_HOME/.local/share/icons" -name '*.png' 2>/dev/null)" ] || fail "icons are left"
}

case_entries_of_others_survive_clear() {
  new_prefix entries_others
  # The desktop folder is named by user-dirs.dirs.
  mkdir -p "$USER_HOME/.config" "$USER_HOME/Plocha"
  printf 'XDG_DESKTOP_DIR="$HOME/Plocha"\n' >"$USER_HOME/.config/user-dirs.dirs"
  brantvell /action=cz
  expect_status 0
  expect_file "$USER_HOME/Plocha/Veldramona.desktop"
  expect_no_file "$USER_DESKTOP/Veldramona.desktop"
  printf '[Desktop Entry]\nType=Application\nName=Moje\nExec=moje\n' >"$ENTRIES/Moje.desktop"
  sed "s|^X-Brantvell-Prefix=.*|X-Brantvell-Prefix=$WORK/other|" "$ENTRIES/Nápověda.desktop" \
    >"$ENTRIES/Jiná.desktop"
  mv "$ENTRIES/Jiná.desktop" "$ENTRIES/Nápověda.desktop.keep"
  sed -i "s|^X-Brantvell-Prefix=.*|X-Brantvell-Prefix=$WORK/other|" "$USER_HOME/Plocha/Veldramona.desktop"
  brantvell /action=clear
  expect_clean_run '/action=clear'
  expect_files "$ENTRIES" 'Moje.desktop' 'Nápověda.desktop.keep'
  expect_file "$USER_HOME/Plocha/Veldramona.desktop"
  expect_file "$USER_HOME/$DIRS_REL/wine-Programs-Halvorna.directory"
}

case_entries_unwritable() {
  new_prefix entries_unwritable
  mkdir -p "$USER_HOME/.local/share"
  # Root may write into a read-only folder: a file in the folder's place
  # cannot be written into by anyone.
  printf 'x' >"$USER_HOME/.local/share/applications"
  brantvell /action=cz
  expect_clean_run '/action=cz'
  expect_cz_set
  expect_contains "stderr" "$ERR" "brantvell: desktop entries:"
  [ "$(printf '%s\n' "$ERR" | grep -c .)" -eq 1 ] || fail "more than one line on stderr: $ERR"
  USER_HOME=
  brantvell /action=sk
  expect_clean_run '/action=sk'
  expect_sk_set
}

case_entries_switched_off() {
  new_prefix entries_off
  brantvell --no-desktop-entries /action=cz
  expect_clean_run '/action=cz'
  expect_cz_set
  expect_no_entries
  BRANTVELL_NO_DESKTOP_ENTRIES=1 brantvell /action=czsk
  expect_status 0
  expect_no_entries
}

case_help_and_version() {
  new_prefix help
  brantvell --help
  expect_status 0
  local word
  for word in --help --version --no-desktop-entries czsk clear WINEPREFIX '~/.wine' Brantvell.TXT \
    'Exit status'; do
    expect_contains "--help" "$OUT" "$word"
  done
  expect_contains "--help" "$OUT" "64 a wrong switch"
  brantvell --version
  expect_status 0
  [ "$OUT" = "brantvell 1.0.17" ] || fail "--version printed: $OUT"
  expect_no_file "$LOG"
  brantvell --bogus /action=cz
  expect_status 64
  expect_no_folder "$GROUP"
}

case_missing_prefix() {
  new_prefix missing
  local real=$PREFIX
  PREFIX=$WORK/missing/none
  brantvell /action=cz
  expect_failed_run
  expect_contains "stderr" "$ERR" "$MESSAGE"
  expect_contains "stderr" "$ERR" "brantvell: no Wine prefix at $PREFIX"
  PREFIX=$real
  rm "$PREFIX/system.reg"
  brantvell /action=cz
  expect_failed_run
  expect_contains "stderr" "$ERR" "$MESSAGE"
  expect_contains "stderr" "$ERR" "brantvell: $PREFIX is not a Wine prefix (it has no system.reg)"
}

for test_case in $(declare -F | awk -v only="${BRANTVELL_E2E_ONLY:-}" '$3 ~ /^case_/ && $3 ~ only { print $3 }'); do
  run_case "$test_case"
done

echo
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
