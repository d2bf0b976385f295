#!/usr/bin/env bash
# Drives the choice dialog's Windows window under Wine on a virtual X display:
# keys and clicks go to the window with xdotool, the result and the trace
# records come from dialog_probe.exe's output. There is no window manager on
# the display, so input is always sent to the window itself.
#
# Usage: dialog_test.sh DIALOG_PROBE_EXE [OUTPUT_DIR]
# OUTPUT_DIR receives dialog_screen.png (the whole display),
# dialog_window.png (the window alone; dialog_window_144.png and
# dialog_window_192.png at 144 and 192 DPI) and dialog_accessible.txt (what
# acc_probe.exe, from BRANTVELL_ACC_PROBE or beside the dialog probe, read
# as a screen reader does). Exit status 125 when the machine
# lacks the tools, or when the probe is a 32-bit program and the kernel
# cannot start 32-bit programs. Every wait is for a condition (the window is
# there and drawn, the probe has ended), each with a deadline.
set -uo pipefail

probe=$(realpath "$1")
out=$(realpath "${2:-.}")
acc_probe=${BRANTVELL_ACC_PROBE:-$(dirname "$probe")/acc_probe.exe}
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../scripts/wine-run.sh
resources=$here/../../resources
. "$here/../support/wait_for.sh"

# The PE machine field of a Windows executable: 6486 for x86-64, 4c01 for x86.
pe_machine() { od -An -tx1 -j"$(($(od -An -tu4 -j60 -N4 "$1") + 4))" -N2 "$1" | tr -d ' '; }

if [ -z "${BRANTVELL_DIALOG_DISPLAY:-}" ]; then
  # A 32-bit program is skipped only where the kernel cannot start one (see
  # scripts/wine-run.sh).
  if [ "$(pe_machine "$probe")" != 6486 ] && ! why=$(bash "$here/../../scripts/kernel-runs-i386.sh"); then
    echo "dialog_test: $why: $probe; skipped"
    exit 125
  fi
  for tool in xvfb-run xdotool import compare wine; do
    if ! command -v "$tool" >/dev/null; then
      echo "dialog_test: $tool is missing; skipped"
      exit 125
    fi
  done
  # Large enough for the window at 192 DPI.
  BRANTVELL_DIALOG_DISPLAY=1 exec xvfb-run -a -n "$(free_display)" -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

wine_work dialog
work=$WINE_WORK

# A fresh prefix, with the loader that can run here.
wine=(wine)
bash "$here/../../scripts/kernel-runs-i386.sh" >/dev/null ||
  wine=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64)
boot=("${wine[@]}" wineboot -i)
if ! timeout -k 5 120 "${boot[@]}" >"$work/boot.txt" 2>&1 ||
  ! timeout -k 5 60 wineserver -w >>"$work/boot.txt" 2>&1; then
  echo "dialog_test: the Wine prefix cannot be made: '${boot[*]}' failed:"
  tail -n 5 "$work/boot.txt"
  exit 1
fi

passed=0
failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
    echo "ok   $1"
  else
    failed=$((failed + 1))
    echo "FAIL $1: expected '$2', got '$3'"
  fi
}

# Every X tool is given a deadline and a window id: `import -window ""`
# waits for a mouse click on the display, which never comes.
# shot FILE: the probe's window as a picture; fails when there is no window.
shot() { [ -n "$wid" ] && timeout -k 2 20 import -window "$wid" "$1" 2>/dev/null; }

# True when the probe's window is shown (sets wid) or the probe has ended.
window_or_end() {
  wid=$(timeout 10 xdotool search --onlyvisible --name '^Brantvell$' 2>/dev/null | head -1)
  [ -n "$wid" ] || ! kill -0 "$pid" 2>/dev/null
}

