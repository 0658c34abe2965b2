#!/usr/bin/env python3
"""Two copies of the game on one X display, played over TCP/IP as two people would.

Alice hosts on 127.0.0.1, Bob joins; Bob and Alice each play a word, a chat line crosses, Bob
quits and Alice plays a word against the computer, which answers. Both windows are driven with
xdotool and checked by what they show: window titles, and screen pixels compared between the
two windows or with an earlier picture of the same window. A screenshot goes to the output
folder after every step.

Usage: two_players.py --game build/game --out build/e2e-output
Needs Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
"""

import argparse
import os
import re
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1280, 1024
CLIENT_W, CLIENT_H = 580, 410
NEUTRAL_POINT = (SCREEN_W - 5, SCREEN_H - 5)  # over no window: no hover preview anywhere

# Regions of the main window's client area (left, top, width, height).
BOARD = (193, 118, 200, 200)
SCORE2 = (400, 60, 50, 20)
PLAYER0, PLAYER1 = (20, 87, 140, 21), (420, 87, 140, 21)
FACE = (455, 8, 104, 74)
SLOWO = (193, 40, 200, 40)
LETTERS = (0, 336, CLIENT_W, 68)
# The connection window and the chat window, relative to their own windows.
GO_BUTTON = (225, 50, 65, 30)
SESSION_LIST = (10, 122, 280, 80)
FIRST_SESSION = (10, 124, 280, 16)
JOIN_BUTTON, HOST_BUTTON = (10, 302, 88, 28), (106, 302, 88, 28)
CHAT_MEMO = (6, 6, 290, 192)
CHAT_EDIT = (4, 206, 228, 22)

TITLE = "Kordi 2000"
TITLE_WAITING = "Kordi 2000 (please wait)"
DICTIONARY = ["BUS", "HOUSE", "SEA", "USED"]  # HOUSE: the only start word
TIME_LIMIT = 100  # seconds for the whole test; ctest gives it 120


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


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Display:
    """An Xvfb server; its screen is grabbed as rows of RGB bytes."""

    def __init__(self, out_dir):
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(out_dir, "xvfb.log"), "wb")
        # -noreset: the server would otherwise restart when its last client leaves.
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=self.log)
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
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip())

    def run(self, *args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=20)
        if check and result.returncode != 0:
            raise StepFailed(f"{' '.join(args)} failed: {result.stderr.decode().strip()}")
        return result.stdout.decode()

    def grab(self, area):
        """The screen's pixels in `area` (left, top, width, height), as bytes."""
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True, timeout=20).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if not header:
            raise StepFailed("the screen could not be grabbed as an 8-bit PPM picture")
        width, pixels = int(header[1]), data[header.end():]
        x, y, w, h = area
        return b"".join(pixels[((y + r) * width + x) * 3:((y + r) * width + x + w) * 3]
                        for r in range(h))

    def screenshot(self, path):
        self.run("import", "-window", "root", path, check=False)

    def park_mouse(self):
        self.run("xdotool", "mousemove", *map(str, NEUTRAL_POINT))

    def close(self):
        stop(self.server)
        self.log.close()


def lay_program_folder(game_dir, folder, name, port):
    shutil.copytree(game_dir, folder)
    ini = os.path.join(folder, "Kordi2000.ini")
    with open(ini, "rb") as f:
        text = f.read().decode("latin-1")
    values = {"LanguageNumber": "2", "Sound": "0", "Port": str(port),
              "HostName": "127.0.0.1", "Name": name, "AutoPopUpChat": "0"}
    for key, value in values.items():  # the first of each key is the setting, texts follow
        text = re.sub(rf"(?m)^{key}=[^\r\n]*", f"{key}={value}", text, count=1)
    with open(ini, "wb") as f:
        f.write(text.encode("latin-1"))
    with open(os.path.join(folder, "DATA", "Lib.ENG"), "wb") as f:
        f.write("".join(word + "\r\n" for word in DICTIONARY).encode("ascii"))


def free_port():
    """A port free for both TCP and UDP on this machine, as the session service uses both."""
    for _ in range(20):
        with socket.socket() as tcp, socket.socket(type=socket.SOCK_DGRAM) as udp:
            tcp.bind(("127.0.0.1", 0))
            try:
                udp.bind(("", tcp.getsockname()[1]))
            except OSError:
                continue
            return tcp.getsockname()[1]
    raise StepFailed("found no free port")


