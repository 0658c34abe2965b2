#!/usr/bin/env python3
"""A short game against the computer under Xvfb, then its review.

The person plays AH, the computer (at the shipped strength, five letters at most) finds no
word, the person passes until the game ends; the result and records windows are closed, a new game begins, and Game > Review last
game opens the review of the game that ended. The review window shows the first turn's board
with both paths; a picture of the main window and the review beside it is saved.

Usage: review_screenshot.py --game build/game --out build/e2e-review --screenshot FILE.png
Needs Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh installs them).
"""

import os
import shutil
import signal
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import two_players as e2e  # noqa: E402

DICTIONARY = ["HOUSE", "AH", "HOUSES"]
SKIP_BUTTON = (20, 50, 100, 30)
REVIEW_TITLE = "Review last game"
REVIEW_AT = (600, 0)
# The review's board view (left, top, cell side) and the played path's tint, in its window.
REVIEW_BOARD = (456, 8, 34)
PLAYED_TINT = (120, 170, 255)
TIME_LIMIT = 100


def lay_folder(game_dir, folder):
    shutil.copytree(game_dir, folder)
    e2e.set_ini_values(os.path.join(folder, "Kordi2000.ini"),
                       {"Kordi": {"LanguageNumber": "2", "Sound": "0"}})
    with open(os.path.join(folder, "DATA", "Lib.ENG"), "wb") as f:
        f.write("".join(word + "\r\n" for word in DICTIONARY).encode("ascii"))


class ReviewAfterGame:
    def __init__(self, display, player):
        self.display, self.player = display, player

    def run(self, screenshot):
        player = self.player
        player.wait_main_window()
        player.move(player.main, 0, 0)
        for point in [e2e.letter_center("A"), e2e.cell_center(1, 2), e2e.cell_center(1, 2),
                      e2e.cell_center(1, 3), e2e.cell_center(1, 3)]:
            player.click(point)
            time.sleep(0.3)
        self.computer_answers("the computer answers AH")
        for _ in range(3):
            player.click(e2e.center(SKIP_BUTTON))
            if self.computer_answers("the computer answers a pass"):
                break
        # The result window, then the records window; each goes with Esc.
        for what in ("result window", "records window"):
            window = player.wait_until_shown(self.other_window, what, 15)
            player.key("Escape", window)
            player.wait_window_gone(window, what)
        review = self.open_review()
        player.move(review, *REVIEW_AT)
        left, top, side = REVIEW_BOARD
        x, y = player.origin(review)
        e2e.wait_for("the review shows the first turn's played path",
                     lambda: self.tint_at(x + left + 3, y + top + side + 3) == PLAYED_TINT, 10)
        picture = self.display.grab()
        width, height = player.geometry(review)[2:]
        picture.crop(0, 0, REVIEW_AT[0] + width, max(height, 460)).save_png(screenshot)

    def computer_answers(self, what):
        """Waits until the computer has moved; true when the game has ended with it."""
        e2e.wait_for(f"{what}: the title shows the wait",
                     lambda: self.player.title() == e2e.TITLE_WAITING, 5, 0.05)
        e2e.wait_for(what, lambda: self.other_window() or self.player.title() == e2e.TITLE, 15)
        return self.other_window() is not None

    def other_window(self):
        others = [w for w in self.player.windows(".") if w != self.player.main]
        return others[0] if len(others) == 1 else None

    def open_review(self):
        """Game is the first menu of the bar above the client area; its third item is the
        review."""
        x, y = self.player.client_origin()
        self.display.run("xdotool", "mousemove", str(x + 20), str(y - 10), "click", "1")
        time.sleep(0.5)
        self.display.run("xdotool", "key", "Down", "Down", "Down", "Return")
        return self.player.wait_window(f"^{REVIEW_TITLE}$", "review window")

    def tint_at(self, x, y):
        picture = self.display.grab().crop(x, y, 1, 1)
        return tuple(picture.rgb[:3])


def main():
    parser = e2e.argument_parser(__doc__.splitlines()[0])
    parser.add_argument("--screenshot", required=True, help="the picture of the review")
    args = parser.parse_args()
    if e2e.tools_missing():
        return 1
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)

    def out_of_time(signum, _frame):
        raise e2e.OutOfTime(f"the test ran out of its {TIME_LIMIT} s")
    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(TIME_LIMIT)
    display = player = None
    with tempfile.TemporaryDirectory(prefix="kordi-review-") as work_dir:
        try:
            display = e2e.Display(args.out)
            folder = os.path.join(work_dir, "game")
            lay_folder(os.path.abspath(args.game), folder)
            player = e2e.Player("Carol", display, folder, os.path.join(args.out, "game.log"))
            ReviewAfterGame(display, player).run(args.screenshot)
        except e2e.StepFailed as error:
            if display:
                display.grab().save_png(os.path.join(args.out, "FAILED.png"))
            print(f"e2e review FAILED: {error}\nLogs: {args.out}", file=sys.stderr)
            return 1
        finally:
            if player:
                player.stop()
            if display:
                display.close()
    print(f"e2e review passed; picture in {args.screenshot}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
