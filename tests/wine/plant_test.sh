#!/usr/bin/env bash
# The Windows program never takes a DLL from its own folder. First its
# import table: only KnownDLLs, which Windows always takes from System32.
# Then under Wine: a dummy DLL (plant_dll.c) is copied beside a copy of the
# program under the name of every DLL the program's quiet runs load that is
# not a KnownDLL, those names are set to native-first (so Wine searches them
# as Windows does), and the quiet actions run; no dummy may be loaded.
#
# Usage: plant_test.sh BRANTVELL_EXE PLANT_DLL OBJDUMP
# Exit status 125 when the machine cannot run the program's architecture.
set -uo pipefail
exe=$(realpath "$1")
dummy=$(realpath "$2")
objdump=$3
here=$(cd "$(dirname "$0")" && pwd)
wine_run=$here/../../scripts/wine-run.sh
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# Windows' KnownDLLs, and the DLLs they are built on (taken from System32
# with them).
KNOWN="advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
  msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi
  user32 wldap32 ws2_32 ntdll kernelbase ucrtbase win32u gdi32full msvcp_win"
# DLLs that only Wine's own builds of KnownDLLs import (its user32 imports
# version and zlib1, its imagehlp dbghelp); on Windows they are not loaded
# through the program's search path.
WINE_ONLY="version zlib1"
is_known() { [[ " ${KNOWN//$'\n'/ } " == *" $1 "* ]]; }

echo "# imports"
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sed 's/\.dll$//')
[ -n "$imports" ] || fail "no import table read from $exe"
for name in $imports; do
  is_known "$name" || fail "imports $name.dll, which is not a KnownDLL"
done
# Functions newer than the systems the manifest lists are looked up at run
# time: a static import of one keeps the program from starting there
# (SetDefaultDllDirectories: Windows 7 without its 2011 update).
for function in SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory; do
  if "$objdump" -p "$exe" | grep -qw "$function"; then
    fail "imports $function statically"
  fi
done

pe_machine() { od -An -tx1 -j"$(($(od -An -tu4 -j60 -N4 "$1") + 4))" -N2 "$1" | tr -d ' '; }
if [ "$(pe_machine "$exe")" != 6486 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "plant_test: this machine cannot run $exe; the planted DLLs are not tried"
  [ "$failed" -eq 0 ] && exit 125
  exit 1
fi

WORK=$(mktemp -d /tmp/brantvell-plant.XXXXXX)
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/run" "$WORK/markers"
cp "$exe" "$WORK/run/Brantvell.exe"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then wine_tool=(wine); else
  wine_tool=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64); fi
"${wine_tool[@]}" wineboot -i >/dev/null 2>&1
"${wine_tool[@]}" reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\VR_CLT.exe' \
  /v Path /t REG_SZ /d 'C:\Veldramona' /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/Veldramona"
wineserver -w 2>/dev/null
wineserver -p 2>/dev/null

ACTIONS=("/action=czsk /mode=q" "/action=clear /mode=q")
# The DLLs the program's own process loads during the quiet runs.
loaded=""
for action in "${ACTIONS[@]}"; do
  # shellcheck disable=SC2086
  WINEDEBUG=+pid,+loaddll "$wine_run" "$WORK/run/Brantvell.exe" $action 2>"$WORK/trace" >/dev/null
  pid=$(grep -a -m1 'Loaded L".*Brantvell.exe"' "$WORK/trace" | cut -d: -f1)
  loaded+=" $(grep -a "^$pid:" "$WORK/trace" | sed -n 's/.*Loaded L"\([^"]*\)".*/\1/p' |
    sed 's/.*\\//' | tr 'A-Z' 'a-z')"
done
planted=()
for file in $(echo "$loaded" | tr ' ' '\n' | sort -u); do
  name=${file%.*}
  [ "$file" = brantvell.exe ] || [[ "$file" != *.dll && "$file" != *.ocx ]] && continue
  is_known "$name" || [[ " $WINE_ONLY " == *" $name "* ]] && continue
  planted+=("$name")
  cp "$dummy" "$WORK/run/$file"
done
echo "# planted: ${planted[*]}"
[ "${#planted[@]}" -gt 0 ] || fail "the runs loaded no DLL to plant (trace not read?)"
overrides=$(IFS=,; echo "${planted[*]}")

for action in "${ACTIONS[@]}"; do
  echo "# $action"
  # shellcheck disable=SC2086
  BRANTVELL_PLANT_MARKERS="Z:${WORK//\//\\}\\markers" WINEDLLOVERRIDES="$overrides=n,b" \
    "$wine_run" "$WORK/run/Brantvell.exe" $action >/dev/null 2>&1
  status=$?
  [ "$status" -eq 0 ] || fail "$action exited with $status"
  markers=$(ls "$WORK/markers")
  [ -z "$markers" ] || fail "$action loaded from the program's folder: $markers"
done
[ "$failed" -eq 0 ] && echo "plant_test: passed"
exit "$failed"
