#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_build_type.sh SETUP: build_korimo's own build type must come before the caller's arguments,
# so that package.sh's -DCMAKE_BUILD_TYPE=Release wins (cmake keeps the last). cmake is a shell
# function here that keeps the build type it is given: nothing is configured or built.
source "$1"
cmake() {
    local arg
    for arg; do
        case $arg in -DCMAKE_BUILD_TYPE=* | -DCMAKE_BUILD_TYPE:*) build_type=${arg#*=} ;; esac
    done
}
# The caller's arguments, then the build type cmake must end up with.
rows=("|RelWithDebInfo"
      "-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF|Release")
status=0
for row in "${rows[@]}"; do
    read -ra args <<<"${row%|*}"
    build_type=
    build_korimo "${args[@]}"
    if [ "$build_type" != "${row#*|}" ]; then
        echo "build_korimo ${args[*]}: cmake gets the build type '$build_type', not ${row#*|}"
        status=1
    fi
done
exit $status
