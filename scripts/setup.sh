# Installs what building and running Korimo needs, then builds it. Sourced by run.sh and test.sh.
# SPDX-License-Identifier: GPL-3.0-or-later
set -euo pipefail

KORIMO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KORIMO_BUILD="${KORIMO_BUILD:-$KORIMO_ROOT/build}"

# Packages for building (Qt's private headers, and FreeType's, to switch accessibility on and to
# read what a face has rendered in tests; libxcb1-dev and libxcb-damage0-dev for the end-to-end
# test; libwayland's headers, for the requests the program keeps to itself on Wayland;
# speech-dispatcher's library, to speak to a screen reader's user), the free fonts that stand in
# for the window's faces, and Qt's Wayland plugin, so that a Wayland desktop shows the window
# natively.
KORIMO_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-private-dev libgl-dev libxcb1-dev libxcb-damage0-dev
                 libfreetype-dev libwayland-dev libspeechd-dev
                 fonts-arphic-uming fonts-liberation fonts-urw-base35 qt6-wayland)
# What cpack needs to build the Debian package and to find the libraries it depends on.
KORIMO_PACKAGING_PACKAGES=(dpkg-dev file)
# What the end-to-end tests run the program in and drive it with: an X server of its own, window
# managers, a tool that types and clicks and tools that read and set window properties; a Wayland
# compositor, its typing and screenshot tools, and jq to read the compositor's window tree; KWin
# with its title bars; i3; the matcher docks use to tell a window's desktop entry; mutter, as an X11
# window manager and nested as a Wayland compositor, and weston, both leaving the title bar to the
# program; and for reading it as a screen reader does, a session bus, the accessibility bus and its
# Python bindings; to hear it as a blind player does, the screen reader and the speech server with
# its voice; and to feel it as a deaf-blind player does, BRLTTY, whose virtual driver the test plays
# as a braille display.
KORIMO_E2E_PACKAGES=(xvfb openbox fluxbox icewm mutter weston kwin-x11 breeze i3-wm bamfdaemon xdotool x11-utils wmctrl sway wtype grim jq dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
                     orca speech-dispatcher speech-dispatcher-espeak-ng brltty)
# For the checked runs of the test suite: sanitizers and the fuzzer (clang), valgrind, and what
# shows where two builds of the package differ.
KORIMO_CHECK_PACKAGES=(clang-14 libclang-rt-14-dev valgrind diffoscope-minimal)

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

# Configures (the arguments go to cmake) and builds KORIMO_TARGET, or everything.
build_korimo() {
    cmake -S "$KORIMO_ROOT" -B "$KORIMO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$KORIMO_BUILD" ${KORIMO_TARGET:+--target "$KORIMO_TARGET"}
}