class Player:
    def __init__(self, name, display, folder, log_path):
        self.name, self.display = name, display
        self.log = open(log_path, "wb")
        env = dict(display.env, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   XDG_RUNTIME_DIR=tempfile.mkdtemp(prefix="xdg-", dir=folder))
        self.process = subprocess.Popen([os.path.join(folder, "kordi2000")], cwd=folder,
                                        env=env, stdout=self.log, stderr=subprocess.STDOUT)
        self.main = self.chat = None

    def windows(self, title_pattern):
        return self.display.run("xdotool", "search", "--all", "--onlyvisible", "--pid",
                                str(self.process.pid), "--name", title_pattern,
                                check=False).split()

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
        shell = self.display.run("xdotool", "getwindowgeometry", "--shell", window, check=check)
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
        return self.display.run("xdotool", "getwindowname", window or self.main).strip()

    def wait_title(self, title, what):
        wait_for(f"{self.name}'s window shows {what} (title \"{title}\")",
                 lambda: self.title() == title, 15)

    def move(self, window, x, y):
        self.display.run("xdotool", "windowmove", window, str(x), str(y))
        wait_for(f"{self.name}'s window {window} has moved",
                 lambda: self.geometry(window)[:2] == (x, y), 5)

    def key(self, key, window=None):
        window = window or self.main

        def focused():
            self.display.run("xdotool", "windowfocus", window, check=False)
            return self.display.run("xdotool", "getwindowfocus", check=False).strip() == window
        wait_for(f"{self.name}'s window {window} has the keyboard focus", focused, 5, 0.2)
        self.display.run("xdotool", "key", key)

    def origin(self, window=None):
        """Points count from another window, or from the main window's client area, which lies
        below the menu bar: the height the window has beyond the client area."""
        x, y, width, height = self.geometry(window or self.main)
        return (x, y) if window else (x, y + height - CLIENT_H)

    def click(self, point, window=None):
        x, y = self.origin(window)
        self.display.run("xdotool", "mousemove", str(x + point[0]), str(y + point[1]),
                         "click", "1")

    def look(self, area, window=None):
        x, y = self.origin(window)
        return self.display.grab((x + area[0], y + area[1], area[2], area[3]))

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


