#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package twice, with package.sh, from two copies of this tree that differ in
# all a rebuild must not depend on: the folder, the files' time stamps, the umask, the time zone,
# the locale and the compiler cache. The two packages must match byte for byte; where they do
# not, diffoscope shows where. Both packages, the build logs and the report stay in
# build-reproducible/.
source "$(dirname "$0")/setup.sh"
OUT="$KORIMO_ROOT/build-reproducible"

# The files the repository tracks or would track, as they stand now (a file deleted but not yet
# committed is reported and left out), in a clone, so that the package takes its time stamp from
# the last commit as it does for anyone; without a repository, all but the build folders.
copy_tree() {
    local to=$1
    if git -C "$KORIMO_ROOT" rev-parse --git-dir >/dev/null 2>&1; then
        git clone -q --no-checkout "$KORIMO_ROOT" "$to"
        git -C "$KORIMO_ROOT" ls-files -z --cached --others --exclude-standard |
            tar -C "$KORIMO_ROOT" --null -T - --ignore-failed-read -cf - | tar -C "$to" --no-same-permissions -xf -
    else
        mkdir -p "$to"
        tar -C "$KORIMO_ROOT" --exclude='./build*' -cf - . | tar -C "$to" --no-same-permissions -xf -
    fi
}

# Makes the package in the copy of the tree, with the given environment.
package_in() {
    local tree=$1 name=$2
    shift 2
    if ! env "$@" "$tree/package.sh" >"$OUT/$name.log" 2>&1; then
        tail -n 40 "$OUT/$name.log"
        return 1
    fi
    cp "$tree"/build-package/korimo_*.deb "$OUT/$name.deb"
}

compare() {
    if cmp "$OUT/first.deb" "$OUT/second.deb"; then
        echo "The two packages are the same: $(sha256sum "$OUT/first.deb" | cut -d' ' -f1)"
        return 0
    fi
    if command -v diffoscope >/dev/null; then
        diffoscope --no-progress --text "$OUT/diffoscope.txt" "$OUT/first.deb" \
            "$OUT/second.deb" || true
        head -c 20000 "$OUT/diffoscope.txt"
        echo "(the whole report: $OUT/diffoscope.txt)"
    else
        echo "Install diffoscope to see where they differ."
    fi
    return 1
}

rm -rf "$OUT"
mkdir -p "$OUT"
second=$(mktemp -d)
trap 'rm -rf "$second"' EXIT

# The first as a developer builds: in a folder of the tree's own, with the compiler cache if set up.
(
    umask 022
    copy_tree "$OUT/tree"
    package_in "$OUT/tree" first TZ=UTC LC_ALL=C.UTF-8
)
# The second elsewhere, from files last changed years earlier and readable by their owner alone,
# in another time zone and locale, with every object compiled anew.
(
    umask 077
    copy_tree "$second/korimo"
    find "$second/korimo" -path "$second/korimo/.git" -prune -o -exec touch -h -d @1000000000 {} +
    package_in "$second/korimo" second -u CMAKE_CXX_COMPILER_LAUNCHER TZ=Asia/Shanghai LC_ALL=C
)
compare
