#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built program played as a blind or deaf-blind player plays it. First with the accessibility
bus on but no screen reader: the window says nothing. Then Orca starts while the game runs, and
plays one wrong step and one right step, judged by what reached the speech server, as its own log
records it, against the moments the window showed each change (its display row read over the
accessibility bus). With --braille Orca brailles too and what it brailled is judged as well, from
its own log (32 cells, as it assumes with no display); with --brltty, from what reached a 40-cell
display of BRLTTY's virtual driver that the test plays itself.

Run inside a session bus of its own: dbus-run-session -- tst_speech.py PROGRAM [--braille|--brltty]
"""
import fcntl
import functools
import html
import os
import pathlib
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
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
# Braille on, each line Orca brailles logged with its time.
BRAILLE_LOG = """import logging, os
import orca.settings
orca.settings.enableBraille = True
_log = logging.FileHandler(os.path.expanduser("~/braille.log"), encoding="utf-8")
_log.setFormatter(logging.Formatter("%(created).6f %(message)s"))
logging.getLogger("braille").addHandler(_log)
logging.getLogger("braille").setLevel(logging.INFO)
"""
BRAILLE_OFF = "import orca.settings\norca.settings.enableBraille = False\n"
VISIBLE = re.compile(r"^([\d.]+) +VISIBLE: +'(.*)', cursor=\d+$")
# Where a text's line ends on a braille line, ahead of marks such as "rdonly".
LINE_END = " $l"
STAMPED = re.compile(r"^\[\w+ (\w+ +\d+ [\d:]+ \d+) : (\d+)\] speechd: +(.*)")
QUEUED = re.compile(r"Queueing message \|(.*)\| with priority")


def private_home(root, braille):
    """A home and a runtime folder of the test's own: speech-dispatcher starts per runtime
    folder, with the settings of the home it finds."""
    home, runtime = root / "home", root / "run"
    (home / ".config/speech-dispatcher").mkdir(parents=True)
    (home / ".config/speech-dispatcher/speechd.conf").write_text(SPEECHD_CONF)
    (home / ".local/share/orca").mkdir(parents=True)
    (home / ".local/share/orca/orca-customizations.py").write_text(BRAILLE_LOG if braille else BRAILLE_OFF)
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


orca_running = []


def orca_debug_log(environment):
    return pathlib.Path(environment["HOME"]) / "orca-debug.out"


def take_orca(seconds=120):
    """Orca runs once per user: one started with --replace ends every other Orca of its user. The
    test waits its turn behind the other tests that run Orca, whatever started them, and holds it
    until it ends; and it leaves alone, skipped, an Orca the user runs."""
    lock = open(pathlib.Path(tempfile.gettempdir()) / f"korimo-orca-{os.getuid()}.lock", "w")
    deadline = time.monotonic() + seconds
    while True:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            break
        except BlockingIOError:
            if time.monotonic() > deadline:
                sys.exit(f"FAIL: another test kept Orca for {seconds} s")
            time.sleep(0.2)
    if subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"], stdout=subprocess.DEVNULL).returncode == 0:
        print("Skipped: Orca already runs for this user, and would be replaced")
        sys.exit(77)
    return lock


def start_orca(environment):
    # Xvfb may refuse a client that connects while others do: try the launch again.
    for _ in range(3):
        orca = reader.start(["orca", "--replace", "--debug-file", str(orca_debug_log(environment))],
                            env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        reader.wait_for("Orca's first words", lambda: orca.poll() is not None or queued(environment), seconds=40)
        if orca.poll() is None:
            orca_running.append(orca)
            return
    sys.exit("FAIL: Orca did not start")


def orca_state(environment):
    """Whether Orca still runs, and the end of its debug log: what it was doing when it fell silent."""
    if not orca_running:
        return ""
    running = orca_running[0].poll() is None
    try:
        tail = orca_debug_log(environment).read_text(errors="replace").splitlines()[-12:]
    except FileNotFoundError:
        tail = []
    return f"; Orca {'running' if running else 'gone'}, its debug log ending: " + " | ".join(
        line.strip()[:160] for line in tail)


def display_row(frame):
    """The display row's text as the window shows it, or None while the window lists no row."""
    # The row is made anew as it turns editable or read-only: one gone while read is looked for again.
    while True:
        try:
            for i in range(frame.get_child_count()):
                child = frame.get_child_at_index(i)
                if child and child.get_role_name() == "text":
                    return reader.Atspi.Text.get_text(child, 0, -1)
            return None
        except reader.GLib.GError:
            continue


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
                    seconds, last=lambda: f"; heard {[text for _, text in after(queued(environment), moment)]}"
                    + orca_state(environment))
    return next(at for at, text in after(queued(environment), moment) if condition(text))


