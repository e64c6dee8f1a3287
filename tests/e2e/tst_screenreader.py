#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built program read the way a screen reader reads it: over the accessibility bus, in an X
server of its own, state by state, with the events that announce each change.

Run inside a session bus of its own: dbus-run-session -- tst_screenreader.py PROGRAM
"""
import contextlib
import os
import re
import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


class Pattern(str):
    """An item given as a regular expression."""


class Letters(Pattern):
    """An item that stands for `count` cells, each showing one capital letter."""

    def __new__(cls, count):
        return super().__new__(cls, r"label:[A-Z](?:\nlabel:[A-Z])" + count)


def line_of_text(name, letters):
    """The display row, one line of text named by the instruction above it."""
    return Pattern(re.escape(f"text:{name} text=") + f"[A-Z]{letters}")


def design_texts():
    """The window's texts, from the table of the design that the C++ tests share."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shared", "Design.h")
    with open(header, encoding="utf-8") as source:
        return dict(re.findall(r'inline const QString (\w+) = QStringLiteral\("(.*)"\);', source.read()))


def button(caption):
    """A button as a screen reader names it: without the spaces between its ideographs."""
    return "push button:" + caption.replace(" ", "")


TEXT = design_texts()
TITLE = "label:" + TEXT["title"]
BUTTONS = [button(TEXT["restartCaption"]), button(TEXT["exitCaption"])]
START = button(TEXT["startCaption"])
REPEAT = TEXT["repeatCaption"]
READY = TEXT["openingText"]
REVEAL = TEXT["revealText"]
ANSWER = TEXT["answerText"]
WRONG = TEXT["failedText"]
CORRECTION = TEXT["correctionCaption"]

# State, the keys that lead there from the state before, the window's children in order, and
# the texts whose arrival was announced on the way; in screen order, buttons in tab order.
STATES = [
    ("Ready", [], [TITLE, "label:" + READY, START, *BUTTONS], []),
    ("during the reveal", ["Return"], [TITLE, "label:" + REVEAL, line_of_text(REVEAL, "{1,2}"), START, *BUTTONS],
     [REVEAL]),
    ("answering", [], [TITLE, "label:" + ANSWER, line_of_text(ANSWER, "{0}"), START, *BUTTONS], [ANSWER]),
    ("Failed", ["wrong letter", "a", "a"], [TITLE, "label:" + WRONG, line_of_text(WRONG, "{3}"),
                                            "label:" + CORRECTION, Letters("{2}"), button(REPEAT), *BUTTONS],
     [WRONG, CORRECTION, REPEAT]),
]
CELL_ROWS = {100: "display", 220: "correction"}  # client top of each row of letter cells

processes = []
announced = []


def start(command, **options):
    # In a process group of its own, so that ending it ends what it started too.
    process = subprocess.Popen(command, start_new_session=True, **options)
    processes.append(process)
    return process


def start_display():
    read_end, write_end = os.pipe()
    start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
          pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    return ":" + os.read(read_end, 16).decode().strip()


def wait_for(what, condition, seconds=20, last=lambda: ""):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            result = condition()
        except GLib.GError:
            # A child went while the tree was read (the window remakes its line of text as it
            # turns editable or read-only): read it again.
            result = None
        if result:
            return result
        time.sleep(0.02)
    sys.exit(f"FAIL: timed out waiting for {what}{last()}")


def on_event(event):
    if event.type.startswith("object:text-changed:insert"):
        announced.append(event.any_data)
    elif event.type.startswith("object:property-change:accessible-name"):
        announced.append(event.source.get_name())
    elif event.type.startswith("object:children-changed:add") and event.any_data:
        announced.append(event.any_data.get_name())


