#!/usr/bin/env bash
# Registry benchmark: scripts of 1,000 and 10,000 add operations run by
# setup.exe (tool log off), against the same values imported by Wine's own
# reg.exe from an equivalent .reg file, in one run. Reports operations per
# second and the ratio.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/wine-session.sh
arch=$(wine_test_arch)
tree=$(wine_test_tree "$arch" 2>/dev/null)
bin=$(wine_programs_dir "$arch" "$root")
trap wine_session_stop EXIT
wine_session_start "$tree" "$arch"
work=$(mktemp -d "$root/build/bench.XXXXXX")
wwork="Z:${work//\//\\}"
run() { "$tree/wine-run" "$@" </dev/null >/dev/null 2>&1 || true; }
now() { date +%s.%N; }
rate() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.0f", n / t }'; }

run reg delete 'HKCU\Software\TarvexBench' /f
printf '%-8s %14s %14s %8s\n' adds "setup ops/s" "reg.exe ops/s" ratio
for n in 1000 10000; do
  script="$work/adds$n.txt"
  regfile="$work/adds$n.reg"
  {
    for ((i = 0; i < n; i++)); do
      printf 'add\tHKEY_CURRENT_USER\\Software\\TarvexBench\\S%d\\K%d\tv%d\tstring\tvalue %d\r\n' "$n" $((i / 100)) "$i" "$i"
    done
  } > "$script"
  {
    printf 'REGEDIT4\r\n'
    for ((i = 0; i < n; i++)); do
      if ((i % 100 == 0)); then printf '\r\n[HKEY_CURRENT_USER\\Software\\TarvexBench\\R%d\\K%d]\r\n' "$n" $((i / 100)); fi
      printf '"v%d"="value %d"\r\n' "$i" "$i"
    done
  } > "$regfile"
  t0=$(now); run "$bin/setup.exe" registry "$wwork\\adds$n.txt"; t1=$(now)
  run reg import "$wwork\\adds$n.reg"; t2=$(now)
  lines=$(wc -l < "$work/regstats.txt"); rm -f "$work/regstats.txt"
  [ "$lines" = "$n" ] || echo "warning: $lines results lines for $n adds"
  ts=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
  tr=$(awk -v a="$t1" -v b="$t2" 'BEGIN { print b - a }')
  printf '%-8s %14s %14s %8s\n' "$n" "$(rate "$n" "$ts")" "$(rate "$n" "$tr")" \
    "$(awk -v s="$ts" -v r="$tr" 'BEGIN { printf "%.2f", s / r }')"
done
echo "(ratio: setup time / reg.exe time; both include one process start under Wine)"
run reg delete 'HKCU\Software\TarvexBench' /f
rm -rf "$work"
