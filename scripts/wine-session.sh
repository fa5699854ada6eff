# Sourced by the scripts that run programs under Wine. Usage:
#   wine_session_start TREE   keep one wineserver up for TREE's prefix, services started
#   wine_session_stop         stop it again
# The services are started here with their output sent to /dev/null: started
# later under CTest they would inherit its pipes and the run would never end.

wine_server_binary() {
  if [ -x /usr/lib/wine/wineserver64 ]; then echo /usr/lib/wine/wineserver64
  else echo /usr/lib/wine/wineserver32; fi
}

wine_session_start() {
  local tree=$1
  export WINEPREFIX="$tree/wineprefix"
  unset DISPLAY
  mkdir -p "$WINEPREFIX"
  "$(wine_server_binary)" -k >/dev/null 2>&1 || true
  "$(wine_server_binary)" -p </dev/null >/dev/null 2>&1 || true
  # Creates the prefix on first use and starts the services.
  "$tree/wine-run" wineboot -i </dev/null >/dev/null 2>&1 || true
  WINE_SESSION_PREFIX=$WINEPREFIX
}

wine_session_stop() {
  if [ -n "${WINE_SESSION_PREFIX:-}" ]; then
    WINEPREFIX=$WINE_SESSION_PREFIX "$(wine_server_binary)" -k >/dev/null 2>&1 || true
    WINE_SESSION_PREFIX=
  fi
}

# Prints win32 when this machine runs 32-bit Windows programs under Wine, else
# win64 (a kernel without 32-bit support): the tests then run a 64-bit build
# of the same sources.
wine_test_arch() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
}

# Configures and builds the tree that the tests run in; prints its path.
wine_test_tree() {
  local arch toolchain
  arch=$(wine_test_arch)
  if [ "$arch" = win32 ]; then toolchain=cmake/toolchain-i686-mingw.cmake
  else toolchain=cmake/toolchain-x86_64-mingw.cmake; fi
  cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  cmake --build "build/$arch" >&2
  echo "$PWD/build/$arch"
}
