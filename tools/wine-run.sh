#!/usr/bin/env bash
# Runs a Windows program under Wine in Saltor's prefix and exits with the program's status. ctest
# runs the Windows tests through it (CMAKE_CROSSCOMPILING_EMULATOR in the toolchain file).
#
#   tools/wine-run.sh PROGRAM.exe [ARGS...]
#
# The prefix is $SALTOR_WINEPREFIX, or build/win/wineprefix in this checkout; it is made on first
# use, so a bare `ctest` in build/win works too.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export SALTOR_WINEPREFIX=${SALTOR_WINEPREFIX:-$(dirname "$here")/build/win/wineprefix}
export WINEPREFIX=$SALTOR_WINEPREFIX
export WINEDEBUG=-all # also keeps Debian's wrapper quiet about the missing wine32

if [[ ! -f $WINEPREFIX/.saltor-stamp ]]; then
    "$here/wine-prefix.sh" >&2
fi
# The first Wine program of a session starts Wine's own services (explorer's desktop, services.exe,
# rpcss...), which inherit its stdout and stderr and live as long as the wineserver: under ctest
# they would hold the test's output pipe open, and ctest would wait for them until its timeout.
# Starting them here with /dev/null costs about 20 ms when they already run.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
exec wine "$@"
