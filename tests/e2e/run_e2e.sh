#!/usr/bin/env bash
# End-to-end tests of the native program: each case lays out a Wine prefix
# by hand in a temporary folder (drive_c, system.reg), runs the program
# against it and checks the shortcut files, the exit status, what the user
# saw and the log in $TEMP/Brantvell.TXT.
#
# Usage: run_e2e.sh PATH-TO-BRANTVELL
set -u

. "$(dirname "$0")/../support/program_runs.sh"
take_program "$0" "$@"
trap 'rm -rf "$WORK"' EXIT
# Texts with Czech letters are compared byte for byte.
export LC_ALL=C.UTF-8
unset BRANTVELL_NO_DESKTOP_ENTRIES

if [ "$HAVE_LNKINFO" -eq 0 ]; then
  echo "note: lnkinfo (liblnk-utils) is not installed; the contents of .lnk files are not checked"
fi

MESSAGE='Aplikace Veldramona není nainstalována.'
. "$(dirname "$0")/../support/wait_for.sh"
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

# ---- what a failure says --------------------------------------------------------

# Root may write anywhere, so a case whose fault is a permission runs the
# program as the owner of its prefix, home and temporary folder: uid 65534.
OWNER_ID=65534
WHY_NO_OWNER=
if [ "$(id -u)" -ne 0 ]; then
  WHY_NO_OWNER="the permission cases need root, to run the program as uid $OWNER_ID"
elif ! command -v setpriv >/dev/null 2>&1; then
  WHY_NO_OWNER="setpriv (util-linux) is not installed"
fi

# brantvell_as_owner [ARGS...]: brantvell, run as uid $OWNER_ID on a case
# that now belongs to that user.
brantvell_as_owner() {
  if [ ! -x "$FAKE_BIN/brantvell" ]; then
    cp "$BRANTVELL" "$FAKE_BIN/brantvell"
    chmod 755 "$WORK" "$FAKE_BIN" "$FAKE_BIN/brantvell"
  fi
  chmod 755 "${PREFIX%/prefix}"
  chown -R "$OWNER_ID:$OWNER_ID" "${PREFIX%/prefix}"
  local out=$WORK/last.out err=$WORK/last.err
  rm -f "$LOG"
  in_case setpriv --reuid=$OWNER_ID --regid=$OWNER_ID --clear-groups -- "$FAKE_BIN/brantvell" "$@" \
    </dev/null >"$out" 2>"$err"
  STATUS=$?
  OUT=$(cat "$out")
  ERR=$(cat "$err")
}

# The table of faults: each break_* lays out a prefix broken in one way and
# sets RUN (brantvell or brantvell_as_owner), ARGS, the error number of
# Main's error record (NUMBER) and the cause line on standard error after
# the message (CAUSE; "<name>" in it stands for any name).
break_registry_value_missing() {
  new_prefix cause_no_value -
  RUN=brantvell ARGS=(/action=cz) NUMBER=-2147024894
  CAUSE='brantvell: the registry value HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe\Path'
  CAUSE+=" is missing from $PREFIX/system.reg"
}
break_registry_folder_missing() {
  new_prefix cause_no_app
  rm -rf "$(host_path "$APP")"
  RUN=brantvell ARGS=(/action=czsk) NUMBER=76
  CAUSE="brantvell: the folder $APP does not exist ($PREFIX/drive_c/Veldramona)"
}
break_target_missing() {
  new_prefix cause_no_target -
  RUN=brantvell ARGS=('/target="C:\Moje Aplikace"' /action=cz) NUMBER=76
  CAUSE="brantvell: the folder C:\\Moje Aplikace does not exist ($PREFIX/drive_c/Moje Aplikace)"
}
break_target_drive_missing() {
  new_prefix cause_no_drive
  RUN=brantvell ARGS=('/target=Q:\Veldramona' /action=sk) NUMBER=76
  CAUSE="brantvell: the folder Q:\\Veldramona does not exist (the prefix has no drive Q:)"
}
break_group_read_only() {
  new_prefix cause_read_only
  brantvell_as_owner /action=cz
  [ "$STATUS" -eq 0 ] || fail "the set-up run as the owner failed: $ERR"
  chmod 555 "$GROUP"
  RUN=brantvell_as_owner ARGS=(/action=sk) NUMBER=70
  CAUSE="brantvell: cannot save into $GROUP: Permission denied"
}
break_desktop_read_only() {
  new_prefix cause_desktop_read_only
  chmod 555 "$DESKTOP"
  RUN=brantvell_as_owner ARGS=(/action=czsk) NUMBER=70
  CAUSE="brantvell: cannot save $DESKTOP/<name>: Permission denied"
}

