#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs the whole test suite.
source "$(dirname "$0")/scripts/setup.sh"
install_missing "${KORIMO_PACKAGES[@]}" "${KORIMO_E2E_PACKAGES[@]}" \
    "${KORIMO_PACKAGING_PACKAGES[@]}" desktop-file-utils appstream lintian clang-format
# The sources must stand as clang-format writes them.
(cd "$KORIMO_ROOT" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror)
build_korimo
ctest --test-dir "$KORIMO_BUILD" --output-on-failure
"$KORIMO_ROOT/scripts/checked_runs.sh"
