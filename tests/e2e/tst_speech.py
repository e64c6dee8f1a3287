#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built program played with a screen reader running: one wrong step and one right step under
Orca, judged by what reached the speech server, as its own log records it, against the moments the
window showed each change.

Run inside a session bus of its own: dbus-run-session -- tst_speech.py PROGRAM
"""
import calendar
import html
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time

import tst_screenreader as reader
from gi.repository import Atspi

SPEECHD_CONF = """LogLevel 5
LogDir "default"
AudioOutputMethod "libao"
AudioLibaoDriver "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
"""
# Orca stalls after a few utterances trying to reach a braille display that is not there.
ORCA_CUSTOMIZATIONS = "import orca.settings\norca.settings.enableBraille = False\n"
QUEUED = re.compile(r"^\[\w+ (\w+ +\d+ [\d:]+ \d+) : (\d+)\] speechd: +Queueing message \|(.*)\| with priority")


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


def speech_log(environment):
    return pathlib.Path(environment["XDG_RUNTIME_DIR"]) / "speech-dispatcher/log/speech-dispatcher.log"


def queued(environment):
    """Every message that reached the speech server, as (wall-clock time, text)."""
    try:
        lines = speech_log(environment).read_text(errors="replace").splitlines()
    except FileNotFoundError:
        return []
    messages = []
    for line in lines:
        match = QUEUED.match(line)
        if match:
            seconds = calendar.timegm(time.strptime(match[1], "%b %d %H:%M:%S %Y"))
            messages.append((seconds + int(match[2]) / 1e6, html.unescape(re.sub("<[^>]*>", "", match[3])).strip()))
    return messages


def end_speech_server(environment):
    pid_file = pathlib.Path(environment["XDG_RUNTIME_DIR"]) / "speech-dispatcher/pid/speech-dispatcher.pid"
    if pid_file.exists():
        pid = int(pid_file.read_text())
        os.kill(pid, 15)


shown = []  # (time, letter) of every letter cell that came into view


def on_event(event):
    if event.type.startswith("object:children-changed:add") and event.any_data:
        name = event.any_data.get_name()
        if re.fullmatch("[A-Z]", name or ""):
            shown.append((time.time(), name))


def main():
    program = sys.argv[1]
    with tempfile.TemporaryDirectory() as root:
        environment = dict(os.environ, **private_home(pathlib.Path(root)))
        environment.pop("WAYLAND_DISPLAY", None)
        try:
            play(program, environment)
        finally:
            end_speech_server(environment)


def play(program, environment):
    reader.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=environment)
    environment["DISPLAY"] = reader.start_display()
    reader.start(["openbox"], env=environment, stderr=subprocess.DEVNULL)
    reader.start(["orca", "--replace"], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    reader.wait_for("Orca's first words", lambda: queued(environment), seconds=30)
    listener = Atspi.EventListener.new(on_event)
    listener.register("object:children-changed:add")
    game, frame = reader.launch(program, dict(environment, QT_QPA_PLATFORM="xcb"))
    reader.wait_for("the window's name spoken", lambda: any("Korimo" in text for _, text in queued(environment)))
    for key in ["Return"]:
        subprocess.run(["xdotool", "key", key], env=environment, check=True)
    reader.wait_for("the letters", lambda: len(shown) >= 3)
    time.sleep(1)
    subprocess.run(["xdotool", "key", "q", "q", "q"], env=environment, check=True)
    time.sleep(2)
    start = queued(environment)[0][0]
    for moment, text in queued(environment):
        print(f"{moment - start:8.3f} {text}")
    for moment, letter in shown:
        print(f"{moment - start:8.3f} shown {letter}")


if __name__ == "__main__":
    try:
        main()
    finally:
        reader.stop_all()
