# Sourced by the scripts that run programs under Wine (and by each tree's
# wine-run). Usage:
#   arch=$(wine_test_arch)                 win32 where this machine runs 32-bit programs, else win64
#   tree=$(wine_test_tree "$arch")         configures and builds build/<arch>; prints its path
#   wine_session_start "$tree" "$arch"     a prefix of the right kind, one wineserver up, services started
#   wine_session_stop                      stops that server again
#
# The decisions (which tree, loader, server, programs) are small functions of
# their answers, so tests/shell/wine_choice_test.sh checks both answers on any
# machine. Only wine_runs_32bit and the session functions run anything.

# ---- decisions ----

# yes when Wine's 32-bit loader starts on this machine (a kernel without
# 32-bit support answers "Exec format error"), else no.
wine_runs_32bit() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo yes; else echo no; fi
}

# The tree the Windows tests run in, for the answer of wine_runs_32bit.
wine_arch_for() {
  if [ "$1" = yes ]; then echo win32; else echo win64; fi
}

wine_toolchain_for() {
  case $1 in
    win32) echo cmake/toolchain-i686-mingw.cmake ;;
    win64) echo cmake/toolchain-x86_64-mingw.cmake ;;
    *) return 1 ;;
  esac
}

wine_loader_for() {
  case $1 in
    win32) echo /usr/lib/wine/wine ;;
    win64) echo /usr/lib/wine/wine64 ;;
    *) return 1 ;;
  esac
}

# The server that belongs to the loader. /usr/bin/wineserver would pick the
# 64-bit one whenever it is installed, and a 64-bit server that finds no
# prefix makes a 64-bit one, which the 32-bit loader then refuses.
wine_server_for() {
  case $1 in
    win32) echo /usr/lib/wine/wineserver32 ;;
    win64) echo /usr/lib/wine/wineserver64 ;;
    *) return 1 ;;
  esac
}

# The folder whose setup.exe and update.exe the Windows tests start: the very
# files users get where they can run, else the 64-bit build of the same sources.
wine_programs_dir() {
  local arch=$1 root=$2
  case $arch in
    win32) echo "$root/dist" ;;
    win64) echo "$root/build/win64/bin" ;;
    *) return 1 ;;
  esac
}

# The line the test run prints before its closing line; "forced" when
# TARVEX_WINE_ARCH chose the 64-bit build.
wine_programs_line() {
  case $1 in
    win32) echo "Windows tests ran: the 32-bit deliverables in dist/" ;;
    win64)
      if [ "${2:-}" = forced ]; then
        echo "Windows tests ran: the 64-bit build in build/win64, as TARVEX_WINE_ARCH asked"
      else
        echo "Windows tests ran: the 64-bit build in build/win64, because this machine cannot run 32-bit programs"
      fi ;;
    *) return 1 ;;
  esac
}

# The architecture a prefix was made for, from the "#arch=" line of its
# system.reg: win32, win64, "unknown" (no such line), or "none" (no prefix).
wine_prefix_arch() {
  local reg=$1/system.reg line
  [ -f "$reg" ] || { echo none; return; }
  line=$(head -n 10 "$reg" | grep -m1 '^#arch=' || true)
  if [ -n "$line" ]; then echo "${line#\#arch=}"; else echo unknown; fi
}

# absent, match or mismatch, for a prefix and the tree's architecture.
wine_prefix_state() {
  local found
  found=$(wine_prefix_arch "$1")
  if [ "$found" = none ]; then echo absent
  elif [ "$found" = "$2" ]; then echo match
  else echo mismatch; fi
}

# TARVEX_WINE_ARCH=win64 runs the 64-bit build even where 32-bit programs
# run (to check that path on such a machine); win32 cannot be forced.
wine_test_arch() {
  if [ "${TARVEX_WINE_ARCH:-}" = win64 ]; then echo win64; else wine_arch_for "$(wine_runs_32bit)"; fi
}

# ---- actions ----

# Configures and builds the tree that the tests run in; prints its path.
wine_test_tree() {
  local arch=${1:-$(wine_test_arch)}
  cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$(wine_toolchain_for "$arch")" >/dev/null
  cmake --build "build/$arch" >&2
  echo "$PWD/build/$arch"
}

# Replaces the links that a new prefix makes from the user's Desktop,
# Documents and similar folders to the Linux home directory with real
# folders, so that nothing saved there leaves the prefix.
wine_prefix_sandbox() {
  local link
  for link in "$1"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
}

# Makes sure a prefix exists and is of the given architecture, making it
# with that architecture's loader when it is absent, unfinished or of the
# other kind. Runs inside wine-run, whose environment (prefix, loader,
# server, overrides, home) it uses; no persistent server may be up for it.
wine_prefix_prepare() {
  local prefix=$1 arch=$2 state
  state=$(wine_prefix_state "$prefix" "$arch")
  [ "$state" = match ] && return 0
  if [ "$state" = mismatch ]; then
    echo "wine: $prefix is a $(wine_prefix_arch "$prefix") prefix but this tree runs $arch programs: making a new one" >&2
  fi
  rm -rf "$prefix"
  mkdir -p "$prefix"
  WINEARCH=$arch "$(wine_loader_for "$arch")" wineboot -i </dev/null >/dev/null 2>&1
  # The registry reaches system.reg when the server ends.
  "$(wine_server_for "$arch")" -w >/dev/null 2>&1
  wine_prefix_sandbox "$prefix"
  [ "$(wine_prefix_state "$prefix" "$arch")" = match ] || {
    echo "wine: could not make a $arch prefix in $prefix" >&2
    return 1
  }
}

wine_session_start() {
  local tree=$1 arch=$2 server
  server=$(wine_server_for "$arch")
  export WINEPREFIX="$tree/wineprefix"
  unset DISPLAY
  mkdir -p "$WINEPREFIX"
  "$server" -k >/dev/null 2>&1 || true
  "$server" -w >/dev/null 2>&1 || true
  # The prefix is made by the tree's loader before a persistent server runs.
  "$tree/wine-run" --prepare </dev/null >/dev/null || return 1
  "$server" -p </dev/null >/dev/null 2>&1 || true
  # Starts the services now, with their streams on /dev/null: started later
  # under CTest they would inherit its pipes and the run would never end.
  "$tree/wine-run" wineboot </dev/null >/dev/null 2>&1 || true
  WINE_SESSION_PREFIX=$WINEPREFIX
  WINE_SESSION_SERVER=$server
}

wine_session_stop() {
  if [ -n "${WINE_SESSION_PREFIX:-}" ]; then
    WINEPREFIX=$WINE_SESSION_PREFIX "$WINE_SESSION_SERVER" -k >/dev/null 2>&1 || true
    WINE_SESSION_PREFIX=
  fi
}
