#!/usr/bin/env bash
# Runs a Windows program as on a screen of another display scale: in a copy of Saltor's prefix
# whose LogPixels is DPI (96 = 100 %, 192 = 200 %) and whose virtual desktop is 1600 x 1200, with
# a wineserver of its own that is stopped afterwards. The copy is made once per DPI, beside the
# prefix, and made anew when the prefix is.
#
#   tools/wine-dpi.sh DPI PROGRAM.exe [ARGS...]
#
# Wine reads LogPixels when its server starts, hence a prefix per scale rather than a registry
# change in the shared one. It needs an X display (make test-win gives ctest its Xvfb).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if (($# < 2)) || [[ ! $1 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 DPI PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
dpi=$1
shift
base=${SALTOR_WINEPREFIX:-$(dirname "$here")/build/win/wineprefix}
"$here/wine-prefix.sh"
export WINEDEBUG=-all
export WINEPREFIX=$base-$dpi
stamp="$(cat "$base/.saltor-stamp"), $dpi dpi, 1600x1200"

exec 9>"$WINEPREFIX.lock"
flock 9
if [[ "$(cat "$WINEPREFIX/.saltor-stamp" 2>/dev/null)" != "$stamp" ]]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    cp -a "$base" "$WINEPREFIX"
    rm -f "$WINEPREFIX/.saltor-stamp"
    reg=$WINEPREFIX.reg
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1600x1200"\n' \
        "$dpi" >"$reg"
    env -u DISPLAY wine regedit /S "$reg"
    wineserver -w
    rm -f "$reg"
    echo "$stamp" >"$WINEPREFIX/.saltor-stamp"
fi
flock -u 9
exec 9>&-

# As in wine-run.sh: Wine's services must not hold the caller's output open.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
wine "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit "$status"
