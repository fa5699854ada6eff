#!/usr/bin/env bash
# The main job: builds the programs, then runs them under Wine in a throwaway
# prefix and shows what they did: result files, links, registry results, the
# icon resource, the launcher's run and the logs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
bash scripts/build.sh >/dev/null
. scripts/wine-session.sh
arch=$(wine_test_arch)
tree=$(wine_test_tree "$arch" 2>/dev/null)
trap wine_session_stop EXIT
wine_session_start "$tree" "$arch"
bin=$(wine_programs_dir "$arch" "$root")   # dist/ itself where it can run
helpers="$tree/bin"
run() { "$tree/wine-run" "$@" </dev/null >/dev/null 2>&1 || true; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
crlf() { tr -d '\r' < "$1"; }
section() { printf '\n== %s\n' "$*"; }

work=$(mktemp -d "$root/build/demo.XXXXXX")
ww=$(winpath "$work")
cd "$work"
: > tarvex2.log   # an existing log file switches the tool log on
echo "programs from $bin ($arch); work folder $work"

section "setup: system queries (one result file each)"
run "$bin/setup.exe" windir "$ww"; printf '  windir      -> windir.txt:   %s\n' "$(crlf windir.txt)"
run "$bin/setup.exe" menusdir allUsers "$ww"; printf '  menusdir    -> windir.txt:   %s\n' "$(crlf windir.txt)"
run "$bin/setup.exe" envvar SYSTEMROOT "$ww"; printf '  envvar      -> winenv.txt:   %s\n' "$(crlf winenv.txt)"
run "$bin/setup.exe" shortname 'C:\Program Files' "$ww"; printf '  shortname   -> winsname.txt: %s\n' "$(crlf winsname.txt)"
run "$bin/setup.exe" freespace C "$ww"; printf '  freespace   -> winspace.txt: %s\n' "$(crlf winspace.txt)"

section "setup: shortcut script (Programs menu, all users)"
sed 's/^/  | /' "$root/examples/shortcuts.txt"
cp "$root/examples/shortcuts.txt" .
run "$bin/setup.exe" programsMenu "$ww\\shortcuts.txt"
link=$(grep -a 'link filename: ' tarvex2.log | tail -1 | sed 's/.*link filename: //' | tr -d '\r')
echo "  landed at: $link"
unix=$("$tree/wine-run" winepath -u "$link" 2>/dev/null | tr -d '\r')
if [ -f "$unix" ]; then
  lnkinfo "$unix" | grep -E 'Local path|Working directory|Icon location|Show window' | sed 's/^[[:space:]]*/  /'
fi

section "setup: registry script"
sed 's/\t/ <tab> /g; s/^/  | /' "$root/examples/registry.txt"
cp "$root/examples/registry.txt" .
run "$bin/setup.exe" registry "$ww\\registry.txt"
echo "  regstats.txt (tabs shown as <tab>):"
crlf regstats.txt | sed 's/\t/<tab>/g; s/^/  /'

section "setup: icon written into a copy of update.exe"
cp "$bin/update.exe" app.exe
cp "$root/update/update.ico" new.ico
run "$bin/setup.exe" icon "$ww\\app.exe" "$ww\\new.ico"
wrestool -l app.exe | grep -E 'type=3 --name=101|type=14' | sed 's/^/  /'

section "update: configured copy launches the stand-in runtime found in the registry"
mkdir -p launcher jre/bin
cp "$helpers/standin.exe" jre/bin/java.exe
run "$bin/update-config.exe" "$bin/update.exe" "$ww\\launcher\\update.exe" demo.properties
printf 'programName=Demo\r\nexecFilename=C\\:\\\\old-java\\\\bin\\\\java.exe\r\nargs=-jar \\"demo app.jar\\"\r\njvmMinVersion=1.6\r\n' > launcher/demo.properties
run reg add 'HKLM\SOFTWARE\JavaSoft\Java Runtime Environment\1.8' /v JavaHome /d "$ww\\jre" /f
: > launcher/pellix.log
code=0
(cd launcher && "$tree/wine-run" update.exe --verbose </dev/null >/dev/null 2>&1) || code=$?
echo "  update.exe exit code: $code"
echo "  stand-in's record:"
crlf launcher/standin.txt | sed 's/^/    /'
echo "  pellix.log:"
crlf launcher/pellix.log | iconv -f WINDOWS-1252 -t UTF-8 | sed 's/^/    /'
run reg delete 'HKLM\SOFTWARE\JavaSoft' /f

section "tarvex-check: how setup.exe will read a registry script with pitfalls"
"$root/build/native/tarvex-check" "$root/examples/pitfalls/registry.txt" | sed 's/^/  /' || true

section "tool log (tarvex2.log), last 30 lines"
crlf tarvex2.log | tail -30 | sed 's/^/  /'
