#!/usr/bin/env bash
# Every workload of the programs against a floor: a small program of our own
# that makes only the calls the behaviour needs. Each figure is the median of
# paired runs (project and floor alternating), timed from process start to
# process end by bench_benchrun.exe under Wine with a persistent server.
#   bash bench/run.sh [--quick]
# Prints one table: workload, this project's time, the floor's time, their
# ratio, and a second reference: for the registry scripts Wine's own
# "reg import" of the same values, for the launcher the interpreter started
# in a new hidden console as the launcher must start it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
quick=${1:-}
bash scripts/bootstrap.sh
bash scripts/build.sh >/dev/null
. scripts/wine-session.sh
arch=$(wine_test_arch)
tree=$(wine_test_tree "$arch" 2>/dev/null)
cmake --build "$tree" --target bench_programs >/dev/null
programs=$(wine_programs_dir "$arch" "$root")
trap wine_session_stop EXIT
wine_session_start "$tree" "$arch"

win() { local p=${1//\//\\}; echo "Z:$p"; }
work=$(mktemp -d "$root/build/bench.XXXXXX")
W=$(win "$work")
setup=$(win "$programs/setup.exe")
floor() { win "$tree/bin/bench_$1.exe"; }
benchrun() { "$tree/wine-run" "$(floor benchrun)" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
runs() { if [ "$quick" = --quick ]; then echo "$2"; else echo "$1"; fi; }
rows=()
row() {  # row WORKLOAD "A B" [REFERENCE]
  local a=${2% *} b=${2#* }
  rows+=("$(printf '%-28s %10s %10s %7s %12s' "$1" "$a" "$b" "$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }')" "${3:--}")")
}

# Starts and queries.
row "no-op start" "$(benchrun "$(runs 31 9)" "$W" - "\"$setup\" nosuchcommand" "\"$(floor noop)\"")"
row "windir query" "$(benchrun "$(runs 31 9)" "$W" - "\"$setup\" windir $W" "\"$(floor floor_query)\" windir $W")"
row "freespace query" "$(benchrun "$(runs 31 9)" "$W" - "\"$setup\" freespace C $W" "\"$(floor floor_query)\" freespace C $W")"

# Registry scripts, each from a clean key and an empty results file.
key='Software\TarvexBench'
script() {  # script NAME OPERATION COUNT
  local i
  for ((i = 0; i < $3; i++)); do
    if [ "$2" = add ]; then
      printf 'add\tHKEY_CURRENT_USER\\%s\\K%d\tv%d\tstring\tvalue %d\n' "$key" $((i / 100)) "$i" "$i"
    else
      printf 'query\tHKEY_CURRENT_USER\\%s\\K%d\tv%d\n' "$key" $((i / 100)) "$i"
    fi
  done >"$work/$1.txt"
  if [ "$2" = add ]; then
    {
      printf 'REGEDIT4\r\n'
      for ((i = 0; i < $3; i++)); do
        if ((i % 100 == 0)); then printf '\r\n[HKEY_CURRENT_USER\\%s\\K%d]\r\n' "$key" $((i / 100)); fi
        printf '"v%d"="value %d"\r\n' "$i" "$i"
      done
    } >"$work/$1.reg"
  fi
}
reset="key:HKCU\\$key;file:$W\\regstats.txt"
reg="C:\\windows\\system32\\reg.exe"
for n in 1000 10000; do
  script "adds$n" add "$n"
  pair=$(benchrun "$(runs $((n == 1000 ? 7 : 3)) 3)" "$W" "$reset" "\"$setup\" registry $W\\adds$n.txt" \
    "\"$(floor floor_registry)\" $W\\adds$n.txt")
  import=$(benchrun "$(runs 3 1)" "$W" "$reset" "$reg import $W\\adds$n.reg" "\"$(floor noop)\"")
  row "registry: $n add lines" "$pair" "${import% *}"
done
script queries1000 query 1000
"$tree/wine-run" "$programs/setup.exe" registry "$W\\adds1000.txt" </dev/null >/dev/null 2>&1 || true
row "registry: 1000 query lines" "$(benchrun "$(runs 7 3)" "$W" "file:$W\\regstats.txt" \
  "\"$setup\" registry $W\\queries1000.txt" "\"$(floor floor_registry)\" $W\\queries1000.txt")"
"$tree/wine-run" reg delete "HKCU\\$key" /f </dev/null >/dev/null 2>&1 || true

# A shortcut script of 100 add blocks into a Programs menu folder of the run.
menu="$W\\menu"
shell='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
saved=$("$tree/wine-run" reg query "$shell" /v Programs 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_EXPAND_SZ *//p')
"$tree/wine-run" reg add "$shell" /v Programs /t REG_EXPAND_SZ /d "$menu" /f </dev/null >/dev/null 2>&1
target='C:\windows\notepad.exe'
for ((i = 0; i < 100; i++)); do
  printf 'addProgramsMenu\nNULL\nLink%d\n%s\n-n\nNULL\nNULL\nNULL\ncurrentUser\n' "$i" "$target"
done >"$work/links.txt"
row "shortcuts: 100 add blocks" "$(benchrun "$(runs 3 1)" "$W" "dir:$menu" "\"$setup\" programsMenu $W\\links.txt" \
  "\"$(floor floor_links)\" $menu 100 $target")"
if [ -n "$saved" ]; then
  "$tree/wine-run" reg add "$shell" /v Programs /t REG_EXPAND_SZ /d "$saved" /f </dev/null >/dev/null 2>&1
fi

# The launcher, from its start to its child's end, against the same child
# started directly through the interpreter.
mkdir -p "$work/launcher"
cp "$tree/bin/standin.exe" "$work/standin.exe"
"$tree/wine-run" "$programs/update-config.exe" "$programs/update.exe" "$W\\launcher\\app.exe" app.properties \
  </dev/null >/dev/null 2>&1
printf 'execFilename=%s\\\\standin.exe\n' "${W//\\/\\\\}" >"$work/launcher/app.properties"
# The reference column: the interpreter started the way the launcher must
# (a new hidden console) by a program that does nothing else.
console=$(benchrun "$(runs 21 5)" "$W\\launcher" - "\"$(floor floor_launch)\" $W\\standin.exe" "\"$(floor noop)\"")
row "launcher: start to child" "$(benchrun "$(runs 21 5)" "$W\\launcher" - "\"$W\\launcher\\app.exe\"" \
  "C:\\windows\\system32\\cmd.exe /c $W\\standin.exe ")" "${console% *}"

echo "$(uname -m), $(nproc) cores, $(wine --version 2>/dev/null), $arch programs from ${programs#$root/}"
printf '%-28s %10s %10s %7s %12s\n' workload "ms" "floor ms" ratio "reference ms"
printf '%s\n' "${rows[@]}"
rm -rf "$work"
