#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds a release from scratch and makes the Debian package in
# build-package/: the same package, byte for byte, wherever and whenever it is built from the
# same sources (scripts/check_reproducible.sh checks that).
source "$(dirname "$0")/scripts/setup.sh"
KORIMO_BUILD="$KORIMO_ROOT/build-package"
install_missing "${KORIMO_PACKAGES[@]}" "${KORIMO_PACKAGING_PACKAGES[@]}"

# Every time stamp in the package (files, archives, the resources in the program) is the last
# commit's time, or without the repository's history, the latest changelog entry's.
source_date_epoch() {
    git -C "$KORIMO_ROOT" log -1 --format=%ct 2>/dev/null ||
        dpkg-parsechangelog -l "$KORIMO_ROOT/packaging/changelog" -S Timestamp
}
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(source_date_epoch)}"
# Files and folders as Debian's own package builds make them, whatever the caller's umask.
umask 022
# Nothing left from an earlier build (its options, or objects from other sources) gets in.
rm -rf "$KORIMO_BUILD"
build_korimo -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cpack --config "$KORIMO_BUILD/CPackConfig.cmake" -B "$KORIMO_BUILD"
echo "Install it with: sudo apt-get install $(ls "$KORIMO_BUILD"/korimo_*.deb)"
