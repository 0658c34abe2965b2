#!/usr/bin/env python3
"""Two copies of the game on one X display, played over TCP/IP as two people would.

Alice hosts on 127.0.0.1, Bob joins; Bob and Alice each play a word, a chat line crosses,
Bob quits and Alice is back to a game against the computer; Bob comes back and joins again,
then Alice quits and Bob is back to a game against the computer. Both windows are driven with
xdotool (menu shortcuts, clicks on cells and letter buttons) and checked by what they show:
window titles, and screen pixels compared between the two windows or with an earlier
picture of the same window. A screenshot of the screen goes to the output folder after
every step.

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
import struct
import subprocess
import sys
import tempfile
import time
import zlib

SCREEN_W, SCREEN_H = 1280, 1024
CLIENT_W, CLIENT_H = 580, 410
NEUTRAL_POINT = (SCREEN_W - 5, SCREEN_H - 5)  # over no window: no hover preview anywhere

# Regions of the main window's client area (left, top, width, height).
BOARD = (193, 118, 200, 200)
SCORE1, SCORE2 = (125, 60, 50, 20), (400, 60, 50, 20)
WORDS1, WORDS2 = (25, 119, 130, 195), (425, 119, 130, 195)  # inside the panels' bevels
PLAYER0, PLAYER1 = (20, 87, 140, 21), (420, 87, 140, 21)
FACE = (455, 8, 104, 74)
SLOWO = (193, 40, 200, 40)
AREA_NAMES = {BOARD: "board", SCORE1: "own score", SCORE2: "opponent's score",
              WORDS1: "own word list", WORDS2: "opponent's word list", PLAYER0: "own name",
              PLAYER1: "opponent's name", FACE: "computer's face"}
# The connection window and the chat window, relative to their own windows.
GO_BUTTON = (225, 50, 65, 30)
SESSION_LIST = (10, 122, 280, 80)
FIRST_SESSION = (10, 124, 280, 16)
JOIN_BUTTON, HOST_BUTTON, CANCEL_BUTTON = (10, 302, 88, 28), (106, 302, 88, 28), (202, 302, 88, 28)
CHAT_MEMO = (6, 6, 290, 192)
CHAT_EDIT = (4, 206, 228, 22)

TITLE = "Kordi 2000"
TITLE_WAITING = "Kordi 2000 (please wait)"
DICTIONARY = ["BUS", "HOUSE", "SEA", "USED"]  # HOUSE: the only start word
CHAT_LINE = "hello Alice, nice move"


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


# ----- pictures -----

class Picture:
    """An RGB picture taken from the screen."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @staticmethod
    def from_ppm(data):
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if not header:
            raise StepFailed("the screen could not be grabbed as an 8-bit PPM picture")
        width, height = int(header[1]), int(header[2])
        return Picture(width, height, data[header.end():header.end() + width * height * 3])

    def crop(self, x, y, w, h):
        rows = [self.rgb[((y + r) * self.width + x) * 3:((y + r) * self.width + x + w) * 3]
                for r in range(h)]
        return Picture(w, h, b"".join(rows))

    def __eq__(self, other):
        return (self.width, self.height, self.rgb) == (other.width, other.height, other.rgb)

    def pixels(self):
        for y in range(self.height):
            for x in range(self.width):
                i = (y * self.width + x) * 3
                yield x, y, self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def save_png(self, path):
        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        stride = self.width * 3
        raw = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" +
                    chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)) +
                    chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def ink(picture):
    """How much each pixel is text, 0 to 1: text is what stands out from the label's
    background (its most common brightness), light on dark or dark on light."""
    levels = [r + g + b for _, _, r, g, b in picture.pixels()]
    background = sorted(levels)[len(levels) // 2]
    extreme = max(levels, key=lambda level: abs(level - background))
    if abs(extreme - background) < 90:
        return {}
    span = extreme - background
    return {(i % picture.width, i // picture.width): min(1.0, (level - background) / span)
            for i, level in enumerate(levels) if (level - background) / span > 0.1}


def runs(numbers):
    """Consecutive numbers joined into [first, last] runs."""
    found = []
    for n in sorted(numbers):
        if found and n == found[-1][1] + 1:
            found[-1][1] = n
        else:
            found.append([n, n])
    return found


def glyphs(picture):
    """The glyphs of a text, left to right, each as its ink moved to its own top left
    corner. Glyphs split where a column holds at most the faint edge of a neighbour."""
    marks = ink(picture)
    found = []
    for left, right in runs({x for (x, _), value in marks.items() if value > 0.55}):
        glyph = {(x, y): v for (x, y), v in marks.items() if left - 1 <= x <= right + 1}
        top = min(y for (_, y), v in glyph.items() if v > 0.55)
        found.append({(x - left, y - top): v for (x, y), v in glyph.items()})
    return found


def glyph_difference(a, b):
    """The share of ink that differs between two glyphs at their best alignment within a
    pixel: about 0.1 for one glyph drawn at another fraction of a pixel, above 0.3 for two
    different letters or digits."""
    total = sum(a.values()) + sum(b.values())
    best = 1.0
    for dx in (-1, 0, 1):
        for dy in (-1, 0, 1):
            moved = {(x + dx, y + dy): v for (x, y), v in b.items()}
            differing = sum(abs(a.get(p, 0) - moved.get(p, 0)) for p in set(a) | set(moved))
            best = min(best, differing / total)
    return best


def same_text(a, b):
    """True when two labels show the same text, wherever in the label it is drawn and
    whatever lies behind it."""
    ga, gb = glyphs(a), glyphs(b)
    return len(ga) == len(gb) and all(glyph_difference(x, y) < 0.2 for x, y in zip(ga, gb))


def has_text(picture):
    return bool(glyphs(picture))


def text_lines(picture):
    """The lines of text in a text box, top to bottom, each as a picture of its band."""
    rows = {y for (_, y), value in ink(picture).items() if value > 0.3}
    return [picture.crop(0, top, picture.width, bottom - top + 1) for top, bottom in runs(rows)]


def shows_line(lines, line):
    return any(same_text(line, other) for other in lines)


# ----- the X display -----

class Display:
    def __init__(self, out_dir):
        read_end, write_end = os.pipe()
        self.log = open(os.path.join(out_dir, "xvfb.log"), "wb")
        # -noreset: the server would otherwise restart when its last client leaves.
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=self.log)
        os.close(write_end)
        # The server writes the number and the newline apart; it must find the pipe open
        # for both.
        number, deadline = b"", time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            if select.select([read_end], [], [], 0.5)[0]:
                chunk = os.read(read_end, 32)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        number = number.decode().strip()
        if not number.isdigit():
            raise StepFailed("Xvfb did not start (see xvfb.log)")
        self.name = ":" + number
        self.env = dict(os.environ, DISPLAY=self.name)

    def run(self, *args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=20)
        if check and result.returncode != 0:
            raise StepFailed(f"{' '.join(args)} failed: {result.stderr.decode().strip()}")
        return result.stdout.decode()

    def grab(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env,
                              capture_output=True, timeout=20).stdout
        return Picture.from_ppm(data)

    def close(self):
        stop(self.server)
        self.log.close()


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


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


# ----- the program folders and the players -----

def set_ini_values(path, values):
    """Sets keys of the settings file, adding those it lacks to the end of their section;
    keeps its code page and its CR LF line ends."""
    with open(path, "rb") as f:
        lines = f.read().decode("latin-1").split("\r\n")
    pending = {section: dict(keys) for section, keys in values.items()}
    section, out = None, []

    def flush():
        out.extend(f"{k}={v}" for k, v in pending.get(section, {}).items())
        pending.pop(section, None)

    for line in lines:
        stripped = line.strip()
        if stripped.startswith("["):
            flush()
            section = stripped[1:-1]
        elif "=" in line and line.split("=", 1)[0] in pending.get(section, {}):
            key = line.split("=", 1)[0]
            line = f"{key}={pending[section].pop(key)}"
        out.append(line)
    flush()
    for missing_section, keys in pending.items():
        out.append(f"[{missing_section}]")
        out.extend(f"{k}={v}" for k, v in keys.items())
    with open(path, "wb") as f:
        f.write("\r\n".join(out).encode("latin-1"))


def lay_program_folder(game_dir, folder, name, port):
    shutil.copytree(game_dir, folder)
    set_ini_values(os.path.join(folder, "Kordi2000.ini"), {
        "Kordi": {"LanguageNumber": "2", "Sound": "0"},
        "NetPlay": {"Port": str(port), "HostName": "127.0.0.1", "Name": name,
                    "AutoPopUpChat": "0"},
    })
    with open(os.path.join(folder, "DATA", "Lib.ENG"), "wb") as f:
        f.write("".join(word + "\r\n" for word in DICTIONARY).encode("ascii"))


def free_port():
    """A port free for both TCP and UDP on this machine, as the session service uses both."""
    for _ in range(20):
        with socket.socket() as tcp:
            tcp.bind(("127.0.0.1", 0))
            port = tcp.getsockname()[1]
            with socket.socket(type=socket.SOCK_DGRAM) as udp:
                try:
                    udp.bind(("", port))
                except OSError:
                    continue
        return port
    raise StepFailed("found no free port")


class Player:
    def __init__(self, name, display, folder, log_path):
        self.name, self.display = name, display
        self.log = open(log_path, "wb")
        env = dict(display.env, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   XDG_RUNTIME_DIR=tempfile.mkdtemp(prefix="xdg-", dir=folder))
        self.process = subprocess.Popen([os.path.join(folder, "kordi2000")], cwd=folder,
                                        env=env, stdout=self.log, stderr=subprocess.STDOUT)
        self.main = None
        self.chat = None

    def windows(self, title_pattern):
        found = self.display.run("xdotool", "search", "--all", "--onlyvisible", "--pid",
                                 str(self.process.pid), "--name", title_pattern, check=False)
        return found.split()

    def wait_window(self, title_pattern, what, timeout=15.0):
        def found():
            windows = self.windows(title_pattern)
            return windows[0] if len(windows) == 1 else None
        return self.wait_until_shown(found, what, timeout)

    def wait_until_shown(self, find, what, timeout):
        def found():
            if self.process.poll() is not None:
                raise StepFailed(f"{self.name}'s game ended (exit code {self.process.returncode})")
            return find()
        return wait_for(f"{self.name}'s {what} is shown", found, timeout)

    def wait_window_gone(self, window, what, timeout=10.0):
        wait_for(f"{self.name}'s {what} closes",
                 lambda: window not in self.windows("."), timeout)

    def geometry(self, window, check=True):
        shell = self.display.run("xdotool", "getwindowgeometry", "--shell", window, check=check)
        values = dict(line.split("=", 1) for line in shell.split())
        if not values:
            return None
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def wait_main_window(self):
        """The main window is the one of the title and the size; the splash window that
        comes first shares the title."""
        def found():
            for window in self.windows(f"^{TITLE}$"):
                geometry = self.geometry(window, check=False)
                if geometry and geometry[2] == CLIENT_W and geometry[3] > CLIENT_H:
                    return window
            return None
        self.main = self.wait_until_shown(found, "main window", 30)

    def title(self, window=None):
        return self.display.run("xdotool", "getwindowname", window or self.main).strip()

    def client_origin(self):
        """The main window's client area lies below its menu bar, whose height is what the
        window has beyond the client area."""
        x, y, width, height = self.geometry(self.main)
        if width != CLIENT_W or height <= CLIENT_H:
            raise StepFailed(f"{self.name}'s main window is {width}x{height}, "
                             f"not a {CLIENT_W}x{CLIENT_H} client area below a menu bar")
        return x, y + height - CLIENT_H

    def move(self, window, x, y):
        self.display.run("xdotool", "windowmove", window, str(x), str(y))
        wait_for(f"{self.name}'s window {window} has moved",
                 lambda: self.geometry(window)[:2] == (x, y), 5)

    def focus(self, window=None):
        window = window or self.main

        def focused():
            self.display.run("xdotool", "windowfocus", window, check=False)
            return self.display.run("xdotool", "getwindowfocus", check=False).strip() == window
        wait_for(f"{self.name}'s window {window} has the keyboard focus", focused, 5, 0.2)

    def key(self, key, window=None):
        self.focus(window)
        self.display.run("xdotool", "key", key)

    def origin(self, window=None):
        """Where points and areas are counted from: the main window's client area, or
        another window."""
        return self.geometry(window)[:2] if window else self.client_origin()

    def click(self, point, window=None):
        x, y = self.origin(window)
        self.display.run("xdotool", "mousemove", str(x + point[0]), str(y + point[1]),
                         "click", "1")

    def region(self, picture, area, window=None):
        x, y = self.origin(window)
        return picture.crop(x + area[0], y + area[1], area[2], area[3])

    def look(self, area, window=None):
        return self.region(self.display.grab(), area, window)

    def click_and_see(self, point, area, what, window=None):
        """Clicks a point of the client area (or of another window) and waits until `area`
        shows the effect; a click that changed nothing is given once more."""
        before = self.look(area, window)
        for _ in range(2):
            self.click(point, window)
            try:
                wait_for(f"{self.name} sees {what}", lambda: self.look(area, window) != before, 3)
                return
            except StepFailed:
                pass
        raise StepFailed(f"{self.name}'s click for {what} changed nothing on the screen")

    def click_to_close(self, point, window, what):
        self.click(point, window)
        self.wait_window_gone(window, f"connection window after {what}")

    def wait_title(self, title, what, timeout=15.0):
        wait_for(f"{self.name}'s window shows {what} (title \"{title}\")",
                 lambda: self.title() == title, timeout)

    def quit(self):
        self.key("Escape")
        try:
            code = self.process.wait(15)
        except subprocess.TimeoutExpired:
            raise StepFailed(f"{self.name}'s game did not end after Esc (Exit)")
        if code != 0:
            raise StepFailed(f"{self.name}'s game ended with exit code {code}")

    def stop(self):
        stop(self.process)
        self.log.close()


# ----- the test -----

class TwoPlayers:
    def __init__(self, game_dir, out_dir, work_dir):
        self.game_dir, self.out_dir, self.work_dir = game_dir, out_dir, work_dir
        self.display = None
        self.players = []  # every copy started, the running ones last
        self.alice = self.bob = None
        self.step_number = 0
        self.baseline = {}  # the areas at the start of a game against the computer
        self.bus_score = None  # Bob's score after BUS, as his window shows it

    def run(self):
        steps = [
            ("start", "both games start", self.start),
            ("alice-hosts", "Alice hosts a session", lambda: self.host(self.alice)),
            ("bob-joins", "Bob joins Alice's session", lambda: self.join(self.bob, self.alice)),
            ("bob-plays", "Bob places B and traces BUS", self.bob_plays),
            ("alice-plays", "Alice places D and traces USED", self.alice_plays),
            ("chat", "a chat line crosses from Bob to Alice", self.chat_line),
            ("bob-quits", "Bob quits; Alice plays the computer and still hosts",
             lambda: self.quit(self.bob, self.alice)),
            ("bob-returns", "Bob starts again and joins Alice's session again",
             self.bob_returns),
            ("alice-quits", "Alice, the host, quits; Bob plays the computer and takes the "
             "session over", lambda: self.quit(self.alice, self.bob)),
            ("bob-vs-computer", "Bob plays against the computer", self.bob_against_computer),
            ("bob-disconnects", "Bob disconnects and can connect again",
             lambda: self.disconnect(self.bob)),
            ("bob-exits", "Bob quits", lambda: self.bob.quit()),
        ]
        for slug, title, action in steps:
            self.step_number += 1
            label = f"{self.step_number:02d}-{slug}"
            started = time.monotonic()
            try:
                action()
                self.park_mouse()
            except Exception as error:
                try:
                    self.screenshot(f"{label}-FAILED")
                except Exception:
                    pass
                raise StepFailed(f"step {self.step_number} ({title}) failed: {error}") from error
            self.screenshot(label)
            print(f"step {self.step_number} ok ({time.monotonic() - started:.1f} s): {title}",
                  flush=True)

    def launch(self, name, x):
        """Starts a copy of the game in the player's folder, its window at x on top."""
        runs = sum(player.name == name for player in self.players) + 1
        player = Player(name, self.display, os.path.join(self.work_dir, name),
                        os.path.join(self.out_dir, f"{name}-{runs}.log"))
        self.players.append(player)
        player.wait_main_window()
        player.move(player.main, x, 0)
        return player

    def close(self):
        for player in self.players:
            player.stop()
        if self.display:
            self.display.close()

    def screenshot(self, label):
        self.display.grab().save_png(os.path.join(self.out_dir, f"{label}.png"))

    def park_mouse(self):
        self.display.run("xdotool", "mousemove", *map(str, NEUTRAL_POINT))

    # --- steps ---

    def start(self):
        self.display = Display(self.out_dir)
        port = free_port()
        for name in ("Alice", "Bob"):
            lay_program_folder(self.game_dir, os.path.join(self.work_dir, name), name, port)
        self.alice = self.launch("Alice", 0)
        self.bob = self.launch("Bob", 650)
        self.park_mouse()
        self.expect_same_board("both games start with HOUSE")
        shot = self.display.grab()
        for area in AREA_NAMES:
            self.baseline[area] = self.alice.region(shot, area)

    def host(self, player):
        player.key("F3")
        connect = player.wait_window("^Connect$", "connection window")
        # The search finds no session, and a new one may be hosted.
        player.click_and_see(center(GO_BUTTON), HOST_BUTTON, "Host enabled by Go", connect)
        player.click_to_close(center(HOST_BUTTON), connect, "Host")
        self.park_mouse()
        wait_for(f"{player.name}'s window shows the own name",
                 lambda: player.look(PLAYER0) != self.baseline[PLAYER0], 5)
        self.expect(player.look(FACE) == self.baseline[FACE],
                    "the host still plays against the computer: its face is shown")

    def join(self, joiner, host):
        joiner.key("F3")
        connect = joiner.wait_window("^Connect$", "connection window")
        joiner.click_and_see(center(GO_BUTTON), SESSION_LIST,
                             f"{host.name}'s session listed by Go", connect)
        self.expect(has_text(joiner.look(FIRST_SESSION, connect)),
                    f"{joiner.name}'s session list shows {host.name}'s session")
        joiner.click_and_see(center(FIRST_SESSION), FIRST_SESSION, "the session picked", connect)
        joiner.click_to_close(center(JOIN_BUTTON), connect, "Join")
        joiner.wait_title(TITLE, "the own turn: the joiner opens the first game")
        host.wait_title(TITLE_WAITING, f"the wait for {joiner.name}'s first move")
        self.park_mouse()
        self.expect_same_board(f"{host.name} takes {joiner.name}'s start word")
        shot = self.display.grab()
        self.expect(same_text(joiner.region(shot, PLAYER0), host.region(shot, PLAYER1)),
                    f"{host.name}'s window names {joiner.name} as {joiner.name}'s does")
        self.expect(same_text(host.region(shot, PLAYER0), joiner.region(shot, PLAYER1)),
                    f"{joiner.name}'s window names {host.name} as {host.name}'s does")
        for player in (joiner, host):
            self.expect(player.region(shot, FACE) != self.baseline[FACE],
                        f"{player.name}'s window hides the computer's face in a network game")

    def play_word(self, player, letter, placed, trace):
        """Picks a letter, puts it into a free cell, traces the word cell by cell and
        submits it by clicking its last cell again."""
        player.click_and_see(letter_center(letter), (0, 336, CLIENT_W, 68),
                             f"the letter {letter} chosen")
        player.click_and_see(cell_center(*placed), BOARD, f"{letter} placed")
        for cell in trace:
            player.click_and_see(cell_center(*cell), SLOWO, f"the trace through {cell}")
        player.click(cell_center(*trace[-1]))

    def expect_move_crossed(self, mover, other, word_title):
        mover.wait_title(TITLE_WAITING, f"the wait after {word_title}")
        other.wait_title(TITLE, f"{other.name}'s turn after {mover.name}'s {word_title}")
        self.park_mouse()
        self.expect_same_board(f"{mover.name}'s {word_title} is on both boards")
        shot = self.display.grab()
        self.expect(mover.region(shot, BOARD) != self.baseline[BOARD],
                    f"{mover.name}'s letter is on the board")
        self.expect(same_text(mover.region(shot, SCORE1), other.region(shot, SCORE2)),
                    f"{other.name}'s window shows {mover.name}'s score as {mover.name}'s does")
        self.expect(same_text(mover.region(shot, SCORE2), other.region(shot, SCORE1)),
                    f"{other.name}'s own score is the same on both windows")
        self.expect(same_text(mover.region(shot, WORDS1), other.region(shot, WORDS2)),
                    f"{other.name}'s word list for {mover.name} shows {word_title}")
        return shot

    def bob_plays(self):
        self.play_word(self.bob, "B", (3, 4), [(3, 4), (3, 3), (4, 3)])
        shot = self.expect_move_crossed(self.bob, self.alice, "BUS")
        self.expect(not same_text(self.bob.region(shot, SCORE1), self.baseline[SCORE1]),
                    "Bob's score has grown")
        self.expect(same_text(self.alice.region(shot, SCORE1), self.baseline[SCORE1]),
                    "Alice's score is still 000")
        self.bus_score = self.bob.region(shot, SCORE1)

    def alice_plays(self):
        self.play_word(self.alice, "D", (5, 4), [(3, 3), (4, 3), (5, 3), (5, 4)])
        shot = self.expect_move_crossed(self.alice, self.bob, "USED")
        self.expect(not same_text(self.alice.region(shot, SCORE1), self.bob.region(shot, SCORE1)),
                    "Alice's 4 points and Bob's 3 show differently")

    def open_chat(self, player, x):
        player.key("F5")
        player.chat = player.wait_window("^Chat", "chat window")
        player.move(player.chat, x, 480)

    def chat_lines(self, player):
        return text_lines(player.look(CHAT_MEMO, player.chat))

    def chat_line(self):
        alice, bob = self.alice, self.bob
        self.open_chat(alice, 0)
        self.open_chat(bob, 650)
        self.expect_chat_caption(alice, "Chat ( Alice - Bob )")
        self.expect_chat_caption(bob, "Chat ( Bob - Alice )")
        alice_before = self.chat_lines(alice)
        bob_before = self.chat_lines(bob)
        bob.click(center(CHAT_EDIT), bob.chat)
        bob.focus(bob.chat)
        self.display.run("xdotool", "type", "--delay", "30", CHAT_LINE)
        self.display.run("xdotool", "key", "Return")
        sent = wait_for("Bob's chat log shows his line",
                        lambda: len(self.chat_lines(bob)) > len(bob_before) and
                        self.chat_lines(bob)[-1], 10)
        wait_for("Alice's chat log shows Bob's line",
                 lambda: shows_line(self.chat_lines(alice), sent), 10)
        self.expect(not shows_line(alice_before, sent), "Bob's line was not in Alice's log before")

    def quit(self, leaver, stayer):
        """The one who stays is back in a game against the computer, alone in the session."""
        lines_before = len(self.chat_lines(stayer))
        leaver.quit()
        stayer.wait_title(TITLE, "a game of the own")
        for area in (FACE, BOARD, SCORE1, SCORE2, WORDS2, PLAYER1):
            wait_for(f"{stayer.name}'s {AREA_NAMES[area]} is as at the start of a game against "
                     "the computer", lambda: stayer.look(area) == self.baseline[area], 10)
        self.expect(len(self.chat_lines(stayer)) == lines_before + 1,
                    f"{stayer.name}'s chat log tells that {leaver.name} left")
        self.expect_chat_caption(stayer, f"Chat ( {stayer.name} -  )")
        self.expect(stayer.look(PLAYER0) != self.baseline[PLAYER0],
                    f"{stayer.name} stays in the session: the own name is shown")
        # While in a session, Connect stays disabled: F3 opens no connection window.
        stayer.key("F3")
        time.sleep(1)
        self.expect(not stayer.windows("^Connect$"),
                    f"no connection window while {stayer.name} is in the session")

    def bob_returns(self):
        self.bob = self.launch("Bob", 650)
        self.join(self.bob, self.alice)
        self.open_chat(self.bob, 650)
        self.expect_chat_caption(self.bob, "Chat ( Bob - Alice )")

    def bob_against_computer(self):
        bob = self.bob
        self.play_word(bob, "B", (3, 4), [(3, 4), (3, 3), (4, 3)])
        self.park_mouse()
        wait_for("the computer has answered with a word",
                 lambda: not same_text(bob.look(SCORE2), self.baseline[SCORE2]), 15)
        bob.wait_title(TITLE, "his turn after the computer's move")
        self.expect(bob.look(SCORE1) == self.bus_score, "BUS scores as in the network game")

    def disconnect(self, player):
        player.key("F4")
        wait_for(f"{player.name}'s name is gone after Disconnect",
                 lambda: player.look(PLAYER0) == self.baseline[PLAYER0], 5)
        self.expect(player.look(SCORE1) == self.baseline[SCORE1], "Disconnect starts a new game")
        player.key("F3")
        connect = player.wait_window("^Connect$", "connection window, Connect enabled again")
        player.click_to_close(center(CANCEL_BUTTON), connect, "Cancel")

    # --- checks ---

    def expect(self, condition, what):
        if not condition:
            raise StepFailed(f"expected: {what}")

    def expect_chat_caption(self, player, caption):
        shown = player.title(player.chat)
        self.expect(shown == caption,
                    f"{player.name}'s chat caption \"{caption}\", not \"{shown}\"")

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
        test = None
        try:
            test = TwoPlayers(os.path.abspath(args.game), args.out, work_dir)
            test.run()
        except StepFailed as error:
            print(f"e2e two players FAILED: {error}\nScreenshots and logs: {args.out}",
                  file=sys.stderr)
            return 1
        finally:
            if test:
                test.close()
    print(f"e2e two players passed in {time.monotonic() - started:.1f} s; "
          f"screenshots in {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
