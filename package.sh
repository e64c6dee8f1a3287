#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds a release and makes the Debian package in build-package/.
source "$(dirname "$0")/scripts/setup.sh"
KORIMO_BUILD="$KORIMO_ROOT/build-package"
install_missing "${KORIMO_PACKAGES[@]}" "${KORIMO_PACKAGING_PACKAGES[@]}"
build_korimo -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
rm -f "$KORIMO_BUILD"/korimo_*.deb
cpack --config "$KORIMO_BUILD/CPackConfig.cmake" -B "$KORIMO_BUILD"
echo "Install it with: sudo apt-get install $(ls "$KORIMO_BUILD"/korimo_*.deb)"
