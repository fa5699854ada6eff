#!/usr/bin/env bash
# Checks the resources of the 32-bit programs in dist/ from outside Windows
# (the Windows tests may run a 64-bit build of the same sources).
set -euo pipefail
dist=$1
fail=0
expect() { grep -qF -- "$2" <<<"$1" || { echo "missing: $2"; fail=1; }; }

list=$(wrestool -l "$dist/setup.exe")
expect "$list" "--type=16 --name=1 --language=1033"
expect "$list" "--type=24 --name=1 --language=1033"
[ "$(wc -l <<<"$list")" = 2 ] || { echo "setup.exe holds other resources:"; echo "$list"; fail=1; }
manifest=$(wrestool -x --raw --type=24 "$dist/setup.exe")
expect "$manifest" '<requestedExecutionLevel level="asInvoker"/>'

list=$(wrestool -l "$dist/update.exe")
for id in 1 2 3 4 5 6 7 8 9; do expect "$list" "--type=3 --name=$id --language=1033"; done
expect "$list" "--type=14 --name=102 --language=1033"
expect "$list" "--type=16 --name=1 --language=1033"
manifest=$(wrestool -x --raw --type=24 "$dist/update.exe")
expect "$manifest" '<assemblyIdentity version="1.0.0.0" processorArchitecture="X86" name="Tarvex" type="win32"/>'
expect "$manifest" 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="X86" publicKeyToken="6595b64144ccf1df" language="*"/>'
expect "$manifest" '<requestedExecutionLevel level="requireAdministrator"/>'
# The icon group lists 48, 32, 16 pixels at 4, then 8, then 32 bits, ids 1 to 9.
wrestool -x --raw --type=14 --name=102 "$dist/update.exe" > /tmp/group.$$
got=$(od -An -tu1 -j6 -w14 -v /tmp/group.$$ | awk '{ printf "%s/%s/%s ", $1, $7 + 256 * $8, $13 + 256 * $14 }')
rm -f /tmp/group.$$
want="48/4/1 32/4/2 16/4/3 48/8/4 32/8/5 16/8/6 48/32/7 32/32/8 16/32/9 "
[ "$got" = "$want" ] || { echo "icon group: $got"; fail=1; }
[ $fail = 0 ] && echo "resources of $dist/setup.exe and $dist/update.exe as expected"
exit $fail