# Beside the Czech message one line names the cause; the log keeps its
# records, and a quiet run shows neither.
case_failures_name_their_cause() {
  local fault last
  for fault in registry_value_missing registry_folder_missing target_missing target_drive_missing \
    group_read_only desktop_read_only; do
    case $fault in group_read_only | desktop_read_only)
      [ -z "$WHY_NO_OWNER" ] || {
        fail "$fault: $WHY_NO_OWNER"
        continue
      } ;;
    esac
    "break_$fault"
    "$RUN" "${ARGS[@]}"
    expect_failed_run
    expect_log "Brantvell[mdlMain] (Main)"$'\t'$'\t'"$NUMBER"$'\t'
    [ "$(printf '%s\n' "$ERR" | sed -n 2p)" = "$MESSAGE" ] || fail "$fault: no message first: $ERR"
    last=$(printf '%s\n' "$ERR" | sed -n '3,$p')
    if [[ $CAUSE == *'<name>'* ]]; then
      [[ $last == "${CAUSE%%<name>*}"*"${CAUSE#*<name>}" ]]
    else
      [ "$last" = "$CAUSE" ]
    fi || fail "$fault: the cause line is not"$'\n'"      $CAUSE"$'\n'"      but: $last"
    "$RUN" "${ARGS[@]}" /mode=q
    expect_status 1
    [ -z "$ERR" ] || fail "$fault: a quiet run said: $ERR"
  done
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

# The desktop's URL handler, first on PATH wherever a desktop tool runs here:
# it writes the number of its arguments and each of them into $OPENED. GLib
# loads the entries of web shortcuts only when their command can be found.
FAKE_BIN=$WORK/bin
OPENED=$WORK/opened
mkdir -p "$FAKE_BIN"
cat >"$FAKE_BIN/xdg-open" <<EOF
#!/bin/sh
{ echo "\$#"; printf '%s\\n' "\$@"; } >"$OPENED.new" && mv "$OPENED.new" "$OPENED"
EOF
chmod 755 "$FAKE_BIN/xdg-open"

# The menu as GNOME builds it: gnome-menus' GMenu through python3-gi, the
# distribution's menu file, and the case's home in place of the user's.
WHY_NO_GMENU=
if ! /usr/bin/python3 -c 'import gi; gi.require_version("GMenu", "3.0")' 2>/dev/null; then
  WHY_NO_GMENU="gnome-menus' GMenu for python3 is not installed (packages gir1.2-gmenu-3.0, gnome-menus, python3-gi)"
elif [ ! -f /etc/xdg/menus/gnome-applications.menu ]; then
  WHY_NO_GMENU="/etc/xdg/menus/gnome-applications.menu is missing (package gnome-menus)"
fi
WHY_NO_GIO=
command -v gio >/dev/null 2>&1 || WHY_NO_GIO="gio is not installed (package libglib2.0-bin)"

# desktop_tool COMMAND...: a desktop tool in the case's home, with its XDG
# folders, the distribution's menu files and the fake URL handler.
desktop_tool() {
  env -i PATH="$FAKE_BIN:/usr/bin:/bin" HOME="$USER_HOME" LC_ALL=C.UTF-8 \
    XDG_CONFIG_HOME="$USER_HOME/.config" XDG_DATA_HOME="$USER_HOME/.local/share" \
    XDG_CONFIG_DIRS=/etc/xdg XDG_DATA_DIRS=/usr/share XDG_MENU_PREFIX=gnome- "$@"
}

