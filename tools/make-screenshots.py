#!/usr/bin/env python3
"""Takes the README's pictures from the real game under a private Xvfb: the start screen and a
game in progress, cropped to the 800 x 600 window. Usage: make-screenshots.py BINARY OUT_DIR"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402


def crop_to_window(picture, target):
    picture.save(target, (0, 0, 800, 600))


def main():
    binary, out_dir = sys.argv[1], sys.argv[2]
    harness.OPTIONS.binary = os.path.abspath(binary)
    harness.OPTIONS.source = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
    harness.OPTIONS.shots = os.path.abspath(os.path.join(out_dir, ".raw"))
    os.makedirs(out_dir, exist_ok=True)
    # A stone may end a game before the picture; try until one shows the run in progress.
    for attempt in range(10):
        game = harness.GameRun()
        try:
            game.wait_window()
            time.sleep(0.5)
            start = game.screenshot("start")
            game.tap("Return")
            game.wait_for_play()
            # A second into the run the frame rate is shown; a jump shows the runner's leap.
            game.key_down("space")
            time.sleep(1.2)
            playing = game.screenshot("playing")
            game.key_up("space")
            if not harness.Picture.is_red_screen(playing):
                crop_to_window(start, os.path.join(out_dir, "start-screen.png"))
                crop_to_window(playing, os.path.join(out_dir, "in-game.png"))
                return 0
        finally:
            game.close()
    print("no picture of a game in progress could be taken", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
