#!/usr/bin/env bash
# The main job, start to end: builds the Linux program, lays out a demo Wine
# prefix in build/demo-prefix with the banking client registered under App
# Paths, installs the CZ and SK shortcut sets into it quietly, and shows every
# shortcut that was made (decoded) and the log of the run.
#
# Installs nothing itself: `scripts/install-deps.sh demo` brings cmake, the
# compiler, libpng and lnkinfo (liblnk-utils). The build has neither tests
# nor benchmarks, so it needs nothing else.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset demo >/dev/null
cmake --build --preset demo

program=$root/build/demo/brantvell
prefix=$root/build/demo-prefix
temp=$root/build/demo-temp
group="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Halvorna"
desktop=$prefix/drive_c/users/Public/Desktop

# A fresh prefix every time, laid out the way Wine lays out its own: the
# all-users Start menu and desktop, the application's folder and the
# registry value naming it.
# The Linux menu and desktop entries go into a home of the demo's own, never
# into the real user's menu.
home=$root/build/demo-home
rm -rf "$prefix" "$temp" "$home"
mkdir -p "$home/Desktop"
mkdir -p "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" "$desktop" \
  "$prefix/drive_c/Veldramona" "$temp"
touch "$prefix/drive_c/Veldramona/Loader.exe" "$prefix/drive_c/Veldramona/veldramona.chm" \
  "$prefix/drive_c/Veldramona/veldramona_sk.chm"
cat >"$prefix/system.reg" <<'REG'
WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe] 1700000000
#time=1da0000000000000
@="C:\\Veldramona\\VR_CLT.exe"
"Path"="C:\\Veldramona"
REG

echo
echo "== brantvell /action=czsk /mode=q"
echo "   WINEPREFIX=$prefix"
echo "   TEMP=$temp"
status=0
HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= WINEPREFIX=$prefix TEMP=$temp \
  "$program" /action=czsk /mode=q || status=$?
echo "   exit status: $status"

field() { bash "$root/scripts/lnk-field.sh" "$1" "$2"; }  # field FILE LABEL

show_folder() {  # show_folder TITLE FOLDER
  echo
  echo "== $1: ${2#"$prefix"/}"
  if [ ! -d "$2" ]; then
    echo "   (missing)"
    return
  fi
  local file
  for file in "$2"/*; do
    [ -f "$file" ] || continue
    echo "-- ${file##*/}"
    case "$file" in
      *.lnk)
        if command -v lnkinfo >/dev/null 2>&1; then
          echo "   target:         $(field "$file" 'Local path')"
          echo "   arguments:      $(field "$file" 'Command line arguments')"
          echo "   working folder: $(field "$file" 'Working directory')"
          echo "   icon:           $(field "$file" 'Icon location')"
        else
          echo "   (lnkinfo from liblnk-utils is not installed; cannot decode)"
        fi
        ;;
      *.url)
        sed 's/\r$//; s/^/   /' "$file"
        ;;
    esac
  done
}

show_folder "Start-menu group" "$group"
show_folder "All-users desktop" "$desktop"

echo
echo "== Linux desktop entries in ${home#"$root"/} (HOME of the demo)"
(cd "$home" && find . -type f ! -name mimeinfo.cache | sed 's|^\./|   |' | LC_ALL=C sort)
entry="$home/.local/share/applications/wine/Programs/Halvorna/Veldramona (CZ).desktop"
if [ -f "$entry" ]; then
  echo "-- ${entry#"$home"/}"
  sed 's/^/   /' "$entry"
fi

echo
echo "== log: ${temp#"$root"/}/Brantvell.TXT"
cat "$temp/Brantvell.TXT"
exit "$status"