class TwoPlayers:
    def __init__(self, game_dir, out_dir, work_dir):
        self.game_dir, self.out_dir, self.work_dir = game_dir, out_dir, work_dir
        self.display = self.alice = self.bob = None
        self.players = []
        self.baseline = {}  # the areas at the start of a game against the computer

    def run(self):
        steps = [
            ("start", "both games start", self.start),
            ("alice-hosts", "Alice hosts a session", self.host),
            ("bob-joins", "Bob joins Alice's session", self.join),
            ("bob-plays", "Bob places B and traces BUS",
             lambda: self.play(self.bob, self.alice, "B", (3, 4), [(3, 4), (3, 3), (4, 3)])),
            ("alice-plays", "Alice places D and traces USED",
             lambda: self.play(self.alice, self.bob, "D", (5, 4),
                               [(3, 3), (4, 3), (5, 3), (5, 4)])),
            ("chat", "a chat line crosses from Bob to Alice", self.chat_line),
            ("bob-quits", "Bob quits; Alice is back to a game against the computer", self.quit),
            ("alice-vs-computer", "Alice plays the computer, which answers", self.vs_computer),
            ("alice-exits", "Alice quits", lambda: self.alice.quit()),
        ]
        for number, (slug, title, action) in enumerate(steps, 1):
            started = time.monotonic()
            label = os.path.join(self.out_dir, f"{number:02d}-{slug}")
            try:
                action()
                self.display.park_mouse()
            except Exception as error:
                if self.display:
                    self.display.screenshot(f"{label}-FAILED.png")
                raise StepFailed(f"step {number} ({title}) failed: {error}") from error
            self.display.screenshot(f"{label}.png")
            print(f"step {number} ok ({time.monotonic() - started:.1f} s): {title}", flush=True)

    def close(self):
        for player in self.players:
            player.stop()
        if self.display:
            self.display.close()

    def start(self):
        self.display = Display(self.out_dir)
        port = free_port()
        for name, x in (("Alice", 0), ("Bob", 650)):
            folder = os.path.join(self.work_dir, name)
            lay_program_folder(self.game_dir, folder, name, port)
            player = Player(name, self.display, folder, os.path.join(self.out_dir, f"{name}.log"))
            self.players.append(player)
            player.wait_main_window(x)
        self.alice, self.bob = self.players
        self.display.park_mouse()
        self.expect_same_board("both games start with HOUSE")
        for area in (BOARD, SCORE2, PLAYER0, PLAYER1, FACE):
            self.baseline[area] = self.alice.look(area)

    def host(self):
        alice = self.alice
        alice.key("F3")
        connect = alice.wait_window("^Connect$", "connection window")
        # The search finds no session, and a new one may be hosted.
        alice.click_and_see(center(GO_BUTTON), HOST_BUTTON, "Host enabled by Go", connect)
        alice.click_to_close(center(HOST_BUTTON), connect, "Host")
        self.display.park_mouse()
        wait_for("Alice's window shows her name",
                 lambda: alice.look(PLAYER0) != self.baseline[PLAYER0], 5)
        expect(alice.look(FACE) == self.baseline[FACE],
               "the host still plays against the computer: its face is shown")

    def join(self):
        bob, alice = self.bob, self.alice
        bob.key("F3")
        connect = bob.wait_window("^Connect$", "connection window")
        bob.click_and_see(center(GO_BUTTON), SESSION_LIST, "Alice's session listed", connect)
        bob.click_and_see(center(FIRST_SESSION), FIRST_SESSION, "the session picked", connect)
        bob.click_to_close(center(JOIN_BUTTON), connect, "Join")
        bob.wait_title(TITLE, "the own turn: the joiner opens the first game")
        alice.wait_title(TITLE_WAITING, "the wait for Bob's first move")
        self.display.park_mouse()
        self.expect_same_board("Alice takes Bob's start word")
        for player in (bob, alice):
            expect(player.look(PLAYER1) != self.baseline[PLAYER1],
                   f"{player.name}'s window names the opponent")
            expect(player.look(FACE) != self.baseline[FACE],
                   f"{player.name}'s window hides the computer's face in a network game")

    def play(self, mover, other, letter, placed, trace):
        """The word crosses: both boards show it, and the other side credits the mover."""
        mover.play_word(letter, placed, trace)
        mover.wait_title(TITLE_WAITING, "the wait after the word")
        other.wait_title(TITLE, f"{other.name}'s turn after {mover.name}'s word")
        self.display.park_mouse()
        self.expect_same_board(f"{mover.name}'s word is on both boards")
        expect(mover.look(BOARD) != self.baseline[BOARD], f"{mover.name}'s letter is on the board")
        expect(other.look(SCORE2) != self.baseline[SCORE2],
               f"{other.name}'s window credits {mover.name}'s word")

    def chat_line(self):
        for player, x, caption in ((self.alice, 0, "Chat ( Alice - Bob )"),
                                   (self.bob, 650, "Chat ( Bob - Alice )")):
            player.key("F5")
            player.chat = player.wait_window("^Chat", "chat window")
            player.move(player.chat, x, 480)
            shown = player.title(player.chat)
            expect(shown == caption, f"{player.name}'s chat caption \"{caption}\", not \"{shown}\"")
        bob, alice = self.bob, self.alice
        before = {player.name: player.look(CHAT_MEMO, player.chat) for player in (alice, bob)}
        bob.click(center(CHAT_EDIT), bob.chat)
        bob.key("Home", bob.chat)
        self.display.run("xdotool", "type", "--delay", "30", "hello Alice, nice move")
        self.display.run("xdotool", "key", "Return")
        for player in (bob, alice):
            wait_for(f"{player.name}'s chat log shows Bob's line",
                     lambda: player.look(CHAT_MEMO, player.chat) != before[player.name], 10)

    def quit(self):
        alice = self.alice
        self.bob.quit()
        alice.wait_title(TITLE, "a game of her own")
        for area in (FACE, BOARD, SCORE2, PLAYER1):
            wait_for(f"Alice's area {area} is as at the start of a game against the computer",
                     lambda: alice.look(area) == self.baseline[area], 10)
        expect(alice.look(PLAYER0) != self.baseline[PLAYER0],
               "Alice stays in the session: her name is shown")

    def vs_computer(self):
        alice = self.alice
        alice.play_word("B", (3, 4), [(3, 4), (3, 3), (4, 3)])
        self.display.park_mouse()
        wait_for("the computer has answered with a word",
                 lambda: alice.look(SCORE2) != self.baseline[SCORE2], 15)
        alice.wait_title(TITLE, "her turn after the computer's move")

    def expect_same_board(self, what):
        wait_for(what, lambda: self.alice.look(BOARD) == self.bob.look(BOARD), 10)


def argument_parser(description):
    """The arguments every e2e script takes: the program folder and the output folder."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--game", required=True, help="the program folder (build/game)")
    parser.add_argument("--out", required=True, help="the folder for screenshots and logs")
    return parser


def tools_missing():
    missing = [tool for tool in ("Xvfb", "xdotool", "import") if not shutil.which(tool)]
    if missing:
        print(f"e2e: missing {', '.join(missing)}; run scripts/install-deps.sh", file=sys.stderr)
    return bool(missing)


def main():
    args = argument_parser(__doc__.splitlines()[0]).parse_args()
    if tools_missing():
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
    with tempfile.TemporaryDirectory(prefix="kordi-e2e-") as work_dir:
        test = TwoPlayers(os.path.abspath(args.game), args.out, work_dir)
        try:
            test.run()
        except StepFailed as error:
            print(f"e2e two players FAILED: {error}\nScreenshots and logs: {args.out}",
                  file=sys.stderr)
            return 1
        finally:
            test.close()
    print(f"e2e two players passed in {time.monotonic() - started:.1f} s; "
          f"screenshots in {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
