#!/usr/bin/env bash
# Runs a Windows program under Wine in its build's own prefix (never ~/.wine), with the
# loader of the build's bitness.
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/wine-arch.sh"
build="${ZENDLE_BUILD:-$here/build}"
# A program named by path belongs to the build folder above it.
if [ -f "$1" ]; then
    dir=$(cd "$(dirname "$1")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ -f "$dir/CMakeCache.txt" ] && build=$dir
fi
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
use_wine_arch "$(wine_arch_of "$build")"
# Wine processes that a program starts (the desktop, services) inherit its output and may
# outlive it by many seconds: a reader of a pipe, CTest among them, would wait for them.
# The output goes to a file instead and is printed once the program has ended.
log=$(mktemp)
wine "$@" >"$log" 2>&1
rc=$?
cat "$log"
rm -f "$log"
exit $rc
