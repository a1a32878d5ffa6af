#!/usr/bin/env bash
# A Windows program of this project is one file: a 64-bit executable that imports only
# DLLs every Windows system has, nothing of the compiler's runtime.
#
#   imports_check.sh OBJDUMP PROGRAM.exe...
set -uo pipefail
objdump=${1:?usage: imports_check.sh OBJDUMP PROGRAM.exe...}
shift

# The system's own DLLs (msvcrt is the system's C runtime).
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|COMCTL32|ole32|OLEAUT32|SHELL32|msvcrt|VERSION)\.dll$'
failures=0
for program in "$@"; do
  headers=$("$objdump" -p "$program") || { echo "FAIL: cannot read $program"; failures=$((failures + 1)); continue; }
  grep -q 'file format pei-x86-64' <<< "$headers" || { echo "FAIL: $program is not a 64-bit executable"; failures=$((failures + 1)); }
  while IFS= read -r dll; do
    if ! grep -Eiq "$allowed" <<< "$dll"; then
      echo "FAIL: $program imports $dll"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<< "$headers")
  echo "$(basename "$program"): $(sed -n 's/^[[:space:]]*DLL Name: //p' <<< "$headers" | tr '\n' ' ')"
done
[ "$failures" -eq 0 ] && echo "PASS: only system DLLs imported"
exit $((failures > 0))
