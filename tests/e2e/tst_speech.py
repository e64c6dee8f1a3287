#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built program played with a screen reader running: one wrong step and one right step under
Orca, judged by what reached the speech server, as its own log records it, against the moments the
window showed each change (its display row read over the accessibility bus).

Run inside a session bus of its own: dbus-run-session -- tst_speech.py PROGRAM
"""
import functools
import html
import os
import pathlib
import re
import signal
import subprocess
import sys
import tempfile
import time

import tst_screenreader as reader
from tst_screenreader import ANSWER, CORRECTION, REPEAT, TEXT, WRONG

SPEECHD_CONF = """LogLevel 5
LogDir "default"
AudioOutputMethod "libao"
AudioLibaoDriver "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
"""
# How Orca speaks a focused button: its name, without the spaces between ideographs, and its role.
START_SPOKEN = TEXT["startCaption"].replace(" ", "") + " push button"
REPEAT_SPOKEN = REPEAT + " push button"
# Orca stalls after a few utterances trying to reach a braille display that is not there.
ORCA_CUSTOMIZATIONS = "import orca.settings\norca.settings.enableBraille = False\n"
STAMPED = re.compile(r"^\[\w+ (\w+ +\d+ [\d:]+ \d+) : (\d+)\] speechd: +(.*)")
QUEUED = re.compile(r"Queueing message \|(.*)\| with priority")


def private_home(root):
    """A home and a runtime folder of the test's own: speech-dispatcher starts on demand per
    runtime folder, with the settings of the home it finds."""
    home, runtime = root / "home", root / "run"
    (home / ".config/speech-dispatcher").mkdir(parents=True)
    (home / ".config/speech-dispatcher/speechd.conf").write_text(SPEECHD_CONF)
    (home / ".local/share/orca").mkdir(parents=True)
    (home / ".local/share/orca/orca-customizations.py").write_text(ORCA_CUSTOMIZATIONS)
    runtime.mkdir(mode=0o700)
    return {"HOME": str(home), "XDG_RUNTIME_DIR": str(runtime)}


def speech_server_file(environment, name):
    return pathlib.Path(environment["XDG_RUNTIME_DIR"]) / "speech-dispatcher" / name


@functools.lru_cache(maxsize=None)
def second_of(stamp):
    return time.mktime(time.strptime(stamp, "%b %d %H:%M:%S %Y"))


def queued(environment):
    """Every text that reached the speech server, as (wall-clock time, text without markup)."""
    try:
        lines = speech_server_file(environment, "log/speech-dispatcher.log").read_text(errors="replace").splitlines()
    except FileNotFoundError:
        return []
    messages = []
    last = 0
    for line in lines:
        stamp = STAMPED.match(line)
        if not stamp:
            continue
        # The server stamps the second from a coarse clock and the microseconds from a fine one:
        # just after a second begins, a line can bear the second before, a second too early.
        at = second_of(stamp[1]) + int(stamp[2]) / 1e6
        if at < last - 0.5:
            at += 1
        last = at
        queued = QUEUED.match(stamp[3])
        if queued:
            messages.append((at, html.unescape(re.sub("<[^>]*>", "", queued[1])).strip()))
    return messages


def end_speech_server(environment):
    pid_file = speech_server_file(environment, "pid/speech-dispatcher.pid")
    if not pid_file.exists():
        return
    pid = int(pid_file.read_text())
    os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + 3
    while time.monotonic() < deadline and pathlib.Path(f"/proc/{pid}").exists():
        time.sleep(0.05)
    if pathlib.Path(f"/proc/{pid}").exists():
        os.kill(pid, signal.SIGKILL)


def start_orca(environment):
    # Xvfb may refuse a client that connects while others do: try the launch again.
    for _ in range(3):
        orca = reader.start(["orca", "--replace"], env=environment, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
        reader.wait_for("Orca's first words", lambda: orca.poll() is not None or queued(environment), seconds=40)
        if orca.poll() is None:
            return
    sys.exit("FAIL: Orca did not start")


def display_row(frame):
    """The display row's text as the window shows it, or None while the window lists no row."""
    for i in range(frame.get_child_count()):
        child = frame.get_child_at_index(i)
        if child and child.get_role_name() == "text":
            return reader.Atspi.Text.get_text(child, 0, -1)
    return None


class Window:
    """The display row followed over the accessibility bus: when each letter came and when the
    letters went. A change is dated by the last look that did not see it yet, so that it happened
    after that moment whenever the test itself is held up."""

    def __init__(self, frame):
        self.frame = frame
        self.shown = []  # (time, letter) as each letter appeared during a reveal
        self.blanked = None

    def reveal(self, count):
        # Counted from what the row shows now: typed letters are no reveal.
        self.shown, self.blanked, last = [], None, display_row(self.frame) or ""
        looked = time.time()

        def blanked():
            nonlocal last, looked
            now = time.time()
            text = display_row(self.frame) or ""
            if len(text) > len(last) and len(self.shown) < count:
                self.shown += [(looked, letter) for letter in text[len(last):]]
            elif len(self.shown) == count and not text:
                self.blanked = looked
            last, looked = text, now
            return self.blanked

        reader.wait_for(f"{count} letters shown and blanked", blanked, seconds=30,
                        last=lambda: f"; saw {self.shown}")
        return "".join(letter for _, letter in self.shown)


