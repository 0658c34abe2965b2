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

import os
import socket
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xgame import (BOARD, TITLE, TITLE_WAITING, Player, StepFailed, center,  # noqa: E402
                   expect, lay_folder, park_mouse, run_script, screenshot, wait_for, x_run)

# Regions of the main window's client area (left, top, width, height).
SCORE2 = (400, 60, 50, 20)
PLAYER0, PLAYER1 = (20, 87, 140, 21), (420, 87, 140, 21)
FACE = (455, 8, 104, 74)
# The connection window and the chat window, relative to their own windows.
GO_BUTTON = (225, 50, 65, 30)
SESSION_LIST = (10, 122, 280, 80)
FIRST_SESSION = (10, 124, 280, 16)
JOIN_BUTTON, HOST_BUTTON = (10, 302, 88, 28), (106, 302, 88, 28)
CHAT_MEMO = (6, 6, 290, 192)
CHAT_EDIT = (4, 206, 228, 22)
DICTIONARY = ["BUS", "HOUSE", "SEA", "USED"]  # HOUSE: the only start word


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


class TwoPlayers:
    def __init__(self, game_dir, out_dir, work_dir, players):
        self.game_dir, self.out_dir, self.work_dir = game_dir, out_dir, work_dir
        self.players = players
        self.alice = self.bob = None
        self.baseline = {}  # the areas at the start of a game against the computer

    def run(self):
        steps = [("both games start", self.start), ("Alice hosts a session", self.host),
                 ("Bob joins Alice's session", self.join),
                 ("Bob places B and traces BUS", lambda: self.play(
                     self.bob, self.alice, "B", (3, 4), [(3, 4), (3, 3), (4, 3)])),
                 ("Alice places D and traces USED", lambda: self.play(
                     self.alice, self.bob, "D", (5, 4), [(3, 3), (4, 3), (5, 3), (5, 4)])),
                 ("a chat line crosses from Bob to Alice", self.chat_line),
                 ("Bob quits; Alice is back to a game against the computer", self.quit),
                 ("Alice plays the computer, which answers", self.vs_computer),
                 ("Alice quits", lambda: self.alice.quit())]
        for number, (title, action) in enumerate(steps, 1):
            started = time.monotonic()
            try:
                action()
                park_mouse()
            except StepFailed as error:
                raise StepFailed(f"step {number} ({title}) failed: {error}") from error
            screenshot(os.path.join(self.out_dir, f"step-{number:02d}.png"))
            print(f"step {number} ok ({time.monotonic() - started:.1f} s): {title}", flush=True)

    def start(self):
        port = free_port()
        for name, x in (("Alice", 0), ("Bob", 650)):
            folder = os.path.join(self.work_dir, name)
            lay_folder(self.game_dir, folder, DICTIONARY, dict(
                Port=str(port), HostName="127.0.0.1", Name=name, AutoPopUpChat="0"))
            player = Player(name, folder, os.path.join(self.out_dir, f"{name}.log"))
            self.players.append(player)
            player.wait_main_window(x)
        self.alice, self.bob = self.players
        park_mouse()
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
        park_mouse()
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
        park_mouse()
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
        park_mouse()
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
        x_run("xdotool", "type", "--delay", "30", "hello Alice, nice move")
        x_run("xdotool", "key", "Return")
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
        park_mouse()
        wait_for("the computer has answered with a word",
                 lambda: alice.look(SCORE2) != self.baseline[SCORE2], 15)
        alice.wait_title(TITLE, "her turn after the computer's move")

    def expect_same_board(self, what):
        wait_for(what, lambda: self.alice.look(BOARD) == self.bob.look(BOARD), 10)


def play(args, work_dir, players):
    TwoPlayers(os.path.abspath(args.game), args.out, work_dir, players).run()


if __name__ == "__main__":
    sys.exit(run_script(__doc__.splitlines()[0], play))
