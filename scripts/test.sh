#!/usr/bin/env bash
# Runs every test: the programs under Wine (started as child processes by the
# test programs), the checks on the built executables, and the Windows-free
# logic natively under AddressSanitizer/UndefinedBehaviorSanitizer and libFuzzer.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/bootstrap.sh || exit 1
bash scripts/build.sh || exit 1
. scripts/wine-session.sh

arch=$(wine_test_arch)
tree=$(wine_test_tree "$arch") || exit 1
# The programs the Windows tests start: dist/ itself where it can run.
programs=$(wine_programs_dir "$arch" "$root")
export TARVEX_PROGRAMS="Z:${programs//\//\\}"
echo "Windows tests run in $tree, on the programs in $programs"
trap wine_session_stop EXIT
wine_session_start "$tree" "$arch" || exit 1
ctest --test-dir "$tree" --output-on-failure --timeout 300 2>&1 | tee build/ctest-windows.log
wine_session_stop

cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDIST_DIR="$root/dist" >/dev/null || exit 1
cmake --build build/native || exit 1
ctest --test-dir build/native --output-on-failure --timeout 300 2>&1 | tee build/ctest-native.log

# One closing line over both runs.
passed=0 failed=0
for f in build/ctest-windows.log build/ctest-native.log; do
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$f" | tail -1)
  if [ -z "$line" ]; then echo "no test summary in $f"; failed=$((failed + 1)); continue; fi
  f_failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  f_total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + f_total - f_failed)); failed=$((failed + f_failed))
done
wine_programs_line "$arch" "$([ "${TARVEX_WINE_ARCH:-}" = win64 ] && echo forced)"
echo "tests: $passed passed, $failed failed"
[ "$failed" = 0 ]
