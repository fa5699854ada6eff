#!/usr/bin/env bash
# Runs every fuzz target (or those named) for SECONDS (default 60) with its
# seed corpus and dictionary, and prints per target the executions, the
# coverage libFuzzer reached and the findings (crash, leak, timeout and
# undefined-behaviour inputs saved in build/fuzz-findings/). Then replays
# every corpus through targets built with clang's source-based coverage and
# prints the line coverage of each Windows-free file. SECONDS 0 only replays.
#   bash scripts/fuzz.sh [SECONDS [TARGET ...]]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
only=" $* "
bash scripts/bootstrap.sh || exit 1
clang=(-G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
cmake -S . -B build/native "${clang[@]}" >/dev/null || exit 1
cmake -S . -B build/fuzz-cov "${clang[@]}" -DFUZZ_COVERAGE=ON >/dev/null || exit 1
# target, corpus and dictionary name, longest input: as cmake/native.cmake.
targets=$(sed -n 's/^  "\(fuzz_[a-z]*\) \([a-z]*\) \([0-9]*\)"$/\1 \2 \3/p' cmake/native.cmake)
names=$(cut -d' ' -f1 <<<"$targets" | tr '\n' ' ')
cmake --build build/native --target $names >/dev/null || exit 1
cmake --build build/fuzz-cov --target $names >/dev/null || exit 1

findings=build/fuzz-findings
mkdir -p "$findings" build/fuzz-logs
printf '%-20s %8s %12s %8s %8s %9s\n' target seconds executions cov features findings
total_findings=0
while read -r target name max_len; do
  [ "$seconds" = 0 ] && continue
  [ "$only" != "  " ] && [[ $only != *" $target "* ]] && continue
  corpus=build/native/fuzz-corpus/$name
  mkdir -p "$corpus"
  log=build/fuzz-logs/$target.log
  build/native/$target -max_total_time="$seconds" -rss_limit_mb=2048 -max_len="$max_len" \
    -dict=tests/fuzz/dict/$name.dict -artifact_prefix="$findings/$target-" -print_final_stats=1 \
    "$corpus" tests/fuzz/corpus/$name >"$log" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
  found=$(find "$findings" -name "$target-*" | wc -l)
  total_findings=$((total_findings + found))
  printf '%-20s %8s %12s %8s %8s %9s\n' "$target" "$seconds" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$found"
done <<<"$targets"

# Coverage: every corpus (grown and seed) replayed once through the
# coverage build.
profiles=build/fuzz-cov/profiles
rm -rf "$profiles"; mkdir -p "$profiles"
objects=()
while read -r target name max_len; do
  LLVM_PROFILE_FILE="$profiles/$target-%p.profraw" build/fuzz-cov/$target -runs=0 -rss_limit_mb=2048 \
    build/native/fuzz-corpus/$name tests/fuzz/corpus/$name >/dev/null 2>&1
  objects+=(-object "build/fuzz-cov/$target")
done <<<"$targets"
llvm-profdata merge -sparse "$profiles"/*.profraw -o "$profiles/all.profdata" || exit 1
files=(setup/*text.cpp update/launchtext.cpp common/strutil.cpp common/linetext.cpp)
echo
printf '%-26s %7s %7s %8s\n' file lines missed covered
llvm-cov report "${objects[@]:1}" -instr-profile="$profiles/all.profdata" "${files[@]}" 2>/dev/null |
  awk 'NR > 2 && $1 !~ /^-/ && NF >= 13 { printf "%-26s %7s %7s %8s\n", $1, $8, $9, $10 }' |
  sed "s|$root/||"
echo "findings: $total_findings"
[ "$total_findings" = 0 ]