def start_speech_server(environment):
    """Running before any client, and staying, so that whatever the window says is logged."""
    subprocess.run(["speech-dispatcher", "--run-daemon", "--timeout", "0"], env=environment, check=True)


def set_screen_reader(environment, running):
    """As a desktop does when its screen reader is switched on or off."""
    subprocess.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus",
                    "--method", "org.freedesktop.DBus.Properties.Set", "org.a11y.Status", "ScreenReaderEnabled",
                    f"<{str(running).lower()}>"], env=environment, check=True, stdout=subprocess.DEVNULL)


def brailled_by_orca(environment):
    """Each braille line Orca sent, as (time, what its display's cells showed)."""
    try:
        lines = (pathlib.Path(environment["HOME"]) / "braille.log").read_text().splitlines()
    except FileNotFoundError:
        return []
    return [(float(line[1]), line[2]) for line in map(VISIBLE.match, lines) if line]


class BrailleDisplay:
    """A 40-cell display of BRLTTY's virtual driver, played by the test: what BRLTTY shows on it,
    as (time, text) from each line of its protocol's "Visual" command."""

    CELLS = 40

    def __init__(self, root, environment):
        self.shown, self.socket_path = [], str(root / "display.socket")
        self.listener = socket.socket(socket.AF_UNIX)
        self.listener.bind(self.socket_path)
        self.listener.listen(1)
        reader.start(["brltty", "--no-daemon", "--quiet", "--braille-driver=vr",
                      f"--braille-device=client:{self.socket_path}", "--screen-driver=no", "--speech-driver=no",
                      "--api-parameters=auth=none,host=127.0.0.1:47", f"--pid-file={root / 'brltty.pid'}",
                      f"--writable-directory={root}", "--updatable-directory=" + str(root)],
                     env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        environment.update(BRLAPI_HOST="127.0.0.1:47", BRLAPI_AUTH="none")
        self.listener.settimeout(20)
        connection, _ = self.listener.accept()
        connection.sendall(f"cells {self.CELLS}\n".encode())
        threading.Thread(target=self.read, args=(connection,), daemon=True).start()

    def read(self, connection):
        for line in connection.makefile(encoding="utf-8", errors="replace"):
            if line.startswith("Visual "):
                self.shown.append((time.time(), line[len("Visual "):].strip().strip('"').rstrip()))

    def __call__(self, environment):
        return list(self.shown)


def check_brailled_reveal(brailled, window, failures):
    """The letters shown so far end the line, each time before the next one appears."""
    if brailled is None:
        return
    bounds = [at for at, _ in window.shown[1:]] + [window.blanked]
    for count, ((shown_at, _), next_at) in enumerate(zip(window.shown, bounds), 1):
        so_far = "".join(letter for _, letter in window.shown[:count])
        lines = [text for at, text in brailled if shown_at <= at < next_at]
        if not any(text.split(LINE_END)[0].rstrip().endswith(so_far) for text in lines):
            failures.append(f"brailled {lines} while {so_far!r} was shown")


def check_brailled_correction(brailled, letters, moment, failures, seconds=3):
    if brailled is None:
        return
    correction = " ".join(letters)
    lines = [text for at, text in brailled if moment <= at < moment + seconds]
    if not any(correction in text for text in lines):
        failures.append(f"within {seconds} s of the wrong answer brailled {lines}, not {correction!r}")


def open_window(environment, focused):
    """Waits until the reader, just started, has told the window's focused button: the focus goes to
    the next button and back, for the reader to see it come."""
    for _ in range(3):
        begun = time.time()
        press(environment, "Tab", "shift+Tab")
        try:
            return spoken_after(environment, begun, "the focused button", lambda text: focused in text,
                                seconds=10)
        except SystemExit:
            pass
    sys.exit(f"FAIL: the focused button was not spoken; heard {queued(environment)}")


def press(environment, *keys):
    subprocess.run(["xdotool", "key", "--delay", "150", *keys], env=environment, check=True)


def wrong_answer(letters):
    return [chr((ord(letters[0]) - ord("A") + 1) % 26 + ord("a")), *letters[1:].lower()]


def correction_shown(frame):
    return any((frame.get_child_at_index(i) or frame).get_name() == CORRECTION
               for i in range(frame.get_child_count()))


def play_without_screen_reader(environment, window, failures):
    """The accessibility bus on, as desktops set it for other assistive tools, a speech server
    running, no screen reader: a step played wrong is heard of nowhere."""
    press(environment, "Return")
    letters = window.reveal(3)
    press(environment, *wrong_answer(letters))
    reader.wait_for("the correction shown", lambda: correction_shown(window.frame))
    time.sleep(0.5)
    if queued(environment):
        failures.append(f"without a screen reader heard {[text for _, text in queued(environment)]}")


def play(program, environment, brailled, failures):
    reader.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1", "--screen-reader=0"],
                 env=environment)
    environment["DISPLAY"] = reader.start_display()
    reader.start(["openbox"], env=environment, stderr=subprocess.DEVNULL)
    start_speech_server(environment)
    game, frame = reader.launch(program, dict(environment, QT_QPA_PLATFORM="xcb"))
    # On the accessibility bus before it is shown: the keys typed go to it once it has the focus.
    window, _ = reader.window_origin(environment["DISPLAY"], game.pid)
    subprocess.run(["xdotool", "windowfocus", "--sync", window], env=environment, check=True)
    window = Window(frame)
    play_without_screen_reader(environment, window, failures)

    # A screen reader starts while the game runs; the step is repeated, played wrong again.
    set_screen_reader(environment, True)
    start_orca(environment)
    opened = time.time()
    open_window(environment, REPEAT_SPOKEN)
    begun = time.time()
    press(environment, "Return")
    letters = window.reveal(3)
    check_reveal(queued(environment), window, begun, failures)
    check_brailled_reveal(brailled and brailled(environment), window, failures)
    awaited = spoken_after(environment, window.blanked, "the answer awaited", lambda text: ANSWER in text)
    typed = wrong_answer(letters)
    answered = time.time()
    press(environment, *typed)
    button = spoken_after(environment, awaited, "the focused button", lambda text: REPEAT_SPOKEN in text)
    # The keys, then the message, then the button labelled by the correction: each once.
    correction = f"{CORRECTION} {' '.join(letters)}"
    heard = [text for at, text in queued(environment) if awaited < at <= button]
    if heard != typed + [WRONG, f"{correction} {REPEAT_SPOKEN}."]:
        failures.append(f"after the wrong answer heard {heard}")
    check_brailled_correction(brailled and brailled(environment), letters, answered, failures)
    # Tabbed to later, the button is described again; before that, the message was heard once.
    tabbed = time.time()
    press(environment, "Tab", "shift+Tab")
    spoken_after(environment, tabbed, "the button described again", lambda text: WRONG in text)
    before_tab = [text for _, text in after(queued(environment), awaited)]
    if sum(WRONG in text for text in before_tab[:before_tab.index("tab")]) != 1:
        failures.append(f"before the Tab key heard {before_tab}")

    # The right step, and the next step's letters.
    begun = time.time()
    press(environment, "Return")
    letters = window.reveal(3)
    check_reveal(queued(environment), window, begun, failures)
    check_brailled_reveal(brailled and brailled(environment), window, failures)
    spoken_after(environment, window.blanked, "the answer awaited again", lambda text: ANSWER in text)
    begun = time.time()
    press(environment, *letters.lower())
    window.reveal(4)
    check_reveal(queued(environment), window, begun, failures)
    check_brailled_reveal(brailled and brailled(environment), window, failures)
    print(f"heard, from the reader's start on: {[(round(at - opened, 3), text) for at, text in after(queued(environment), opened)]}")
    if brailled:
        print(f"brailled: {[(round(at - opened, 3), text) for at, text in brailled(environment) if at >= opened]}")


def main():
    program, mode = sys.argv[1], (sys.argv[2:] or [""])[0]
    # Held from the start: BRLTTY's port is one for all of these tests too.
    held = take_orca()  # until the test ends
    failures = []
    with tempfile.TemporaryDirectory() as root:
        environment = dict(os.environ, **private_home(pathlib.Path(root), braille=bool(mode)))
        environment.pop("WAYLAND_DISPLAY", None)
        try:
            brailled = {"": None, "--braille": brailled_by_orca}.get(mode, BrailleDisplay)
            if brailled is BrailleDisplay:
                brailled = BrailleDisplay(pathlib.Path(root), environment)
            play(program, environment, brailled, failures)
        finally:
            reader.stop_all()
            end_speech_server(environment)
    if failures:
        sys.exit("FAIL: " + "; ".join(failures))
    print("PASS")


if __name__ == "__main__":
    main()
