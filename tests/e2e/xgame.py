"""What the e2e scripts share: an Xvfb display, copies of the game driven with xdotool and
checked by screen pixels, and the frame of a script (arguments, tools, time limit, failure)."""

import argparse
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024
CLIENT_W, CLIENT_H = 580, 410
NEUTRAL_POINT = (SCREEN_W - 5, SCREEN_H - 5)  # over no window: no hover preview anywhere
# Regions of the main window's client area (left, top, width, height).
BOARD = (193, 118, 200, 200)
SLOWO = (193, 40, 200, 40)
LETTERS = (0, 336, CLIENT_W, 68)
TITLE = "Kordi 2000"
TITLE_WAITING = "Kordi 2000 (please wait)"
TIME_LIMIT = 100  # seconds for a whole script; ctest gives it 120


class StepFailed(Exception):
    pass


class OutOfTime(Exception):
    """Raised by a signal, so that no wait of a step takes it for a failed try."""


def center(area):
    return area[0] + area[2] // 2, area[1] + area[3] // 2


def cell_center(col, row):
    return 193 + (col - 1) * 40 + 20, 118 + (row - 1) * 40 + 20


def letter_center(letter):
    """English letter buttons: 13 a row, 34 pixels square, the rows at 336 and 370."""
    i = ord(letter) - ord("A")
    return (i % 13) * 34 + 52 + 21 + 17, 336 + (34 if i >= 13 else 0) + 17


def wait_for(what, condition, timeout=10.0, interval=0.1):
    """Polls `condition` until it gives a true value, which it returns."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise StepFailed(f"timed out after {timeout:g} s waiting until {what}")
        time.sleep(interval)


def expect(condition, what):
    if not condition:
        raise StepFailed(f"expected: {what}")


def start_display(out_dir):
    """Starts an Xvfb server on a display number it picks itself, so that scripts running at
    the same time never race for one, and points DISPLAY at it."""
    read_end, write_end = os.pipe()
    # -noreset: the server would otherwise restart when its last client leaves.
    with open(os.path.join(out_dir, "xvfb.log"), "wb") as log:
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24",
             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=log)
    os.close(write_end)
    # The server writes the number and the newline apart; the pipe must stay open for both.
    number, deadline = b"", time.monotonic() + 15
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        if select.select([read_end], [], [], 0.5)[0]:
            chunk = os.read(read_end, 32)
            if not chunk:
                break
            number += chunk
    os.close(read_end)
    if not number.strip().isdigit():
        raise StepFailed("Xvfb did not start (see xvfb.log)")
    os.environ["DISPLAY"] = ":" + number.decode().strip()
    return server


def x_run(*args, check=True):
    result = subprocess.run(args, capture_output=True, timeout=20)
    if check and result.returncode != 0:
        raise StepFailed(f"{' '.join(args)} failed: {result.stderr.decode().strip()}")
    return result.stdout.decode()


def grab(area):
    """The screen's pixels in `area` (left, top, width, height), as RGB bytes."""
    x, y, w, h = area
    return subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "-depth",
                           "8", "rgb:-"], capture_output=True, timeout=20).stdout


def screenshot(path):
    x_run("import", "-window", "root", path, check=False)


def park_mouse():
    x_run("xdotool", "mousemove", *map(str, NEUTRAL_POINT))


def lay_folder(game_dir, folder, dictionary, settings):
    """Copies the program folder, sets keys of its settings file and gives it a dictionary."""
    shutil.copytree(game_dir, folder)
    ini = os.path.join(folder, "Kordi2000.ini")
    with open(ini, "rb") as f:
        text = f.read().decode("latin-1")
    for key, value in dict(LanguageNumber="2", Sound="0", **settings).items():
        # The first line of a key is the setting; the texts of the menus follow.
        text = re.sub(rf"(?m)^{key}=[^\r\n]*", f"{key}={value}", text, count=1)
    with open(ini, "wb") as f:
        f.write(text.encode("latin-1"))
    with open(os.path.join(folder, "DATA", "Lib.ENG"), "wb") as f:
        f.write("".join(word + "\r\n" for word in dictionary).encode("ascii"))


