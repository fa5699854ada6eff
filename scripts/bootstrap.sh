#!/usr/bin/env bash
# Installs what the build and the tests need, and only what is missing.
# Run as root on Debian 12; without root it lists what to install and stops.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686
  wine wine64 wine32:i386
  googletest
  clang libclang-rt-14-dev llvm-14
  g++ icoutils liblnk-utils
)

missing=()
need_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  need_i386=1
fi
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "$need_i386" = 0 ] && [ "${#missing[@]}" = 0 ]; then
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "bootstrap: missing packages: ${missing[*]:-}" >&2
  if [ "$need_i386" = 1 ]; then
    echo "bootstrap: as root run: dpkg --add-architecture i386 && apt-get update" >&2
  fi
  echo "bootstrap: as root run: apt-get install -y --no-install-recommends ${missing[*]:-}" >&2
  exit 1
fi

if [ "$need_i386" = 1 ]; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "bootstrap: installed ${missing[*]}"
