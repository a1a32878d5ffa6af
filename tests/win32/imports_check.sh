#!/usr/bin/env bash
# A Windows program of this project is one file: a 64-bit executable that imports only
# DLLs every Windows system has, nothing of the compiler's runtime. And it hands no text
# to the system through an A function, whose text goes through the system's code page:
# the only A imports are the statically linked runtime's, none of which carries the
# program's text (unnamed events and semaphores, its own module handle, debug output,
# the runtime's error messages, the start-up information).
#
#   imports_check.sh OBJDUMP PROGRAM.exe...
set -uo pipefail
objdump=${1:?usage: imports_check.sh OBJDUMP PROGRAM.exe...}
shift

# The system's own DLLs (msvcrt is the system's C runtime).
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|COMCTL32|ole32|OLEAUT32|SHELL32|msvcrt|VERSION)\.dll$'
runtime_a='^(CreateEventA|CreateSemaphoreA|GetModuleHandleA|OutputDebugStringA|FormatMessageA|GetStartupInfoA)$'
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
  while IFS= read -r function; do
    if ! grep -Eq "$runtime_a" <<< "$function"; then
      echo "FAIL: $program calls the A function $function"
      failures=$((failures + 1))
    fi
  done < <(awk '/DLL Name:/ { inside = 1 } inside && /^\t[0-9a-f]+\t +[0-9]+ +/ { print $NF }' <<< "$headers" |
           grep -E '[a-z0-9]A$')
  echo "$(basename "$program"): $(sed -n 's/^[[:space:]]*DLL Name: //p' <<< "$headers" | tr '\n' ' ')"
done
[ "$failures" -eq 0 ] && echo "PASS: only system DLLs imported, no text through A functions"
exit $((failures > 0))
