#!/usr/bin/env bash
# Concurrent appends: N setup.exe processes (default 8) started at once, each
# running its own script of M add lines (default 1,000) from one folder, so
# that all append to one regstats.txt and, with the tool log on, to one
# tarvex2.log. Counts the lines lost and torn in both files.
#   bash bench/concurrency.sh [PROCESSES] [LINES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
processes=${1:-8} lines=${2:-1000}
bash scripts/build.sh >/dev/null
. scripts/wine-session.sh
arch=$(wine_test_arch)
tree=$(wine_test_tree "$arch" 2>/dev/null)
bin=$(wine_programs_dir "$arch" "$root")
trap wine_session_stop EXIT
wine_session_start "$tree" "$arch"
work=$(mktemp -d "$root/build/bench.XXXXXX")
wwork="Z:${work//\//\\}"
"$tree/wine-run" reg delete 'HKCU\Software\TarvexConcurrent' /f </dev/null >/dev/null 2>&1 || true

for ((p = 0; p < processes; p++)); do
  for ((i = 0; i < lines; i++)); do
    printf 'add\tHKEY_CURRENT_USER\\Software\\TarvexConcurrent\tp%d_%d\tstring\t%d\n' "$p" "$i" "$i"
  done > "$work/script$p.txt"
done
: > "$work/tarvex2.log"
start=$(date +%s.%N)
for ((p = 0; p < processes; p++)); do
  (cd "$work" && "$tree/wine-run" "$bin/setup.exe" registry "$wwork\\script$p.txt" </dev/null >/dev/null 2>&1) &
done
wait
end=$(date +%s.%N)

# regstats.txt: a whole line is one of the lines the scripts ask for; each
# counts once. Lost: asked for but not there whole; torn: any other line.
python3 - "$work" "$processes" "$lines" "$start" "$end" <<'PY'
import re, sys
work, processes, lines, start, end = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4]), float(sys.argv[5])
expected = {f"add\t\tok\tHKEY_CURRENT_USER\\Software\\TarvexConcurrent\tp{p}_{i}\tstring\t{i}"
            for p in range(processes) for i in range(lines)}
data = open(f"{work}/regstats.txt", "rb").read().decode("latin-1")
found = data.split("\r\n")
if found and found[-1] == "":
    found.pop()
whole = set(l for l in found if l in expected)
torn = sum(1 for l in found if l not in expected)
order = all(
    [int(l.split("\t")[-1]) for l in found if l in expected and f"\tp{p}_" in l] == list(range(lines))
    for p in range(processes))
print(f"{processes} processes x {lines} lines, {end - start:.1f} s")
print(f"{'file':<14} {'expected':>9} {'whole':>9} {'lost':>6} {'torn':>6}")
print(f"{'regstats.txt':<14} {len(expected):>9} {len(whole):>9} {len(expected) - len(whole):>6} {torn:>6}"
      f"   (each process's lines in order: {'yes' if order else 'no'})")
# tarvex2.log: per process 5 start-up lines and 4 stamped lines per script
# line (the line as read, its announcement, the entry, the results path),
# plus the empty continuation of each line as read.
stamp = re.compile(r"^[A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4} ")
log = open(f"{work}/tarvex2.log", "rb").read().decode("latin-1").split("\r\n")
if log and log[-1] == "":
    log.pop()
stamped = sum(1 for l in log if stamp.match(l))
empty = sum(1 for l in log if l == "")
torn = len(log) - stamped - empty
want = processes * (5 + lines * 4)
print(f"{'tarvex2.log':<14} {want:>9} {stamped:>9} {want - stamped:>6} {torn:>6}   (empty continuations: {empty} of {processes * lines})")
PY
"$tree/wine-run" reg delete 'HKCU\Software\TarvexConcurrent' /f </dev/null >/dev/null 2>&1 || true
rm -rf "$work"