class Player:
    def __init__(self, name, folder, log_path):
        self.name = name
        self.log = open(log_path, "wb")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   XDG_RUNTIME_DIR=tempfile.mkdtemp(prefix="xdg-", dir=folder))
        self.process = subprocess.Popen([os.path.join(folder, "kordi2000")], cwd=folder,
                                        env=env, stdout=self.log, stderr=subprocess.STDOUT)
        self.main = self.chat = None

    def windows(self, title_pattern):
        return x_run("xdotool", "search", "--all", "--onlyvisible", "--pid",
                     str(self.process.pid), "--name", title_pattern, check=False).split()

    def wait_shown(self, find, what, timeout=15.0):
        def found():
            if self.process.poll() is not None:
                raise StepFailed(f"{self.name}'s game ended (exit code {self.process.returncode})")
            return find()
        return wait_for(f"{self.name}'s {what} is shown", found, timeout)

    def wait_window(self, title_pattern, what):
        return self.wait_shown(lambda: (lambda w: w[0] if len(w) == 1 else None)(
            self.windows(title_pattern)), what)

    def geometry(self, window, check=True):
        shell = x_run("xdotool", "getwindowgeometry", "--shell", window, check=check)
        values = dict(line.split("=", 1) for line in shell.split())
        if not values:
            return None
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def wait_main_window(self, x):
        """The main window is the one of the title and the size; the splash window that
        comes first shares the title."""
        def found():
            for window in self.windows(f"^{TITLE}$"):
                geometry = self.geometry(window, check=False)
                if geometry and geometry[2] == CLIENT_W and geometry[3] > CLIENT_H:
                    return window
            return None
        self.main = self.wait_shown(found, "main window", 30)
        self.move(self.main, x, 0)

    def title(self, window=None):
        return x_run("xdotool", "getwindowname", window or self.main).strip()

    def wait_title(self, title, what):
        wait_for(f"{self.name}'s window shows {what} (title \"{title}\")",
                 lambda: self.title() == title, 15)

    def move(self, window, x, y):
        x_run("xdotool", "windowmove", window, str(x), str(y))
        wait_for(f"{self.name}'s window {window} has moved",
                 lambda: self.geometry(window)[:2] == (x, y), 5)

    def key(self, key, window=None):
        window = window or self.main

        def focused():
            x_run("xdotool", "windowfocus", window, check=False)
            return x_run("xdotool", "getwindowfocus", check=False).strip() == window
        wait_for(f"{self.name}'s window {window} has the keyboard focus", focused, 5, 0.2)
        x_run("xdotool", "key", key)

    def origin(self, window=None):
        """Points count from another window, or from the main window's client area, which lies
        below the menu bar: the height the window has beyond the client area."""
        x, y, width, height = self.geometry(window or self.main)
        return (x, y) if window else (x, y + height - CLIENT_H)

    def click(self, point, window=None):
        x, y = self.origin(window)
        x_run("xdotool", "mousemove", str(x + point[0]), str(y + point[1]), "click", "1")

    def look(self, area, window=None):
        x, y = self.origin(window)
        return grab((x + area[0], y + area[1], area[2], area[3]))

    def click_and_see(self, point, area, what, window=None):
        """Clicks and waits until `area` shows the effect; a click that changed nothing is
        given once more."""
        before = self.look(area, window)
        for _ in range(2):
            self.click(point, window)
            try:
                return wait_for(f"{self.name} sees {what}",
                                lambda: self.look(area, window) != before, 3)
            except StepFailed:
                pass
        raise StepFailed(f"{self.name}'s click for {what} changed nothing on the screen")

    def click_to_close(self, point, window, what):
        self.click(point, window)
        wait_for(f"{self.name}'s window closes after {what}",
                 lambda: window not in self.windows("."), 10)

    def play_word(self, letter, placed, trace):
        """Picks a letter, puts it into a free cell, traces the word cell by cell and submits
        it by clicking its last cell again."""
        self.click_and_see(letter_center(letter), LETTERS, f"the letter {letter} chosen")
        self.click_and_see(cell_center(*placed), BOARD, f"{letter} placed")
        for cell in trace:
            self.click_and_see(cell_center(*cell), SLOWO, f"the trace through {cell}")
        self.click(cell_center(*trace[-1]))

    def quit(self):
        self.key("Escape")
        try:
            code = self.process.wait(15)
        except subprocess.TimeoutExpired:
            raise StepFailed(f"{self.name}'s game did not end after Esc (Exit)")
        expect(code == 0, f"{self.name}'s game ends with exit code 0, not {code}")

    def stop(self):
        stop(self.process)
        self.log.close()


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def run_script(description, body, *extra_arguments):
    """Parses --game, --out and the extra arguments, starts the display, then runs
    body(args, work_dir, players) within the time limit; 0 when it passed, 1 when a step
    failed or a tool is missing. At a failure a picture of the screen goes to the output
    folder; the players the body put into the list are stopped at the end."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--game", required=True, help="the program folder (build/game)")
    parser.add_argument("--out", required=True, help="the folder for screenshots and logs")
    for name, help_text in extra_arguments:
        parser.add_argument(name, required=True, help=help_text)
    args = parser.parse_args()
    missing = [tool for tool in ("Xvfb", "xdotool", "import") if not shutil.which(tool)]
    if missing:
        print(f"e2e: missing {', '.join(missing)}; run scripts/install-deps.sh", file=sys.stderr)
        return 1
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    started = time.monotonic()

    def out_of_time(signum, _frame):
        raise OutOfTime(f"the test ran out of its {TIME_LIMIT} s" if signum == signal.SIGALRM
                        else f"the test was stopped by signal {signum}")
    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, out_of_time)
    signal.alarm(TIME_LIMIT)
    players, display = [], None
    with tempfile.TemporaryDirectory(prefix="kordi-e2e-") as work_dir:
        try:
            display = start_display(args.out)
            body(args, work_dir, players)
        except BaseException as error:
            screenshot(os.path.join(args.out, "FAILED.png"))
            if not isinstance(error, StepFailed):
                raise
            print(f"{description}: FAILED: {error}\nScreenshots and logs: {args.out}",
                  file=sys.stderr)
            return 1
        finally:
            for player in players:
                player.stop()
            if display:
                stop(display)
    print(f"{description}: passed in {time.monotonic() - started:.1f} s; output in {args.out}")
    return 0