# menu_entries: the desktop file IDs in the submenu Halvorna of the
# desktop's menu, one a line, sorted; nothing when there is no such submenu.
menu_entries() {
  desktop_tool /usr/bin/python3 -c '
import os
import gi
gi.require_version("GMenu", "3.0")
from gi.repository import GMenu
tree = GMenu.Tree.new(os.environ["XDG_MENU_PREFIX"] + "applications.menu", GMenu.TreeFlags.NONE)
tree.load_sync()
def entries(folder, inside):
    found = []
    items = folder.iter()
    kind = items.next()
    while kind != GMenu.TreeItemType.INVALID:
        if kind == GMenu.TreeItemType.DIRECTORY:
            sub = items.get_directory()
            found += entries(sub, inside or sub.get_menu_id() == "wine-Programs-Halvorna")
        elif kind == GMenu.TreeItemType.ENTRY and inside:
            found.append(items.get_entry().get_desktop_file_id())
        kind = items.next()
    return found
for name in sorted(entries(tree.get_root_directory(), False)):
    print(name)
'
}

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
  got=$(printf '%s\n' "$apps" | desktop_tool /usr/bin/python3 -c '
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
  local url
  for url in "$GROUP"/*.url; do
    [ -e "$url" ] || continue
    name=${url##*/}
    expect_contains "GLib's command of ${name%.url}" "$got" \
      "${name%.url}.desktop xdg-open|$(tr -d '\r' <"$url" | sed -n 's/^URL=//p') | None"
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
    "$(cat "$ENTRIES/www.veldramona-bank.example.desktop")" "Exec=xdg-open $CZ_URL_SITE"
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

# libpng is loaded only when an icon is converted: a run starts without it,
# and when it cannot be loaded the run goes on, names the cause once and
# keeps the icon images that need no converting (the PNG ones).
case_entries_icons_without_libpng() {
  new_prefix no_libpng
  local notepad=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe
  if [ ! -f "$notepad" ]; then
    note "no Wine notepad.exe to take an icon from"
    return
  fi
  cp "$notepad" "$(host_path "$APP")/Loader.exe"
  local lib=$WORK/no_libpng/lib kind cause icon icons=$USER_HOME/.local/share/icons/hicolor
  mkdir -p "$lib"
  # A library of the same name found first: an empty file, or a real
  # library (the C maths library the program links) without libpng's
  # functions.
  for kind in empty foreign; do
    case $kind in
      empty)
        : >"$lib/libpng16.so.16"
        cause="libpng16.so.16 cannot be loaded: $lib/libpng16.so.16: "
        ;;
      foreign)
        cp -L "$(ldd "$BRANTVELL" | awk '$1 == "libm.so.6" { print $3 }')" "$lib/libpng16.so.16"
        cause="libpng16.so.16 lacks the function png_create_write_struct"
        ;;
    esac
    LD_LIBRARY_PATH=$lib BRANTVELL_NO_DESKTOP_ENTRIES=1 brantvell /action=cz
    expect_clean_run '/action=cz'
    [ -z "$ERR" ] || fail "$kind: a run without entries reports: $ERR"
    LD_LIBRARY_PATH=$lib brantvell /action=cz
    expect_clean_run '/action=cz'
    expect_cz_set
    expect_contains "$kind: stderr" "$ERR" "brantvell: desktop entries: icons: $cause"
    [ "$(printf '%s\n' "$ERR" | grep -c .)" -eq 1 ] || fail "$kind: more than one line on stderr: $ERR"
    icon=$(sed -n 's/^Icon=//p' "$ENTRIES/Veldramona.desktop")
    expect_file "$icons/256x256/apps/$icon.png"
    expect_no_file "$icons/16x16/apps/$icon.png"
    brantvell /action=clear
    expect_clean_run '/action=clear'
    [ -z "$(find "$USER_HOME/.local/share/icons" -name '*.png' 2>/dev/null)" ] ||
      fail "$kind: icons are left"
  done
}

