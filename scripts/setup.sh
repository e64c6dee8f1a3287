# Installs what building and running Korimo needs, then builds it. Sourced by run.sh and test.sh.
# SPDX-License-Identifier: GPL-3.0-or-later
set -euo pipefail

KORIMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KORIMO_BUILD="${KORIMO_BUILD:-$KORIMO_ROOT/build}"

# Packages for building (libxcb1-dev and libxcb-damage0-dev for the end-to-end test), and the free
# fonts that stand in for the window's faces.
KORIMO_PACKAGES=(cmake ninja-build g++ qt6-base-dev libgl-dev libxcb1-dev libxcb-damage0-dev
                 fonts-arphic-uming fonts-liberation fonts-urw-base35)
# What cpack needs to build the Debian package and to find the libraries it depends on.
KORIMO_PACKAGING_PACKAGES=(dpkg-dev file)
# What the end-to-end test runs the program in and drives it with: an X server of its own, a
# window manager and a tool that types and clicks.
KORIMO_E2E_PACKAGES=(xvfb openbox xdotool)
# For the checked runs of the test suite: sanitizers and the fuzzer (clang), and valgrind.
KORIMO_CHECK_PACKAGES=(clang-14 libclang-rt-14-dev valgrind)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get -o DPkg::Lock::Timeout=600 update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
}

build_korimo() {
    cmake -S "$KORIMO_ROOT" -B "$KORIMO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$KORIMO_BUILD"
}
