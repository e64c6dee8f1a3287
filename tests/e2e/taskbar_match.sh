#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# taskbar_match.sh PROGRAM DESKTOP_ENTRY: on X11, a taskbar's matcher (bamf, which docks use) takes
# the program's window for the desktop entry's application, by the window's class and the entry's
# StartupWMClass alone: the program runs under another file name, so that its command cannot match
# the entry's Exec. Run inside a session bus of its own.
set -eu
program=$1 entry=$2
source "$(dirname "$0")/x_clients.sh"
work=$(mktemp -d)
trap 'stop_all; rm -rf "$work"' EXIT
mkdir -p "$work/share/applications" "$work/bin"
cp "$entry" "$work/share/applications/"
cp "$program" "$work/bin/game-under-test"
# bamf takes only entries whose program is installed: one by the entry's name, that is not this one.
ln -s "$(type -P true)" "$work/bin/korimo"
export XDG_DATA_DIRS=$work/share:/usr/share PATH=$work/bin:$PATH

start_display
start_client "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" "openbox did not start" openbox
# Up, its entries read, before the window opens.
start_client 'gdbus introspect --session --dest org.ayatana.bamf --object-path /org/ayatana/bamf/matcher >/dev/null 2>&1' \
    "bamf did not start" /usr/libexec/bamf/bamfdaemon
start_client 'window=$(xdotool search --onlyvisible --pid "${started[-1]}" 2>/dev/null | head -1) && [ -n "$window" ]' \
    "no window" "$work/bin/game-under-test"
bamf() { gdbus call --session --dest org.ayatana.bamf "$@" | sed -E "s/^\('(.*)',\)$/\1/"; }
wait_for 'application=$(bamf --object-path /org/ayatana/bamf/matcher \
    --method org.ayatana.bamf.matcher.ApplicationForXid "$window" 2>/dev/null) && [ -n "$application" ]' \
    "bamf knows no application for the window"
desktop_file=$(bamf --object-path "$application" --method org.ayatana.bamf.application.DesktopFile)
[ "$desktop_file" = "$work/share/applications/$(basename "$entry")" ] ||
    fail "the window ($(xprop -id "$window" WM_CLASS)) is matched to '$desktop_file', not $(basename "$entry")"
echo "PASS: the window, class $(xprop -id "$window" WM_CLASS | cut -d= -f2), is $(basename "$entry")'s"
