#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# wayland_smoke.sh PROGRAM QT_PLUGIN_DIR SHOT_DIR ERROR_PROGRAM: the built program on Qt's Wayland
# plugin under a real compositor (sway, headless): it opens at its size, Enter starts a step whose
# letters appear, a typed answer is judged, and the compositor's close request ends it with status
# 0; a window whose timer raises a run-time error ends with status 1 once its report is closed.
# sway refuses to run as root, so as root both run as nobody, from a copy of the program.
set -eu
umask 022 # the unprivileged user reads what the test writes
program=$1 plugins=$2 shots=$3 error_program=$4
[ -e "$plugins/platforms/libqwayland-generic.so" ] || { echo "Skipped: Qt's Wayland plugin is not installed"; exit 77; }

work=$(mktemp -d) && chmod 755 "$work" && mkdir -m 700 "$work/run" && cp "$program" "$work/korimo" && cp "$error_program" "$work/error_window"
# A plain command, not a function, so that $! below is the compositor's or the program's own id.
user="env -i PATH=$PATH HOME=$work/run XDG_RUNTIME_DIR=$work/run SWAYSOCK=$work/run/sway.sock WAYLAND_DISPLAY=wayland-1"
[ "$(id -u)" -ne 0 ] || { user="setpriv --reuid=nobody --regid=nogroup --clear-groups $user"; chown nobody "$work/run"; }
cleanup() {
    kill ${game:-} "$sway" 2>/dev/null || true
    mkdir -p "$shots" && cp "$work"/sway.log "$work"/run/*.log "$work"/run/*.png "$shots/" 2>/dev/null || true
    rm -rf "$work"
}
echo 'output * resolution 1024x768' >"$work/sway.conf"
$user WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/sway.conf" \
    >"$work/sway.log" 2>&1 &
sway=$!
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
# Polls for up to 10 s: the compositor and the program run on their own clocks.
wait_for() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "$2"
        sleep 0.1
    done
}
# How many pixels of colour $5 (hex) the rectangle $1,$2 $3x$4 of the window shows.
count() { $user grim -g "$((x + $1)),$((y + $2)) $3x$4" -t ppm - | tail -c $(($3 * $4 * 3)) | od -An -v -tx1 -w3 | grep -c " $5" || true; }
shown() { [ "$(count "$1" "$2" 1 1 'ff ff ff')" = 1 ]; } # the white box of a cell, at its corner
# wtype loses its first key after its new keymap reaches the program: a Shift goes first.
press() { $user wtype -k Shift_L -s 100 "$@"; }
shot() { $user grim "$work/run/$1.png"; }

wait_for "$user swaymsg -t get_version >/dev/null 2>&1" "sway did not start (its log: $shots/sway.log)"
$user QT_QPA_PLATFORM=wayland "$work/korimo" >"$work/run/korimo.log" 2>&1 &
game=$!
# Wayland lets no client place its window: sway floats a fixed-size one in the middle. The
# app_id is the desktop entry's name, through which the compositor finds the icon.
window='.. | select(.app_id? == "org.korimo.Korimo")'
wait_for '[ -n "$($user swaymsg -t get_tree | jq "$window")" ]' "no window with the app_id org.korimo.Korimo"
set -- $($user swaymsg -t get_tree | jq -r "$window"' | "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width)x\(.window_rect.height) \(.type)"')
x=$1 y=$2
[ "$3 $4" = "692x361 floating_con" ] || fail "the window is $3, $4, not 692x361 and floating"
wait_for '[ "$(count 300 200 1 1 "ff ff c0")" = 1 ]' "the window was not painted"
shot opening

press -k Return
wait_for 'shown 24 104 && shown 164 104' "Enter on Start did not show three cells"
[ "$(count 24 104 44 44 'c0 00 c0')" -gt 20 ] || fail "cell 0 shows no magenta letter"
shot letters
wait_for '[ "$(count 24 104 44 44 "c0 00 c0")" = 0 ]' "the letters were not blanked"

press xyz
# Judged: wrong shows the correct letters under the answer, right starts a step of four.
wait_for 'shown 24 224 || shown 234 104' "the answer was not judged"
shot judged

$user swaymsg "[app_id=org.korimo.Korimo] kill" >/dev/null
wait_for '! kill -0 "$game" 2>/dev/null' "the program did not end on the close request"
status=0
wait "$game" || status=$?
[ "$status" = 0 ] || fail "the close request ended the program with status $status: $(cat "$work/run/korimo.log")"

$user QT_QPA_PLATFORM=wayland "$work/error_window" >"$work/run/error_window.log" 2>&1 &
game=$!
# The report is a window of its own, on top of the one whose timer failed.
wait_for '[ "$($user swaymsg -t get_tree | jq "[.. | select(.app_id? == \"error_window\")] | length")" = 2 ]' \
    "the run-time error was not reported"
$user swaymsg "[app_id=error_window] focus; kill" >/dev/null
wait_for '! kill -0 "$game" 2>/dev/null' "the program did not end once its error's report was closed"
status=0
wait "$game" || status=$?
[ "$status" = 1 ] || fail "a run-time error ended the program with status $status"
echo "PASS: opened at 692x361, presented, judged and closed with status 0 under sway; a run-time error ended with 1"
