#!/usr/bin/env bash
# The main job: builds the programs, then runs them under Wine in a throwaway
# prefix and shows what they did: the tool log and the result files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh
bash scripts/build.sh >/dev/null
. scripts/wine-session.sh
tree=$(wine_test_tree 2>/dev/null)
trap wine_session_stop EXIT
wine_session_start "$tree"
bin="$tree/bin"
run() { "$tree/wine-run" "$@" </dev/null 2>/dev/null || true; }

work=$(mktemp -d "$root/build/demo.XXXXXX")
wwork="Z:${work//\//\\}"
cd "$work"
: > tarvex2.log   # an existing log file switches the tool log on
show() { for f in "$@"; do printf '  %-14s ' "$f:"; tr -d '\r' < "$f" | sed -n '1p'; done; }

echo "== setup: environment, path, short name, free space (result files in $work)"
run "$bin/setup.exe" envvar SYSTEMROOT "$wwork"
run "$bin/setup.exe" path "$wwork"
run "$bin/setup.exe" shortname 'C:\Program Files' "$wwork"
run "$bin/setup.exe" freespace C "$wwork"
show winenv.txt winpath.txt winsname.txt winspace.txt

echo "== tool log (tarvex2.log)"
tr -d '\r' < tarvex2.log | sed 's/^/  /'
