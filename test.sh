#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
source "$(dirname "$0")/scripts/setup.sh"
install_missing "${KORIMO_PACKAGES[@]}" "${KORIMO_E2E_PACKAGES[@]}" \
    "${KORIMO_PACKAGING_PACKAGES[@]}" desktop-file-utils appstream
build_korimo
ctest --test-dir "$KORIMO_BUILD" --output-on-failure
"$KORIMO_ROOT/scripts/checked_runs.sh"
