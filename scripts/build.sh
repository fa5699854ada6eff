#!/usr/bin/env bash
# Builds the two programs and the tools as 32-bit Windows executables into
# dist/, and the tools for this machine into build/native/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake >/dev/null
cmake --build build/win32 --target dist_programs
mkdir -p dist
for program in setup update update-config tarvex-check; do
  if [ -f "build/win32/bin/$program.exe" ]; then
    cp "build/win32/bin/$program.exe" dist/
  fi
done
# The script checker for this machine too.
cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DDIST_DIR="$root/dist" >/dev/null
cmake --build build/native --target tarvex-check update-config >/dev/null
ls -l dist