def application_of(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(i)
        if application and application.get_process_id() == pid and application.get_child_count():
            return application


def launch(program, environment):
    # Xvfb may refuse a client that connects while others do: try the launch again.
    for _ in range(3):
        game = start([program], env=environment)
        application = wait_for("the program on the accessibility bus",
                               lambda: game.poll() is not None or application_of(game.pid))
        if game.poll() is None:
            return game, application.get_child_at_index(0)
    sys.exit("FAIL: the program did not start")


def described(child):
    """A child as a screen reader would name it: role and name, the text where it differs."""
    line = f"{child.get_role_name()}:{child.get_name()}"
    if "Text" in child.get_interfaces() and Atspi.Text.get_text(child, 0, -1) != child.get_name():
        line += " text=" + Atspi.Text.get_text(child, 0, -1)
    return line


def misplaced_cells(children, origin):
    """Letter cells that are not where the window draws them: cell i of a row at left 70i+20."""
    problems, next_in_row = [], {}
    for child in children:
        box = child.get_extents(Atspi.CoordType.SCREEN)
        if child.get_role_name() != "label" or (box.width, box.height) != (50, 50):
            continue
        row = CELL_ROWS.get(box.y - origin[1])
        index = next_in_row.get(row, 0)
        next_in_row[row] = index + 1
        if row is None or box.x - origin[0] != 70 * index + 20:
            problems.append(f"{described(child)} at {box.x - origin[0]},{box.y - origin[1]}")
    return problems


def window_origin(display, pid):
    environment = dict(os.environ, DISPLAY=display)
    window = subprocess.check_output(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid)],
                                     env=environment, text=True).split()[0]
    shell = subprocess.check_output(["xdotool", "getwindowgeometry", "--shell", window], env=environment, text=True)
    geometry = dict(line.split("=") for line in shell.split())
    return window, (int(geometry["X"]), int(geometry["Y"]), int(geometry["WIDTH"]), int(geometry["HEIGHT"]))


def main():
    program = sys.argv[1]
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    display = start_display()
    listener = Atspi.EventListener.new(on_event)
    for event in ["object:text-changed:insert", "object:property-change:accessible-name", "object:children-changed:add"]:
        listener.register(event)
    environment = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    environment.pop("WAYLAND_DISPLAY", None)
    game, frame = launch(program, environment)
    window, geometry = window_origin(display, game.pid)
    box = frame.get_extents(Atspi.CoordType.SCREEN)
    failures = []
    if (frame.get_role_name(), frame.get_name()) != ("frame", "Korimo"):
        failures.append(f"window: {frame.get_role_name()} {frame.get_name()!r}")
    if (box.x, box.y, box.width, box.height) != geometry:
        failures.append(f"window at {box.x, box.y, box.width, box.height}, X says {geometry}")
    subprocess.run(["xdotool", "windowfocus", "--sync", window], env=environment, check=True)

    first_letter = None
    for state, keys, expected, announcements in STATES:
        del announced[:]
        for key in keys:
            if key == "wrong letter":  # a letter other than the first one shown
                key = chr((ord(first_letter) - ord("A") + 1) % 26 + ord("a"))
            subprocess.run(["xdotool", "key", key], env=environment, check=True)
        pattern = re.compile("\n".join(item if isinstance(item, Pattern) else re.escape(item) for item in expected))

        last_seen = []

        def settled():
            children = [frame.get_child_at_index(i) for i in range(frame.get_child_count())]
            last_seen[:] = ["\n".join(described(child) for child in children)]
            if pattern.fullmatch(last_seen[0]) and set(announcements) <= set(announced):
                return last_seen[0], children

        seen, children = wait_for(f"{state}: {expected} and announcements of {announcements}", settled,
                                  last=lambda: f"; saw {last_seen} and announcements of {announced}")
        if first_letter is None and state == "during the reveal":
            first_letter = seen.split("\n")[2].split("text=")[1][0]
        failures += [f"{state}: {problem}" for problem in misplaced_cells(children, geometry)]
        print(f"{state}: {seen!r}; announced {announced}")
    correction = [line.removeprefix("label:") for line in seen.split("\n")[4:7]]
    if correction[0] != first_letter:
        failures.append(f"correction row {correction} does not start with the letter shown first, {first_letter}")
    if failures:
        sys.exit("FAIL: " + "; ".join(failures))
    print("PASS")


def stop_all():
    for process in reversed(processes):
        # A group whose processes all ended is gone: the others are still ended.
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, signal.SIGKILL)
        process.wait()


if __name__ == "__main__":
    try:
        main()
    finally:
        stop_all()