# Every shortcut of the group is in GNOME's menu, the web ones too, and a
# clear takes them all out of it.
case_menu_shows_every_entry() {
  [ -z "$WHY_NO_GMENU" ] || {
    fail "$WHY_NO_GMENU"
    return
  }
  new_prefix menu
  local row action count want got
  for row in czsk:9 cz:5 czsk:9 sk:5 clear:0; do
    action=${row%:*} count=${row#*:}
    brantvell /action=$action
    expect_status 0
    want=$( (names "$GROUP" .lnk; names "$GROUP" .url) | sed 's/^/wine-Programs-Halvorna-/; s/$/.desktop/' |
      LC_ALL=C sort)
    got=$(menu_entries 2>&1)
    [ "$(printf '%s' "$got" | grep -c .)" -eq "$count" ] ||
      fail "after $action the menu's Halvorna holds, instead of $count entries:"$'\n'"$got"
    [ "$got" = "$want" ] || fail "after $action the menu's Halvorna is not the group:"$'\n'"$got"
  done
}

# gio opens a web shortcut's entry by handing its address, exactly, to the
# desktop's URL handler.
case_web_entries_open_their_address() {
  [ -z "$WHY_NO_GIO" ] || {
    fail "$WHY_NO_GIO"
    return
  }
  new_prefix web_open
  brantvell /action=czsk
  expect_status 0
  local row name url
  for row in "Příručka – první kroky Veldramona (CZ)|$CZ_URL_MANUAL" \
    "Príručka – prvé kroky Veldramona (SK)|$SK_URL_MANUAL" "Certifikační průvodce|$URL_WIZARD" \
    "www.veldramona-bank.example|$CZ_URL_SITE" "www.veldramona-bank-sk.example|$SK_URL_SITE"; do
    name=${row%%|*} url=${row#*|}
    rm -f "$OPENED"
    desktop_tool gio launch "$ENTRIES/$name.desktop" >/dev/null 2>"$WORK/gio.err" ||
      fail "gio cannot launch $name: $(cat "$WORK/gio.err")"
    wait_for 10 test -e "$OPENED" || fail "$name did not reach the URL handler"
    [ -e "$OPENED" ] && [ "$(cat "$OPENED")" = "1"$'\n'"$url" ] ||
      fail "$name handed the URL handler: $(cat "$OPENED" 2>/dev/null)"
  done
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

# A clear after the shortcuts went by other means (the Windows program under
# Wine, the user, a deleted prefix) still takes every entry and icon of the
# prefix away; only a missing prefix is told, in one line.
case_clear_after_shortcuts_went_otherwise() {
  local row how n=0
  for row in "group|rm -rf \"\$GROUP\"" \
    "shortcuts|rm -f \"\$GROUP\"/*.lnk \"\$GROUP\"/*.url \"\$DESKTOP\"/*.lnk" \
    "windows-clear|rm -rf \"\$GROUP\"; rm -f \"\$DESKTOP\"/*.lnk" \
    "prefix|rm -rf \"\$PREFIX\"" "prefix|rm -rf \"\$PREFIX\"; PREFIX=\$PREFIX/"; do
    how=${row%%|*}
    new_prefix "gone_$how$((++n))"
    cp /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe "$(host_path "$APP")/Loader.exe" 2>/dev/null
    brantvell /action=czsk
    expect_status 0
    [ -n "$(names "$ENTRIES" .desktop)" ] || fail "$how: the make wrote no entry"
    eval "${row#*|}"
    brantvell /action=clear
    expect_status 0
    expect_no_entries
    [ -z "$(find "$USER_HOME/.local/share/icons" -name '*.png' 2>/dev/null)" ] || fail "$how: icons are left"
    if [ "$how" = prefix ]; then
      [ "$ERR" = "brantvell: no Wine prefix at $PREFIX (the folder does not exist); no shortcut there to remove" ] ||
        fail "$how: stderr is not the one line naming the prefix: $ERR"
    else
      [ -z "$ERR" ] || fail "$how: stderr: $ERR"
    fi
  done
}

# wine_entry FILE PREFIX LINK: an entry as Wine's menu builder writes it for
# the shortcut at Windows path LINK of PREFIX (its escapes, no mark of ours).
wine_entry() {
  local exec
  exec=$(printf '%s' "$3" | sed 's/\\/\\\\/g; s/[ ()]/\\&/g; s/\\/\\\\/g')
  printf '[Desktop Entry]\nName=%s\nExec=env WINEPREFIX="%s" wine-stable %s\nType=Application\nStartupNotify=true\nIcon=1A2B_loader.0\n' \
    "$(basename "${3//\\//}" .lnk)" "$2" "$exec" >"$1"
}

# Wine's entries of this prefix's catalogue shortcuts that are gone go with
# the next run; Wine's entries of shortcuts still there, of other prefixes
# and of other shortcuts stay.
case_wine_entries_follow_their_shortcuts() {
  new_prefix wine_entries
  brantvell /action=czsk
  expect_status 0
  local common='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Halvorna'
  local own='C:\users\ja\AppData\Roaming\Microsoft\Windows\Start Menu\Programs\Halvorna'
  local menus=$USER_HOME/$MENUS_REL
  mkdir -p "$(host_path "$own")"
  cp "$GROUP/Nápověda (CZ).lnk" "$(host_path "$own")/"
  wine_entry "$ENTRIES/Veldramona (CZ).desktop" "$PREFIX" "$common\\Veldramona (CZ).lnk"
  printf '<Menu><Name>Applications</Name><Include><Filename>wine-Programs-Halvorna-Veldramona (CZ).desktop</Filename></Include></Menu>\n' \
    >"$menus/wine-Programs-Halvorna-Veldramona (CZ).menu"
  wine_entry "$USER_DESKTOP/Veldramona (SK).desktop" "$PREFIX/" 'C:\users\Public\Desktop\Veldramona (SK).lnk'
  wine_entry "$ENTRIES/Nápověda (CZ).desktop" "$PREFIX" "$own\\Nápověda (CZ).lnk"
  wine_entry "$ENTRIES/Pomocník (SK).desktop" "$WORK/other" "$common\\Pomocník (SK).lnk"
  wine_entry "$ENTRIES/Moje.desktop" "$PREFIX" "$common\\Moje.lnk"
  brantvell /action=cz
  expect_clean_run '/action=cz'
  local row file
  for row in "gone|$ENTRIES/Veldramona (CZ).desktop" "gone|$menus/wine-Programs-Halvorna-Veldramona (CZ).menu" \
    "gone|$USER_DESKTOP/Veldramona (SK).desktop" "stays|$ENTRIES/Nápověda (CZ).desktop" \
    "stays|$ENTRIES/Pomocník (SK).desktop" "stays|$ENTRIES/Moje.desktop" "stays|$ENTRIES/Veldramona.desktop"; do
    file=${row#*|}
    if [ "${row%%|*}" = gone ]; then expect_no_file "$file"; else expect_file "$file"; fi
  done
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

# A prefix of another user (a run with sudo on it) is refused before
# anything is written: not the prefix, not the log, not the menu.
case_prefix_of_another_user() {
  new_prefix foreign
  local row uid owner before
  for row in "12345|uid 12345" "65534|$(getent passwd 65534 | cut -d: -f1) (uid 65534)"; do
    uid=${row%%|*} owner=${row#*|}
    chown -R "$uid:$uid" "$PREFIX"
    before=$(cd "$WORK/foreign" && find . -printf '%y %m %U %s %p\n' | LC_ALL=C sort)
    for action in czsk clear; do
      brantvell /action=$action
      expect_status 1
      [ "$ERR" = "brantvell: the Wine prefix $PREFIX is owned by $owner, not by you; run brantvell as that user" ] ||
        fail "the refusal of /action=$action said: $ERR"
      [ "$before" = "$(cd "$WORK/foreign" && find . -printf '%y %m %U %s %p\n' | LC_ALL=C sort)" ] ||
        fail "/action=$action on the prefix of uid $uid wrote something"
    done
  done
  # The same prefix, once it is the user's again, is worked on as usual.
  chown -R 0:0 "$PREFIX"
  brantvell /action=cz
  expect_clean_run '/action=cz'
  expect_cz_set
}

# ---- text that tries to leave its field -------------------------------------------

# Line breaks and control characters in the command line: the log gets
# whole records only (a CR starts a continuation line like a LF), no
# control character but TAB, and the run goes on as usual.
case_command_line_cannot_forge_records() {
  new_prefix forged
  local forged=$'DebugLog: 2026/01/01 00:00:00\tBrantvell[mdlMain] (Main)\tEND'
  local extra ends
  for extra in $'a\r'"$forged" $'a\n'"$forged" $'a\r\n'"$forged" $'\e[2J\e]0;title\a\x7f\x01' $'\r'; do
    brantvell /action=cz "/x=$extra"
    expect_status 0
    expect_whole_log_lines
    # Main's END records at the start of a line, a lone CR counting as a
    # line break too.
    ends=$(perl -0777 -ne 'my $n = () = /(?:\A|\n|\r(?!\n))DebugLog: [^\r\n]*\tBrantvell\[mdlMain\] \(Main\)\tEND(?=\r\n)/g; print $n' "$LOG")
    [ "$ends" -eq 1 ] || fail "$ends END records of Main in the log for: $(printf '%q' "$extra")"
    ! LC_ALL=C grep -q $'[\x01-\x08\x0b\x0c\x0e-\x1f\x7f]' "$LOG" || fail "control characters reach the log"
    expect_files "$GROUP" "${CZ_SET[@]}"
  done
}

# A command line that is not UTF-8 is refused before the run.
case_command_line_not_utf8() {
  new_prefix not_utf8
  local arguments
  for arguments in $'/action=cz /target=C:\\\xe8esk\xfd' $'/action=clear \xc5' $'\xff'; do
    brantvell $arguments
    expect_status 2
    expect_contains "stderr" "$ERR" "is not valid UTF-8; nothing was changed"
    expect_no_file "$LOG"
    expect_no_folder "$GROUP"
  done
}

# The prefix is a Windows file system: a /target whose name holds what a
# Windows name cannot is not found, though the host has such a folder.
case_target_names_windows_cannot_hold() {
  new_prefix windows_names
  local name
  for name in $'Veld\eramona' $'Veld\tramona' 'Veld?ramona' 'Veld*ramona' 'Veld|ramona' 'Veld"ramona'; do
    mkdir -p "$PREFIX/drive_c/$name"
    brantvell "/action=czsk" "/target=C:\\$name"
    expect_failed_run
    expect_log $'\t76\t'
    expect_no_folder "$GROUP"
    expect_no_entries
  done
}

# A prefix whose path holds an ESC: its entries still validate, hold no
# control character, and a clear finds them again.
case_entries_of_a_prefix_with_controls() {
  new_prefix $'controls\e[1m'
  brantvell /action=czsk
  expect_clean_run '/action=czsk'
  expect_files "$DESKTOP" 'Veldramona (CZ).lnk' 'Veldramona (SK).lnk'
  local file count=0
  while IFS= read -r -d '' file; do
    count=$((count + 1))
    desktop-file-validate "$file" >/dev/null 2>&1 ||
      fail "${file##*/} does not validate: $(desktop-file-validate "$file" 2>&1 | head -2)"
    ! LC_ALL=C grep -q $'[\x01-\x08\x0b\x0c\x0e-\x1f\x7f]' "$file" || fail "${file##*/} holds control characters"
  done < <(find "$USER_HOME" -name '*.desktop' -print0)
  [ "$count" -eq 11 ] || fail "$count desktop entries, expected 11"
  brantvell /action=clear
  expect_clean_run '/action=clear'
  expect_no_entries
}

# A signal that ends the run while the terminal dialog holds the terminal
# (under script, on a terminal of its own): the terminal gets its settings
# back and the run ends with that signal.
case_terminal_restored_after_signal() {
  new_prefix signal
  if ! command -v script >/dev/null 2>&1; then
    note "script (util-linux) is not installed; the case is left out"
    return
  fi
  local dir=$WORK/signal sig number
  for sig in TERM INT HUP; do
    rm -f "$dir/before" "$dir/raw" "$dir/after" "$dir/status"
    in_case env BRANTVELL="$BRANTVELL" DIR="$dir" SIG="$sig" script -qec '
      stty -g >"$DIR/before"
      "$BRANTVELL" 0</dev/tty >/dev/null 2>&1 &
      pid=$!
      for i in $(seq 100); do
        [ "$(stty -g)" != "$(cat "$DIR/before")" ] && break
        sleep 0.05
      done
      stty -g >"$DIR/raw"
      kill -$SIG $pid
      wait $pid
      echo $? >"$DIR/status"
      stty -g >"$DIR/after"' /dev/null </dev/null >/dev/null 2>&1
    number=$(kill -l "$sig")
    [ "$(cat "$dir/raw" 2>/dev/null)" != "$(cat "$dir/before" 2>/dev/null)" ] ||
      fail "SIG$sig: the dialog never set the terminal up"
    [ "$(cat "$dir/after" 2>/dev/null)" = "$(cat "$dir/before" 2>/dev/null)" ] ||
      fail "SIG$sig: the terminal's settings were not given back"
    [ "$(cat "$dir/status" 2>/dev/null)" = $((128 + number)) ] ||
      fail "SIG$sig: exit status $(cat "$dir/status" 2>/dev/null), expected $((128 + number))"
  done
}

for test_case in $(declare -F | awk -v only="${BRANTVELL_E2E_ONLY:-}" '$3 ~ /^case_/ && $3 ~ only { print $3 }'); do
  run_case "$test_case"
done

echo
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
