#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and opens the game.
source "$(dirname "$0")/scripts/setup.sh"
install_missing "${KORIMO_PACKAGES[@]}"
build_korimo
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built $KORIMO_BUILD/app/korimo, but there is no display to open it on (DISPLAY is not set)." >&2
    exit 1
fi
exec "$KORIMO_BUILD/app/korimo"
