#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
source "$(dirname "$0")/scripts/setup.sh"
install_missing "${KORIMO_PACKAGES[@]}"
build_korimo
ctest --test-dir "$KORIMO_BUILD" --output-on-failure
"$KORIMO_ROOT/scripts/checked_runs.sh"
