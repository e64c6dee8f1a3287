#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# needs.sh TOOL... -- COMMAND...: runs COMMAND, or reports the test skipped (status 77) and why
# when a tool it needs is not installed, as in a distribution's build chroot.
while [ "$1" != -- ]; do
    command -v "$1" >/dev/null || { echo "Skipped: $1 is not installed"; exit 77; }
    shift
done
shift
exec "$@"
