#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built program on Qt's Wayland plugin under compositors that draw no title bar (mutter, weston),
so that Qt draws its own, maximise box included: clicking that box leaves the window where it was,
at its size, its title bar as it was and the game playing. Each compositor runs nested in an Xvfb of
the test's own, whose framebuffer file the test reads and whose pointer and keys reach it.

Run inside a session bus of its own: dbus-run-session -- wayland_title_bar.py PROGRAM COMPOSITOR...
"""
import contextlib
import os
import pathlib
import signal
import struct
import subprocess
import sys
import tempfile
import time

SOCKET = "wayland-test"
COMPOSITORS = {
    "mutter": ["mutter", "--nested", "--wayland", "--no-x11", "--wayland-display=" + SOCKET],
    "weston": ["weston", "--backend=x11-backend.so", "--use-pixman", "--socket=" + SOCKET, "--width=800", "--height=600"],
}
BACKGROUND = (255, 255, 192)
CLIENT_SIZE = (692, 361)
# Qt's title bar: its maximise box from the client area's top-right corner.
MAXIMISE_BOX = (-36, -15)
processes = []


def start(command, **options):
    processes.append(subprocess.Popen(command, start_new_session=True, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, **options))
    return processes[-1]


def wait_for(what, condition, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    sys.exit(f"FAIL: timed out waiting for {what}")


def screen(framebuffer):
    """The X server's screen as rows of 32-bit pixels (blue, green, red, unused), from its XWD
    framebuffer file."""
    data = framebuffer.read_bytes()
    header = struct.unpack(">25I", data[:100])
    header_size, height, bytes_per_line, colours = header[0], header[5], header[12], header[19]
    start = header_size + 12 * colours
    return [data[start + y * bytes_per_line:start + (y + 1) * bytes_per_line] for y in range(height)]


def background_only(row, left, right):
    """Whether pixels left to right (excluded) of a row all show the background."""
    pixels = row[4 * left:4 * right]
    return all(pixels[i::4] == bytes([BACKGROUND[2 - i]]) * (right - left) for i in range(3))


def client_area(rows):
    """Left, top, width and height of the background's bounding box, if it shows."""
    colour = bytes(reversed(BACKGROUND))
    spans = []
    for y, row in enumerate(rows):
        found = [x // 4 for x in range(row.find(colour), row.rfind(colour) + 1, 4) if row.find(colour) % 4 == 0]
        if found:
            spans.append((y, found[0], found[-1]))
    if not spans:
        return None
    left, right = min(x for _, x, _ in spans), max(x for _, _, x in spans)
    return left, spans[0][0], right - left + 1, spans[-1][0] - spans[0][0] + 1


def title_bar(rows, area):
    x, y, width, _ = area
    return [row[4 * x:4 * (x + width)] for row in rows[y - 30:y]]


def xdotool(environment, *arguments):
    subprocess.run(["xdotool", *arguments], env=environment, check=True)


def point_at(environment, x, y):
    """Moves the pointer there by leaving mutter's window and entering it there: the nested
    compositor hears of the pointer as it enters, not of a pointer moved within its window."""
    xdotool(environment, "mousemove", "1020", "760")
    time.sleep(0.2)
    xdotool(environment, "mousemove", str(x), str(y))
    time.sleep(0.5)


def mutter_ready():
    # Its screens configured: a window mapped sooner can be placed before them.
    return subprocess.run(["gdbus", "introspect", "--session", "--dest", "org.gnome.Mutter.DisplayConfig",
                           "--object-path", "/org/gnome/Mutter/DisplayConfig"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def play(program, compositor):
    with tempfile.TemporaryDirectory() as root:
        runtime = pathlib.Path(root, "run")
        runtime.mkdir(mode=0o700)
        read_end, write_end = os.pipe()
        start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-fbdir", root,
               "-nolisten", "tcp"], pass_fds=[write_end])
        os.close(write_end)
        environment = dict(os.environ, DISPLAY=":" + os.read(read_end, 16).decode().strip(),
                           XDG_RUNTIME_DIR=str(runtime))
        try:
            start(COMPOSITORS[compositor], env=environment)
            wait_for(f"{compositor}'s Wayland socket", (runtime / SOCKET).exists)
            if compositor == "mutter":
                wait_for("mutter on the session bus", mutter_ready)
            game = start([program], env=dict(environment, QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=SOCKET))
            framebuffer = pathlib.Path(root, "Xvfb_screen0")
            area = wait_for("the window", lambda: (lambda a: a if a and a[2:] == CLIENT_SIZE else None)(
                client_area(screen(framebuffer))))
            # The pointer rests on the background, away from the title bar and the cells.
            point_at(environment, area[0] + 600, area[1] + 200)
            before = title_bar(screen(framebuffer), area)
            point_at(environment, area[0] + area[2] + MAXIMISE_BOX[0], area[1] + MAXIMISE_BOX[1])
            xdotool(environment, "click", "1")
            time.sleep(1.5)
            point_at(environment, area[0] + 600, area[1] + 200)
            rows = screen(framebuffer)
            if game.poll() is not None:
                sys.exit(f"FAIL: under {compositor} the game ended with status {game.returncode} when maximised")
            if client_area(rows) != area:
                sys.exit(f"FAIL: maximised under {compositor}, the client area went from {area} to {client_area(rows)}")
            if title_bar(rows, area) != before:
                sys.exit(f"FAIL: under {compositor} the title bar changed (a restore box where the maximise box was)")
            # Still playing: Enter starts a step, whose first letter leaves the background.
            xdotool(environment, "key", "Return")
            wait_for("a letter shown", lambda: not all(
                background_only(row, area[0] + 20, area[0] + 70) for row in screen(framebuffer)[area[1] + 100:area[1] + 150]))
        finally:
            for process in reversed(processes):
                with contextlib.suppress(ProcessLookupError):  # a game that ended took its group along
                    os.killpg(process.pid, signal.SIGKILL)
                process.wait()
            processes.clear()
    print(f"{compositor}: window {area} kept, title bar unchanged, a step started")


def main():
    for compositor in sys.argv[2:]:
        play(sys.argv[1], compositor)
    print("PASS")

if __name__ == "__main__":
    main()
