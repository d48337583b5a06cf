#!/usr/bin/env bash
# Reads the import table of each program and fails on any DLL that Windows itself does not
# have, so that no shipped program needs a library beside it (and none can be planted there).
# Usage: check-imports.sh <objdump> [--allow "a.dll b.dll ..."] <program>...
set -uo pipefail
objdump=$1
shift
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comctl32.dll
         comdlg32.dll msvcrt.dll version.dll msimg32.dll shlwapi.dll uxtheme.dll dwmapi.dll psapi.dll"
if [ "${1:-}" = --allow ]; then
  allowed=$2
  shift 2
fi
allowed=" $(echo $allowed | tr 'A-Z' 'a-z') "
failed=0
for program in "$@"; do
  if ! table=$("$objdump" -p "$program" 2>&1); then
    echo "FAIL $program: cannot read: $table"
    failed=1
    continue
  fi
  dlls=$(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  if [ -z "$dlls" ]; then
    echo "FAIL $program: no import table"
    failed=1
    continue
  fi
  foreign=()
  for dll in $dlls; do
    [[ $allowed == *" $dll "* ]] || foreign+=("$dll")
  done
  if [ ${#foreign[@]} -gt 0 ]; then
    echo "FAIL $(basename "$program") imports ${foreign[*]} (imports: $(echo $dlls))"
    failed=1
  else
    echo "ok   $(basename "$program"): $(echo $dlls)"
  fi
done
exit $failed