# The display's DPI (LogPixels of the prefix), the background drawn for it
# and the part above the rows.
dpi=96
# scaled PIXELS: PIXELS at 96 DPI in pixels of the display's DPI, rounded
# half up as the window rounds.
scaled() { echo $((($1 * dpi * 2 + 96) / 192)); }
# The box of a 96 DPI place (left top width height) at the display's DPI.
scaled_box() {
  local left top
  left=$(scaled "$1")
  top=$(scaled "$2")
  echo "$(($(scaled $(($1 + $3))) - left))x$(($(scaled $(($2 + $4))) - top))+$left+$top"
}
background=$resources/background.bmp
top_box=500x170+0+0
# True when the window shows its background above the rows: it has been
# drawn, which it is once shown and active.
drawn() {
  shot "$work/drawn.png" &&
    [ "$(region_diff "$work/drawn.png" $top_box "$background" $top_box)" = 0 ]
}

probe_ended() { ! kill -0 "$pid" 2>/dev/null; }

# Ends the probe if it still runs after SECONDS (then killed outright 5 s
# later) and sets status to its exit status.
stop_probe() {  # stop_probe SECONDS
  if ! wait_for "$1" probe_ended; then
    kill "$pid" 2>/dev/null
    wait_for 5 probe_ended || kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null
  status=$?
}

# Starts the probe with the variant to grey out and waits (at most 60 s) for
# its window and (at most 20 s) for the window to be drawn: sets pid and wid.
# Without a window no later case can run: the case fails and the test ends.
start_probe() {
  "$wine_run" "$probe" "$1" >"$work/out.txt" 2>"$work/err.txt" &
  pid=$!
  wid=""
  wait_for 60 window_or_end
  if [ -n "$wid" ]; then
    wait_for 20 drawn || echo "dialog_test: the window was not drawn within 20 s"
    return
  fi
  local why="the probe ended without one"
  probe_ended || why="none came within 60 s; the probe was ended"
  stop_probe 0
  if [ "$status" -eq 125 ]; then
    echo "dialog_test: $(cat "$work/err.txt"); skipped"
    exit 125
  fi
  check "the window appears" yes no
  echo "dialog_test: no window: $why (exit status $status): $(head -c 300 "$work/err.txt")"
  echo "dialog window: $passed passed, $failed failed; the remaining cases need the window"
  exit 1
}

# Waits for the probe to end (ending it after 20 s) and sets result to the
# number after "RESULT=", or "none".
finish_probe() {
  stop_probe 20
  result=$(tr -d '\r' <"$work/out.txt" | sed -n 's/^RESULT=//p')
  result=${result:-none}
}

# "yes" when the probe's trace records contain TEXT.
logged() {
  if tr -d '\r' <"$work/out.txt" | grep '^LOG ' | grep -qF -- "$1"; then echo yes; else echo no; fi
}

# Number of pixels that differ between region GEOMETRY_A of picture A and
# region GEOMETRY_B of picture B.
region_diff() {  # region_diff A GEOMETRY_A B GEOMETRY_B
  convert "$1" -crop "$2" +repage "$work/region_a.png" &&
    convert "$3" -crop "$4" +repage "$work/region_b.png" &&
    compare -metric AE "$work/region_a.png" "$work/region_b.png" null: 2>&1
}

# Reads the shown window's controls as a screen reader does (acc_probe's
# lines "CONTROL <id> <state> <name>") into OUTPUT_DIR/dialog_accessible.txt.
read_accessible() {
  timeout -k 2 40 "$wine_run" "$acc_probe" 2>/dev/null | tr -d '\r' >"$out/dialog_accessible.txt"
}
accessible_name() { sed -n "s/^CONTROL $1 [0-9a-f]* //p" "$out/dialog_accessible.txt"; }
# "yes" when the control reports itself unavailable (STATE_SYSTEM_UNAVAILABLE).
unavailable() {
  local state
  state=$(sed -n "s/^CONTROL $1 \([0-9a-f]*\) .*/\1/p" "$out/dialog_accessible.txt")
  if [ -n "$state" ] && (((0x$state & 1) != 0)); then echo yes; else echo no; fi
}

