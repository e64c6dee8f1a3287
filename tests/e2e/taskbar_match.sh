#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# taskbar_match.sh PROGRAM DESKTOP_ENTRY: on X11, a taskbar's matcher (bamf, which docks use) takes
# the program's window for the desktop entry's application, by the window's class and the entry's
# StartupWMClass alone: the program runs under another file name, so that its command cannot match
# the entry's Exec. Run inside a session bus of its own.
set -eu
program=$1 entry=$2
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
start() {
    setsid "$@" >/dev/null 2>&1 &
    started+=($!)
}
# Polls for up to 10 s.
wait_for() {
    local tries=0
    until eval "$1"; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "$2"
        sleep 0.1
    done
}
mkdir -p "$work/share/applications" "$work/bin"
cp "$entry" "$work/share/applications/"
cp "$program" "$work/bin/game-under-test"
# bamf takes only entries whose program is installed: one by the entry's name, that is not this one.
ln -s "$(type -P true)" "$work/bin/korimo"
export XDG_DATA_DIRS=$work/share:/usr/share PATH=$work/bin:$PATH

exec {fd}<> <(:)
start Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp
read -r -t 10 number <&"$fd" || fail "Xvfb did not start"
export DISPLAY=:$number
start openbox
start /usr/libexec/bamf/bamfdaemon
# Up, its entries read, before the window opens.
wait_for 'gdbus introspect --session --dest org.ayatana.bamf --object-path /org/ayatana/bamf/matcher >/dev/null 2>&1' \
    "bamf did not start"
start "$work/bin/game-under-test"
wait_for 'window=$(xdotool search --onlyvisible --pid "${started[-1]}" 2>/dev/null | head -1) && [ -n "$window" ]' \
    "no window"
bamf() { gdbus call --session --dest org.ayatana.bamf "$@" | sed -E "s/^\('(.*)',\)$/\1/"; }
wait_for 'application=$(bamf --object-path /org/ayatana/bamf/matcher \
    --method org.ayatana.bamf.matcher.ApplicationForXid "$window" 2>/dev/null) && [ -n "$application" ]' \
    "bamf knows no application for the window"
desktop_file=$(bamf --object-path "$application" --method org.ayatana.bamf.application.DesktopFile)
[ "$desktop_file" = "$work/share/applications/$(basename "$entry")" ] ||
    fail "the window ($(xprop -id "$window" WM_CLASS)) is matched to '$desktop_file', not $(basename "$entry")"
echo "PASS: the window, class $(xprop -id "$window" WM_CLASS | cut -d= -f2), is $(basename "$entry")'s"
