#!/usr/bin/env bash
# program_test.sh: dovra.exe is a GUI program that needs nothing beside it: it imports only DLLs that
# every Windows has, so no libgcc, libstdc++ or winpthread DLL has to travel with it, and only ones that
# Windows always takes from its own folder (winmm.dll, which it would look for beside the program first,
# is loaded by its full path at run time instead).
# Usage: program_test.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1 program=$2

headers=$("$objdump" -p "$program")
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || {
  echo "not a GUI (Windows subsystem) program"
  exit 1
}
status=0
while read -r dll; do
  case ${dll^^} in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | MSVCRT.DLL) ;;
    *)
      echo "imports $dll"
      status=1
      ;;
  esac
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ $status -eq 0 ] && echo "GUI program importing system DLLs only"
exit $status
