#!/usr/bin/env bash
# The Wine decisions of scripts/wine-session.sh, fed both answers: which tree,
# toolchain, loader, server and programs a machine that can or cannot run
# 32-bit programs uses, and how a prefix of the wrong kind is recognised.
# Runs nothing under Wine.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-session.sh"
passed=0 failed=0
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then passed=$((passed + 1))
  else failed=$((failed + 1)); echo "FAIL $1: expected '$2', got '$3'"; fi
}

# answer  arch   toolchain                               loader                server                          programs
while read -r answer arch toolchain loader server programs; do
  check "arch for $answer" "$arch" "$(wine_arch_for "$answer")"
  check "toolchain for $arch" "$toolchain" "$(wine_toolchain_for "$arch")"
  check "loader for $arch" "$loader" "$(wine_loader_for "$arch")"
  check "server for $arch" "$server" "$(wine_server_for "$arch")"
  check "programs for $arch" "/r/$programs" "$(wine_programs_dir "$arch" /r)"
done <<'TABLE'
yes win32 cmake/toolchain-i686-mingw.cmake /usr/lib/wine/wine /usr/lib/wine/wineserver32 dist
no win64 cmake/toolchain-x86_64-mingw.cmake /usr/lib/wine/wine64 /usr/lib/wine/wineserver64 build/win64/bin
TABLE
check "line for win32" "Windows tests ran: the 32-bit deliverables in dist/" "$(wine_programs_line win32)"
check "line for win64" \
  "Windows tests ran: the 64-bit build in build/win64, because this machine cannot run 32-bit programs" \
  "$(wine_programs_line win64)"
check "line for a forced win64" \
  "Windows tests ran: the 64-bit build in build/win64, as TARVEX_WINE_ARCH asked" \
  "$(wine_programs_line win64 forced)"
# The toolchain files named exist.
for arch in win32 win64; do
  check "toolchain file for $arch" yes "$([ -f "$root/$(wine_toolchain_for "$arch")" ] && echo yes || echo no)"
done
# The 64-bit path can be forced; the 32-bit one cannot.
check "forced win64" win64 "$(TARVEX_WINE_ARCH=win64 wine_test_arch)"
wine_runs_32bit() { echo no; }
check "win32 cannot be forced" win64 "$(TARVEX_WINE_ARCH=win32 wine_test_arch)"
unset -f wine_runs_32bit
. "$root/scripts/wine-session.sh"
# An unknown architecture is refused, not mapped to a default.
wine_server_for win16 >/dev/null 2>&1; check "unknown arch refused" 1 $?

# A prefix's kind from its system.reg, against each tree.
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
reg() {  # reg DIR ARCHLINE: a prefix whose system.reg carries that line
  mkdir -p "$tmp/$1"
  printf 'WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n%s\n\n[Software] 1\n' "$2" \
    >"$tmp/$1/system.reg"
}
reg p32 '#arch=win32'; reg p64 '#arch=win64'; reg pold ''
mkdir -p "$tmp/unfinished/drive_c"  # a creation that never wrote its registry
while read -r prefix tree state; do
  check "$prefix for a $tree tree" "$state" "$(wine_prefix_state "$tmp/$prefix" "$tree")"
done <<'TABLE'
p32 win32 match
p32 win64 mismatch
p64 win32 mismatch
p64 win64 match
pold win32 mismatch
unfinished win32 absent
missing win64 absent
TABLE
check "arch of a 64-bit prefix" win64 "$(wine_prefix_arch "$tmp/p64")"

# The sandbox turns links out of a prefix into real, empty folders and
# leaves real folders and their contents alone.
user=$tmp/sandbox/drive_c/users/someone
mkdir -p "$user/AppData" "$tmp/outside"
touch "$user/AppData/keep"
ln -s "$tmp/outside" "$user/Desktop"; ln -s "$tmp/outside" "$user/Documents"
wine_prefix_sandbox "$tmp/sandbox"
for name in Desktop Documents; do
  check "$name is a real folder" yes "$([ -d "$user/$name" ] && [ ! -L "$user/$name" ] && echo yes || echo no)"
done
check "real folder kept" yes "$([ -f "$user/AppData/keep" ] && echo yes || echo no)"
touch "$user/Desktop/x.lnk"
check "nothing reaches the link's old target" "" "$(ls -A "$tmp/outside")"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
