#!/usr/bin/env bash
# lnk-field.sh FILE LABEL: one field of a shell link as lnkinfo (liblnk-utils)
# reports it ("Local path", "Command line arguments", "Working directory",
# "Icon location", ...), with the path written as the link holds it.
#
# Some lnkinfo releases print every backslash doubled (C:\\a\\b), others
# single. Which one this is shows in its report of a link whose target is
# known: lnkinfo-reference.lnk beside this script points at
# C:\Veldramona\Loader.exe.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
report=$(lnkinfo "$1" 2>/dev/null) || exit 1
value=$(awk -v label="$2" '
  { line = $0; sub(/^[ \t]+/, "", line) }
  index(line, label) == 1 { sub(/^[^:]*:[ \t]*/, "", line); print line; exit }' <<<"$report")
reference=$(lnkinfo "$here/lnkinfo-reference.lnk" 2>/dev/null)
if [[ "$reference" == *'C:\\Veldramona\\Loader.exe'* ]]; then
  # It then writes a backslash as \\ and a character it does not print as
  # \UXXXXXXXX, as printf's %b reads them, in every field but the
  # description, which it prints as it is.
  [ "$2" = Description ] || value=$(printf '%b' "$value")
fi
printf '%s\n' "$value"
