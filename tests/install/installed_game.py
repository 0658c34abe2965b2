#!/usr/bin/env python3
"""The game installed into a read-only prefix, started and closed as a player would.

Installs the build into a temporary prefix, makes the installed tree read-only, and runs the
installed game headless (Qt's offscreen platform) with a temporary HOME, twice: each run is
closed by SIGTERM, which the game takes as the player's close and so saves. Checks that the
command line is answered without a display, that the player's files land in HOME's data
folder, that the second run reads the settings the first left there, and that the installed
tree stays byte for byte as it was installed.

Usage: installed_game.py --cmake CMAKE --build BUILD_DIR
"""

import argparse
import hashlib
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

START_LIMIT = 60  # seconds for a run to start, and to close; ctest gives the test 300


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def snapshot(root):
    """Every path under root with its mode and, for a file, its content digest."""
    tree = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            digest = None
            if os.path.isfile(path) and not os.path.islink(path):
                with open(path, "rb") as f:
                    digest = hashlib.sha256(f.read()).hexdigest()
            tree[os.path.relpath(path, root)] = (os.lstat(path).st_mode, digest)
    return tree


def set_writable(root, writable):
    """Adds or takes away the owner's write bit everywhere under root, root included."""
    subprocess.run(["chmod", "-R", "u+w" if writable else "a-w", root], check=True)


def ini_value(path, section, key, value=None):
    """The key's value in the section; with `value`, sets it first."""
    with open(path, "rb") as f:
        text = f.read().decode("cp1251")
    pattern = rf"(?ms)(^\[{section}\]\r?$.*?^{key}=)([^\r\n]*)"
    if value is not None:
        text = re.sub(pattern, lambda m: m[1] + value, text, count=1)
        with open(path, "wb") as f:
            f.write(text.encode("cp1251"))
    found = re.search(pattern, text)
    return found[2] if found else None


def check_command_line(game):
    """--help and --version need no display; an unknown option is refused with status 2."""
    bare = {k: v for k, v in os.environ.items()
            if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    for option, status, expected in (("--help", 0, "--version"), ("--version", 0, "Kordi 2000 "),
                                     ("--no-such-option", 2, "no-such-option")):
        run = subprocess.run([game, option], env=dict(bare, QT_QPA_PLATFORM="offscreen")
                             if status else bare, capture_output=True, text=True, timeout=30)
        if run.returncode != status or expected not in run.stdout + run.stderr:
            fail(f"{option} gave status {run.returncode}, output {run.stdout!r} {run.stderr!r}")


def catches_sigterm(pid):
    """Whether the process has its own SIGTERM handler (bit 15 of SigCgt in /proc)."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("SigCgt:"):
                return bool(int(line.split()[1], 16) & (1 << (signal.SIGTERM - 1)))
    return False


def play_once(game, home):
    """Starts the game and, once it takes SIGTERM as a close, closes it with one."""
    env = {k: v for k, v in os.environ.items() if not k.startswith("XDG_")}
    env.update(HOME=home, QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="dummy",
               XDG_RUNTIME_DIR=home)
    process = subprocess.Popen([game], env=env, cwd=home, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True)
    deadline = time.monotonic() + START_LIMIT
    while process.poll() is None and not catches_sigterm(process.pid):
        if time.monotonic() > deadline:
            process.kill()
            fail("the game never began to take SIGTERM as a close")
        time.sleep(0.05)
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
    try:
        output, _ = process.communicate(timeout=START_LIMIT)
    except subprocess.TimeoutExpired:
        process.kill()
        fail("the game did not close on SIGTERM")
    if process.returncode != 0:
        fail(f"the game ended with status {process.returncode}:\n{output}")


def check_player_files(game, prefix, home):
    """The first run copies the installed files to the player's data folder; the second reads
    the player's copy, not the installed original."""
    player = os.path.join(home, ".local", "share", "kordi2000")
    settings = os.path.join(player, "Kordi2000.ini")
    original = os.path.join(prefix, "share", "kordi2000", "Kordi2000.ini")
    play_once(game, home)
    for relative in ("Kordi2000.ini", "DATA/Lib.RUS", "DATA/Lib.ENG", "DATA/Winners"):
        if not os.path.isfile(os.path.join(player, relative)):
            fail(f"{relative} is missing from the player's data folder")
    if ini_value(settings, "Kordi", "Strong") != ini_value(original, "Kordi", "Strong"):
        fail("the player's settings do not start from the installed ones")
    changed = "6" if ini_value(original, "Kordi", "Strong") != "6" else "5"
    ini_value(settings, "NetPlay", "Name", "Second run")
    ini_value(settings, "Kordi", "Strong", changed)
    play_once(game, home)
    if (ini_value(settings, "Kordi", "Strong"), ini_value(settings, "NetPlay", "Name")) != \
            (changed, "Second run"):
        fail("the second run did not read the settings the first left")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        prefix, home = os.path.join(scratch, "prefix"), os.path.join(scratch, "home")
        os.mkdir(home)
        subprocess.run([args.cmake, "--install", args.build, "--prefix", prefix],
                       check=True, stdout=subprocess.DEVNULL)
        set_writable(prefix, False)
        installed = snapshot(prefix)
        try:
            game = os.path.join(prefix, "bin", "kordi2000")
            check_command_line(game)
            check_player_files(game, prefix, home)
            if snapshot(prefix) != installed:
                fail("the installed tree changed")
        finally:
            set_writable(prefix, True)
    print("installed game: passed")


if __name__ == "__main__":
    main()
