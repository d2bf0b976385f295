#!/usr/bin/env bash
# Drives the choice dialog's Windows window under Wine on a virtual X display:
# keys and clicks go to the window with xdotool, the result and the trace
# records come from dialog_probe.exe's output. There is no window manager on
# the display, so input is always sent to the window itself.
#
# Usage: dialog_test.sh DIALOG_PROBE_EXE [OUTPUT_DIR]
# OUTPUT_DIR receives dialog_screen.png (the whole display) and
# dialog_window.png (the window alone). Exit status 125 when the machine
# lacks the tools, or when the probe is a 32-bit program and the kernel
# cannot start 32-bit programs. Every wait is for a condition (the window is
# there and drawn, the probe has ended), each with a deadline.
set -uo pipefail

probe=$(realpath "$1")
out=$(realpath "${2:-.}")
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
  BRANTVELL_DIALOG_DISPLAY=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi

wine_work dialog
work=$WINE_WORK

# A fresh prefix, with the loader that can run here.
boot=(wine wineboot -i)
bash "$here/../../scripts/kernel-runs-i386.sh" >/dev/null ||
  boot=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i)
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

# True when the window shows its background above the rows: it has been
# drawn, which it is once shown and active.
drawn() {
  shot "$work/drawn.png" &&
    [ "$(region_diff "$work/drawn.png" 500x170+0+0 "$resources/background.bmp" 500x170+0+0)" = 0 ]
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

keys() { [ -n "$wid" ] && timeout -k 2 20 xdotool key --window "$wid" --delay 150 "$@" 2>/dev/null; }

# Clicks at (x, y) of the client area. The pointer is where it should be
# before the button goes down; the keys sent after it reach the window after
# the click, as the display delivers its events in order.
click() {
  [ -n "$wid" ] && timeout -k 2 20 xdotool mousemove --sync --window "$wid" "$1" "$2" click 1 2>/dev/null
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

echo "dialog window: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
