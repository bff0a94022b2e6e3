#!/usr/bin/env bash
# Makes the Wine prefix that Saltor's Windows programs run in, and with a command after "--" runs
# that command with the prefix's wineserver kept up for it.
#
#   tools/wine-prefix.sh [--display | --xvfb] [-- COMMAND [ARGS...]]
#
# The prefix is $SALTOR_WINEPREFIX, or build/win/wineprefix in this checkout. It is made once; a
# stamp file holds the recipe's version and Wine's, so a change of either makes it anew.
# --display starts Xvfb for the command when DISPLAY is unset (for the game window and
# screenshots); --xvfb always gives the command an Xvfb of its own, so that the tests run on
# Wine's X11 driver, as players do, without showing a window on the developer's screen. Without
# either and with no DISPLAY, the null graphics driver stands in for X.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${SALTOR_WINEPREFIX:-$(dirname "$here")/build/win/wineprefix}
recipe=2 # bump when the steps below change

want_display=0
while (($# > 0)); do
    case $1 in
        --display) want_display=1 ;;
        --xvfb) want_display=2 ;;
        --) shift; break ;;
        *) echo "usage: $0 [--display | --xvfb] [-- COMMAND [ARGS...]]" >&2; exit 2 ;;
    esac
    shift
done

export WINEPREFIX=$prefix
export WINEDEBUG=-all # also keeps Debian's wrapper quiet about the missing wine32

make_prefix() {
    local log=$prefix.log
    echo "wine-prefix: making $prefix (log: $log)"
    if [[ -d $prefix ]]; then
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$prefix"
    fi
    # Without X (DISPLAY unset) nothing flashes on a developer's screen, and without mscoree and
    # mshtml wineboot does not offer to install Mono and Gecko, which the program does not use.
    if ! env -u DISPLAY WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot --init >"$log" 2>&1 ||
        ! wineserver -w; then
        cat "$log" >&2
        echo "wine-prefix: wineboot failed" >&2
        return 1
    fi
    # Debian's wine does not look in /usr/share/wine/fonts: without the copies, MS Shell Dlg has
    # no Tahoma and the caption buttons no Marlett.
    cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
    # Wine draws the frames itself on a virtual desktop (bare X with no window manager stalls
    # every hide for 2 s), and with the null driver windows work with no X at all. A crash prints
    # winedbg's backtrace and ends the program instead of waiting for a click on Wine's dialog.
    local reg=$prefix.reg
    cat >"$reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="x11,null"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
    env -u DISPLAY wine regedit /S "$reg"
    wineserver -w
    rm -f "$reg"
    if ! grep -qF '"Graphics"="x11,null"' "$prefix/user.reg"; then
        echo "wine-prefix: the registry settings did not take" >&2
        return 1
    fi
    echo "$stamp" >"$prefix/.saltor-stamp"
}

mkdir -p "$(dirname "$prefix")"
stamp="recipe $recipe, $(wine --version)"
# ctest may start several tests at once, each through wine-run.sh: one makes the prefix, the
# others wait for it.
exec 9>"$prefix.lock"
flock 9
if [[ "$(cat "$prefix/.saltor-stamp" 2>/dev/null)" != "$stamp" ]]; then
    make_prefix
fi
flock -u 9
exec 9>&-

(($# > 0)) || exit 0

xvfb_pid=
server_ours=0
# shellcheck disable=SC2317 # called through the trap
cleanup() {
    if ((server_ours)); then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if ((want_display == 2)) || { ((want_display)) && [[ -z ${DISPLAY:-} ]]; }; then
    displayfile=$(mktemp)
    # Xvfb picks a free display itself and writes its number to fd 5 once it accepts clients.
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$displayfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $displayfile ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ ! -s $displayfile ]]; then
        rm -f "$displayfile"
        echo "wine-prefix: Xvfb did not start" >&2
        exit 1
    fi
    DISPLAY=:$(tr -d '[:space:]' <"$displayfile")
    export DISPLAY
    rm -f "$displayfile"
    echo "wine-prefix: Xvfb on DISPLAY=$DISPLAY"
fi

# A server left running from another command has its desktop on another display (or none).
if ((want_display == 2)); then
    wineserver -k >/dev/null 2>&1 || true
fi

# A persistent server saves each Wine start about 2 s. Its output goes to /dev/null, or it would
# hold the caller's pipe open after the command ends. Exit status 2: one already runs for the
# prefix, so it is not ours to stop.
if wineserver -p 300 </dev/null >/dev/null 2>&1; then
    server_ours=1
fi

status=0
"$@" || status=$?
exit "$status"
