#!/bin/bash
# imports-test.sh <objdump> <exe>
# The loader resolves an exe's imports before its first line can restrict the DLL search,
# looking beside the exe first, in a folder the user can write. So every import must be a
# known system DLL (always taken from the system directory) or come through the manifest
# (the common controls, from the side-by-side store).
set -u
objdump=$1
exe=$2

known="advapi32 combase comdlg32 gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt normaliz
  nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32"

imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: *//p' | tr -d '\r' |
  tr 'A-Z' 'a-z' | sed 's/\.dll$//' | sort -u)
if [ -z "$imports" ]; then
  echo "no imports read from $exe" >&2
  exit 1
fi
status=0
for dll in $imports; do
  case " $(echo $known) " in *" $dll "*) continue ;; esac
  if [ "$dll" = comctl32 ] && grep -aq 'Microsoft.Windows.Common-Controls' "$exe"; then
    continue
  fi
  echo "$exe imports $dll.dll, which is no known system DLL" >&2
  status=1
done
echo "imports: $(echo $imports)"
exit $status
