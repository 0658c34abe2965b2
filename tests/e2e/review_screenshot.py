#!/usr/bin/env python3
"""A short game against the computer under Xvfb, then its review.

The person plays AH, the computer (at the shipped strength, five letters at most) finds no
word, the person passes until the game ends; the result and records windows are closed, a new
game begins, and Game > Review last game opens the review of the game that ended. The review
window shows the first turn's board with both paths; a picture of the main window and the
review beside it is saved.

Usage: review_screenshot.py --game build/game --out build/e2e-review --screenshot FILE.png
Needs Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xgame import (TITLE, TITLE_WAITING, Player, cell_center, center,  # noqa: E402
                   lay_folder, letter_center, run_script, wait_for, x_run)

DICTIONARY = ["HOUSE", "AH", "HOUSES"]
SKIP_BUTTON = (20, 50, 100, 30)
REVIEW_AT = (600, 0)
# The review's board view (left, top, cell side) and the played path's tint, in its window.
REVIEW_BOARD = (456, 8, 34)
PLAYED_TINT = bytes((120, 170, 255))


class ReviewAfterGame:
    def __init__(self, player):
        self.player = player

    def run(self, screenshot):
        player = self.player
        player.wait_main_window(0)
        for point in [letter_center("A"), cell_center(1, 2), cell_center(1, 2),
                      cell_center(1, 3), cell_center(1, 3)]:
            player.click(point)
            time.sleep(0.3)
        self.computer_answers("the computer answers AH")
        for _ in range(3):
            player.click(center(SKIP_BUTTON))
            if self.computer_answers("the computer answers a pass"):
                break
        # The result window, then the records window; each goes with Esc.
        for what in ("result window", "records window"):
            window = player.wait_shown(self.other_window, what)
            player.key("Escape", window)
            wait_for(f"the {what} closes", lambda: window not in player.windows("."))
        review = self.open_review()
        player.move(review, *REVIEW_AT)
        left, top, side = REVIEW_BOARD
        wait_for("the review shows the first turn's played path",
                 lambda: player.look((left + 3, top + side + 3, 1, 1), review) == PLAYED_TINT)
        width, height = player.geometry(review)[2:]
        x_run("import", "-window", "root", "-crop",
                         f"{REVIEW_AT[0] + width}x{max(height, 460)}+0+0", screenshot)

    def computer_answers(self, what):
        """Waits until the computer has moved; true when the game has ended with it."""
        wait_for(f"{what}: the title shows the wait",
                 lambda: self.player.title() == TITLE_WAITING, 5, 0.05)
        wait_for(what, lambda: self.other_window() or self.player.title() == TITLE, 15)
        return self.other_window() is not None

    def other_window(self):
        others = [w for w in self.player.windows(".") if w != self.player.main]
        return others[0] if len(others) == 1 else None

    def open_review(self):
        """Game is the first menu of the bar above the client area; its third item is the
        review."""
        x, y = self.player.origin()
        x_run("xdotool", "mousemove", str(x + 20), str(y - 10), "click", "1")
        time.sleep(0.5)
        x_run("xdotool", "key", "Down", "Down", "Down", "Return")
        return self.player.wait_window("^Review last game$", "review window")


def review(args, work_dir, players):
    folder = os.path.join(work_dir, "game")
    lay_folder(os.path.abspath(args.game), folder, DICTIONARY, {})
    players.append(Player("Carol", folder, os.path.join(args.out, "game.log")))
    ReviewAfterGame(players[0]).run(args.screenshot)


if __name__ == "__main__":
    sys.exit(run_script(__doc__.splitlines()[0], review,
                        ("--screenshot", "the picture of the review")))
