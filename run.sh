#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the game alone (./test.sh builds the tests) and opens it.
source "$(dirname "$0")/scripts/setup.sh"
install_missing "${KORIMO_PACKAGES[@]}"
KORIMO_TARGET=korimo build_korimo
echo "Built $KORIMO_BUILD/app/korimo"
exec "$KORIMO_BUILD/app/korimo" "$@"