keys() { [ -n "$wid" ] && timeout -k 2 20 xdotool key --window "$wid" --delay 150 "$@" 2>/dev/null; }

# Clicks at (x, y) of the client area. The pointer is where it should be
# before the button goes down; the keys sent after it reach the window after
# the click, as the display delivers its events in order.
click() {
  [ -n "$wid" ] && timeout -k 2 20 xdotool mousemove --sync --window "$wid" "$1" "$2" click 1 2>/dev/null
}

# The focused option's label is framed, two pixels around the label and
# outside its picture: the two lines above a label are the background
# unless the row is framed.
mark_box() {  # mark_box ROW_TOP
  scaled_box 144 $(($1 - 2)) 305 2
}
# The rows (top to bottom) framed in the window shot NAME.png, as "sk",
# "both", "cz" or "none".
marked_rows() {
  shot "$work/$1.png" && marked_rows_at "$work/$1.png"
}
marked_rows_at() {  # marked_rows_at PICTURE
  local rows="" name top
  for name in sk:175 both:233 cz:292; do
    top=${name#*:}
    [ "$(region_diff "$1" "$(mark_box "$top")" "$background" "$(mark_box "$top")")" != 0 ] &&
      rows="$rows${rows:+ }${name%:*}"
  done
  echo "${rows:-none}"
}
marked_rows_are() {  # marked_rows_are NAME EXPECTED
  [ "$(marked_rows "$1")" = "$2" ]
}

# Row tops of the labels: SK 175, CZ and SK 233, CZ 292; each 301 x 42 at x 146.
label_x=296
sk_y=196
both_y=254
cz_y=313

echo "# Czech unavailable: the window, its pictures, Enter"
start_probe 1
check "client area is 500 x 422" "500x422" \
  "$(timeout 10 xdotool getwindowgeometry "$wid" 2>/dev/null | sed -n 's/.*Geometry: //p')"
timeout -k 2 20 import -window root "$out/dialog_screen.png"
shot "$out/dialog_window.png"
# The greyed label covers the Czech row exactly; the rest is the background.
check "greyed Czech label drawn over its row" 0 \
  "$(region_diff "$out/dialog_window.png" 301x42+146+292 "$resources/choice_off_1.bmp" 301x42+0+0)"
check "background drawn above the rows" 0 \
  "$(region_diff "$out/dialog_window.png" 500x170+0+0 "$resources/background.bmp" 500x170+0+0)"
# A screen reader names each option by its label and each push button by its
# text; the greyed row stays unavailable.
read_accessible
check "Slovak option named by its label" "Slovenská republika, Slovak republic" "$(accessible_name 1002)"
check "middle option named by its label" \
  "Česká republika i Slovenská republika, Czech republic and Slovak republic" "$(accessible_name 1003)"
check "Czech option named by its label" "Česká republika, Czech republic" "$(accessible_name 1001)"
check "OK named" OK "$(accessible_name 1)"
check "Storno named" Storno "$(accessible_name 2)"
check "greyed Czech option unavailable" yes "$(unavailable 1001)"
check "Slovak option available" no "$(unavailable 1002)"
keys Return
finish_probe
check "Enter presses OK: Slovak is chosen" 2 "$result"
check "OK writes its event" yes "$(logged '(cmdOK_Click)	EVENT USER')"
check "program unload after OK" yes "$(logged 'UnloadMode=1')"

echo "# Slovak unavailable: the middle row is preselected"
start_probe 2
shot "$work/window.png"
check "no greyed picture over the Czech row" 0 \
  "$(region_diff "$work/window.png" 301x42+146+292 "$resources/background.bmp" 301x42+146+292)"
check "greyed Slovak label drawn over its row" 0 \
  "$(region_diff "$work/window.png" 301x42+146+175 "$resources/choice_off_2.bmp" 301x42+0+0)"
keys Return
finish_probe
check "Enter returns Czech and Slovak" 3 "$result"

echo "# Focus starts on the first enabled option"
start_probe 2
keys Down Return
finish_probe
check "Down from the middle row picks Czech" 1 "$result"

echo "# Esc after picking a row"
start_probe 0
click "$label_x" "$both_y"
keys Escape
finish_probe
check "Esc returns 0" 0 "$result"
check "the click reached the dialog" yes "$(logged '(imgChoiceOn_Click)	EVENT USER')"
check "Esc presses Storno" yes "$(logged '(cmdCancel_Click)	EVENT USER')"

echo "# Clicks on the labels"
start_probe 0
click "$label_x" "$cz_y"
keys Return
finish_probe
check "a click on the Czech label picks Czech" 1 "$result"
start_probe 1
click "$label_x" "$both_y"
keys Return
finish_probe
check "a click on the middle label picks Czech and Slovak" 3 "$result"
start_probe 1
click "$label_x" "$cz_y"
keys Return
finish_probe
check "a click on the greyed label changes nothing" 2 "$result"
check "the greyed label has no click" no "$(logged '(imgChoiceOn_Click)')"
start_probe 0
click 460 "$sk_y"
click "$label_x" 225
keys Return
finish_probe
check "clicks beside and between the labels change nothing" 2 "$result"

echo "# Tab order: the selected option, OK, Storno"
start_probe 0
keys Tab Tab Return
finish_probe
check "two Tabs and Enter press Storno" 0 "$result"
check "Storno writes its event" yes "$(logged '(cmdCancel_Click)	EVENT USER')"
start_probe 0
keys Tab space
finish_probe
check "Tab and Space press OK" 2 "$result"
start_probe 0
keys shift+Tab Tab Down Return
finish_probe
check "Tab wraps from Storno to the selected option" 3 "$result"

echo "# The focused option's label is framed, and no other"
start_probe 0
check "at the start the Slovak row is framed" sk "$(marked_rows mark_start)"
keys Down
wait_for 10 marked_rows_are mark_down both
check "after Down the middle row is framed" both "$(marked_rows mark_down)"
keys Down
wait_for 10 marked_rows_are mark_down2 cz
check "after a second Down the Czech row is framed" cz "$(marked_rows mark_down2)"
keys Tab
wait_for 10 marked_rows_are mark_ok none
check "on OK no row is framed" none "$(marked_rows mark_ok)"
keys shift+Tab
wait_for 10 marked_rows_are mark_back cz
check "back on the option its row is framed again" cz "$(marked_rows mark_back)"
keys Return
finish_probe
check "Enter after the arrows picks Czech" 1 "$result"
start_probe 1
check "with Czech greyed, only the focused Slovak row is framed" sk "$(marked_rows mark_greyed)"
keys Down
wait_for 10 marked_rows_are mark_greyed_down both
check "after Down the middle row is framed" both "$(marked_rows mark_greyed_down)"
keys Escape
finish_probe

echo "# The default frame follows the focus and comes back to OK"
# OK 75 x 23 at (145, 365), Storno beside it at (240, 365).
ok_box=75x23+145+365
storno_box=75x23+240+365
start_probe 0
shot "$work/frame_start.png"
# shot_differs NAME BOX: takes the window as NAME.png; true when BOX there
# differs from the start.
shot_differs() {
  shot "$work/$1.png" &&
    [ "$(region_diff "$work/frame_start.png" "$2" "$work/$1.png" "$2")" != 0 ]
}
# Both buttons look as at the start again (in a new frame_back.png).
buttons_as_at_start() {
  ! shot_differs frame_back $ok_box && ! shot_differs frame_back $storno_box
}
keys Tab Tab
wait_for 10 shot_differs frame_storno $ok_box
keys Tab
wait_for 10 buttons_as_at_start
check "Storno focused: OK has given up its frame" yes \
  "$([ "$(region_diff "$work/frame_start.png" $ok_box "$work/frame_storno.png" $ok_box)" != 0 ] &&
    echo yes || echo no)"
