#!/usr/bin/env bash
# Checks a built program: a PE32 image for the GUI subsystem that imports
# only DLLs which ship with Windows (no MinGW runtime DLLs), with no build
# time stamp.
set -euo pipefail
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail=0
grep -q '^Magic[[:space:]]*010b' <<<"$dump" || { echo "$exe: not a PE32 image"; fail=1; }
grep -q '^Subsystem[[:space:]]*00000002' <<<"$dump" || { echo "$exe: not a GUI-subsystem program"; fail=1; }
# No build time in the header: two builds of one commit give the same bytes.
grep -q '^Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970' <<<"$dump" || { echo "$exe: carries a build time stamp"; fail=1; }
allowed='^(kernel32|user32|advapi32|shell32|ole32|oleaut32|msvcrt|shfolder|gdi32|comctl32|version|uuid)\.dll$'
while read -r dll; do
  lower=${dll,,}
  echo "$exe imports $dll"
  if ! [[ $lower =~ $allowed ]]; then
    echo "$exe: imports $dll, which does not ship with Windows"
    fail=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
exit $fail