def after(messages, moment):
    return [(at, text) for at, text in messages if at >= moment]


def check_reveal(messages, window, since, failures):
    """Each letter in its own utterance, once, after it was shown and before the next one was; none
    after the row was blanked."""
    letters = [(at, text) for at, text in after(messages, since) if re.fullmatch("[A-Z]", text)]
    expected = "".join(letter for _, letter in window.shown)
    spoken = "".join(text for at, text in letters if at < window.blanked + 1)
    if spoken != expected:
        failures.append(f"letters spoken {spoken!r}, shown {expected!r}")
        return
    bounds = [at for at, _ in window.shown[1:]] + [window.blanked]
    for (at, letter), (shown_at, _), next_at in zip(letters, window.shown, bounds):
        if not shown_at <= at < next_at:
            failures.append(f"{letter} spoken at {at - since:.3f} s, shown {shown_at - since:.3f} s, "
                            f"next change {next_at - since:.3f} s")


def spoken_after(environment, moment, what, condition, seconds=20):
    reader.wait_for(what, lambda: any(condition(text) for _, text in after(queued(environment), moment)),
                    seconds, last=lambda: f"; heard {[text for _, text in after(queued(environment), moment)]}")
    return next(at for at, text in after(queued(environment), moment) if condition(text))


def open_window(environment):
    """Waits until the reader has told the window's focused button. On a busy machine the window
    may take the focus before the reader listens: then the focus goes to the next button and back."""
    for _ in range(3):
        try:
            return spoken_after(environment, 0, "the focused button", lambda text: text.startswith(START_SPOKEN),
                                seconds=10)
        except SystemExit:
            press(environment, "Tab", "shift+Tab")
    sys.exit("FAIL: the focused button was not spoken")


def press(environment, *keys):
    subprocess.run(["xdotool", "key", "--delay", "150", *keys], env=environment, check=True)


def play(program, environment, failures):
    reader.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=environment)
    environment["DISPLAY"] = reader.start_display()
    reader.start(["openbox"], env=environment, stderr=subprocess.DEVNULL)
    start_orca(environment)
    game, frame = reader.launch(program, dict(environment, QT_QPA_PLATFORM="xcb"))
    window = Window(frame)
    opened = time.time()
    open_window(environment)

    # The wrong step.
    begun = time.time()
    press(environment, "Return")
    letters = window.reveal(3)
    check_reveal(queued(environment), window, begun, failures)
    awaited = spoken_after(environment, window.blanked, "the answer awaited", lambda text: ANSWER in text)
    typed = [chr((ord(letters[0]) - ord("A") + 1) % 26 + ord("a")), letters[1].lower(), letters[2].lower()]
    press(environment, *typed)
    button = spoken_after(environment, awaited, "the focused button", lambda text: text.startswith(REPEAT_SPOKEN))
    # The keys, then the message and the correction, then the button: each once.
    correction = f"{WRONG} {CORRECTION} {' '.join(letters)}"
    heard = [text for at, text in queued(environment) if awaited < at <= button]
    if heard != typed + [correction, REPEAT_SPOKEN + "."]:
        failures.append(f"after the wrong answer heard {heard}")
    # Tabbed to later, the button is described again; before that, the correction was heard once.
    tabbed = time.time()
    press(environment, "Tab", "shift+Tab")
    spoken_after(environment, tabbed, "the button described again", lambda text: correction in text)
    before_tab = [text for _, text in after(queued(environment), awaited)]
    if sum(correction in text for text in before_tab[:before_tab.index("tab")]) != 1:
        failures.append(f"before the Tab key heard {before_tab}")

    # The right step, and the next step's letters.
    begun = time.time()
    press(environment, "Return")
    letters = window.reveal(3)
    check_reveal(queued(environment), window, begun, failures)
    spoken_after(environment, window.blanked, "the answer awaited again", lambda text: ANSWER in text)
    begun = time.time()
    press(environment, *letters.lower())
    window.reveal(4)
    check_reveal(queued(environment), window, begun, failures)
    print(f"heard, from the window's opening on: {[(round(at - opened, 3), text) for at, text in after(queued(environment), opened)]}")


def main():
    program = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as root:
        environment = dict(os.environ, **private_home(pathlib.Path(root)))
        environment.pop("WAYLAND_DISPLAY", None)
        try:
            play(program, environment, failures)
        finally:
            reader.stop_all()
            end_speech_server(environment)
    if failures:
        sys.exit("FAIL: " + "; ".join(failures))
    print("PASS")


if __name__ == "__main__":
    main()