check "back on an option: OK framed as at the start" 0 \
  "$(region_diff "$work/frame_start.png" $ok_box "$work/frame_back.png" $ok_box)"
check "back on an option: Storno plain as at the start" 0 \
  "$(region_diff "$work/frame_start.png" $storno_box "$work/frame_back.png" $storno_box)"
keys Return
finish_probe
check "Enter on the option still presses OK" 2 "$result"

echo "# Closing the window"
start_probe 0
click "$label_x" "$cz_y"
keys alt+F4
finish_probe
check "closing returns 0 after a pick" 0 "$result"
check "close request with unload mode 0" yes "$(logged 'UnloadMode=0')"
check "no OK event on close" no "$(logged '(cmdOK_Click)')"
check "no Storno event on close" no "$(logged '(cmdCancel_Click)')"
check "no unload by the program after the user's close" no "$(logged 'UnloadMode=1')"

echo "# High DPI: the window, its controls and pictures scale with the display"
# "yes" when the dark pixels of BOX in PICTURE (a button's text) lie inside
# it, clear of its edges; BOX is the button less its border.
text_inside() {  # text_inside PICTURE BOX
  local width height trim
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -negate "$work/text.png" || return
  read -r width height trim < <(convert "$work/text.png" -format '%w %h %@' info:)
  if [[ $trim =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
    ((BASH_REMATCH[1] > 0 && BASH_REMATCH[3] > 0 && BASH_REMATCH[4] > 0 &&
      BASH_REMATCH[1] + BASH_REMATCH[3] < width && BASH_REMATCH[2] + BASH_REMATCH[4] < height)); then
    echo yes
  else
    echo "no ($trim in ${width}x$height)"
  fi
}
for dpi in 144 192; do
  # The display's scale is the prefix's; its server reads it on start.
  timeout -k 5 60 "${wine[@]}" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d $dpi /f >/dev/null 2>&1
  timeout -k 5 30 wineserver -k 2>/dev/null
  timeout -k 5 60 wineserver -w 2>/dev/null
  suffix=$([ $dpi = 144 ] && echo _150 || echo _200)
  background=$resources/background$suffix.bmp
  top_box=$(scaled_box 0 0 500 170)
  start_probe 1
  check "$dpi DPI: client area" "$(scaled 500)x$(scaled 422)" \
    "$(timeout 10 xdotool getwindowgeometry "$wid" 2>/dev/null | sed -n 's/.*Geometry: //p')"
  shot "$out/dialog_window_$dpi.png"
  # Sharp: the pictures drawn for this scale, pixel for pixel.
  check "$dpi DPI: heading and logo as drawn for the scale" 0 \
    "$(region_diff "$out/dialog_window_$dpi.png" "$top_box" "$background" "$top_box")"
  middle=$(scaled_box 146 233 301 42)
  check "$dpi DPI: middle label as drawn for the scale" 0 \
    "$(region_diff "$out/dialog_window_$dpi.png" "$middle" "$background" "$middle")"
  check "$dpi DPI: greyed Czech label as drawn for the scale" 0 \
    "$(region_diff "$out/dialog_window_$dpi.png" "$(scaled_box 146 292 301 42)" \
      "$resources/choice_off_1$suffix.bmp" "$(scaled_box 0 0 301 42)")"
  # The buttons less three pixels of border at 96 DPI.
  check "$dpi DPI: OK's text inside its button" yes \
    "$(text_inside "$out/dialog_window_$dpi.png" "$(scaled_box 148 368 69 17)")"
  check "$dpi DPI: Storno's text inside its button" yes \
    "$(text_inside "$out/dialog_window_$dpi.png" "$(scaled_box 243 368 69 17)")"
  check "$dpi DPI: the Slovak row framed" sk "$(marked_rows_at "$out/dialog_window_$dpi.png")"
  keys Down Return
  finish_probe
  check "$dpi DPI: Down and Enter pick Czech and Slovak" 3 "$result"
done

echo "dialog window: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
