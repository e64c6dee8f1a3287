#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check_setup.sh SETUP: what scripts/setup.sh asks of cmake, dpkg and apt, with all three shadowed
# by shell functions that note what they are given: nothing is installed, configured or built.
# build_korimo's own build type must come before the caller's arguments, so that package.sh's
# -DCMAKE_BUILD_TYPE=Release wins (cmake keeps the last), and it builds where KORIMO_BUILD says;
# install_missing installs what is missing, and only that; the root is the repository's wherever
# the script is sourced from.
export KORIMO_BUILD=/nowhere/build
source "$1"
wanted_build=/nowhere/build
status=0
failed() {
    echo "$*"
    status=1
}
cmake() {
    local previous= arg
    for arg; do
        case $arg in -DCMAKE_BUILD_TYPE=* | -DCMAKE_BUILD_TYPE:*) build_type=${arg#*=} ;; esac
        [ "$previous" != -B ] || build_dir=$arg
        previous=$arg
    done
}
# What dpkg says of a package it knows of but has not installed, as of any absent.
dpkg-query() { [ "${!#}" = present ] && echo "install ok installed" || echo "unknown ok not-installed"; }
as_root() { asked+=("$*"); }

# Sourced from a script in another folder, as test.sh and package.sh source it: the root is the
# repository's, and the build goes into its build/ unless KORIMO_BUILD says otherwise.
root=$(cd "$(dirname "$1")/.." && pwd)
[ "$KORIMO_ROOT" = "$root" ] || failed "sourced, setup.sh takes '$KORIMO_ROOT' for the root, not $root"
default_build=$(unset KORIMO_BUILD && source "$1" && echo "$KORIMO_BUILD")
[ "$default_build" = "$root/build" ] || failed "without KORIMO_BUILD, setup.sh builds in '$default_build'"

# The caller's arguments, then the build type cmake must end up with.
for row in "|RelWithDebInfo" "-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF|Release"; do
    read -ra args <<<"${row%|*}"
    build_type= build_dir=
    build_korimo "${args[@]}"
    [ "$build_type" = "${row#*|}" ] || failed "build_korimo ${args[*]}: cmake gets the build type '$build_type', not ${row#*|}"
    [ "$build_dir" = "$wanted_build" ] || failed "build_korimo ${args[*]}: builds in '$build_dir', not $wanted_build"
done

# The packages asked for, then the last thing asked of root, if anything.
for row in "present|" "present absent|install -y -q --no-install-recommends absent$"; do
    asked=()
    install_missing ${row%|*} >/dev/null
    last=
    [ ${#asked[@]} -eq 0 ] || last=${asked[-1]}
    if [ -z "${row#*|}" ]; then
        [ -z "$last" ] || failed "install_missing ${row%|*}: asked root for '$last' with nothing missing"
    elif ! [[ $last =~ ${row#*|} ]]; then
        failed "install_missing ${row%|*}: asked root for '$last'"
    fi
done
exit $status
