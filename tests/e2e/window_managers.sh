#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# window_managers.sh PROGRAM WM...: the built program under each window manager (a command, with its
# options) in an X server of its own: its frame centred on the work area (fluxbox never answers the
# frame request and KWin does not offer it; icewm has a taskbar; i3 places it itself), and a
# maximised or full-screen state, asked for as a pager or a key binding asks, taken back, the window
# where it was and at its size.
set -eu
program=$1
shift
source "$(dirname "$0")/x_clients.sh"
trap stop_all EXIT
# The window's frame as x y width height, from its client area and _NET_FRAME_EXTENTS; the client
# area under a window manager that tells no frame.
frame() {
    local x y w h l r t b
    read -r x y w h < <(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
    read -r l r t b < <(xprop -id "$window" _NET_FRAME_EXTENTS | tr -d ',' | awk '{print $3, $4, $5, $6}')
    if [ -z "$framed" ]; then
        echo "$x $y $w $h"
    else
        [ -n "$b" ] && echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
    fi
}
# The work area, or the whole screen where the window manager does not say (KWin).
work_area() {
    xprop -root _NET_WORKAREA | tr -d ',' | awk '/=/{print $3, $4, $5, $6; exit} {print 0, 0, 1024, 768}'
}
centred() {
    local fx fy fw fh ax ay aw ah
    read -r fx fy fw fh < <(frame) || return 1
    read -r ax ay aw ah < <(work_area)
    local dx=$((2 * fx + fw - 2 * ax - aw)) dy=$((2 * fy + fh - 2 * ay - ah))
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}

for wm in "$@"; do
    command -v "${wm%% *}" >/dev/null || { echo "Skipped: ${wm%% *} is not installed"; exit 77; }
    start_display
    # Ready once it says where windows may go. KWin and i3 never do, and are ready once they are
    # there; i3 tells no frame either, and centres a window of fixed size, floating, itself.
    ready="xprop -root _NET_WORKAREA 2>/dev/null | grep -q =" framed=yes
    there="xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'"
    case ${wm%% *} in
        kwin_x11) ready=$there ;;
        i3) ready=$there framed= ;;
    esac
    # Unquoted: the window manager's options are words of their own.
    start_client "$ready" "$wm did not take over the screen" $wm
    start_client 'window=$(xdotool search --onlyvisible --class korimo 2>/dev/null | head -1) && [ -n "$window" ]' \
        "no window under $wm" "$program"
    [ -z "$framed" ] || wait_for centred "the frame is not centred on the work area under $wm: $(frame)"
    placed=$(frame)
    for state in maximized_vert,maximized_horz fullscreen; do
        wmctrl -i -r "$window" -b "add,$state"
        sleep 1
        xprop -id "$window" _NET_WM_STATE | grep -qi -e MAXIMIZED -e FULLSCREEN && fail "$state kept under $wm"
        [ "$(frame)" = "$placed" ] || fail "$state moved or resized the window under $wm: $(frame), was $placed"
    done
    stop_all
    echo "$wm: frame $placed${framed:+, centred on the work area}; maximised and full screen taken back"
done
echo PASS
