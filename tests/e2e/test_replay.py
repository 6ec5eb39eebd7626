"""A game recorded with the real binary, replayed in a window and headless: the same games, and
the same last picture."""

import os
import subprocess
import tempfile
import time
import unittest

import harness


def is_lost_screen(shot):
    return harness.Picture.is_red_screen(shot)


class ReplayTest(unittest.TestCase):
    def last_picture(self, game, name):
        """The lost screen once the picture has stopped changing."""
        deadline = time.time() + 120
        previous = game.screenshot(name)
        while time.time() < deadline:
            time.sleep(0.5)
            shot = game.screenshot(name)
            if shot.pixels == previous.pixels and is_lost_screen(shot):
                return shot.save()
            previous = shot
        self.fail("no lost screen came to stay")

    def test_a_recorded_game_replays_to_the_same_end(self):
        folder = tempfile.mkdtemp(prefix="chronocell-replay-")
        recording = os.path.join(folder, "game.ccr")
        game = harness.GameRun(arguments=["--record", recording])
        self.addCleanup(game.close)
        game.wait_window()
        game.tap("Return")
        game.wait_for_play("e2e_replay_play")
        game.hold("a")
        recorded_end = self.last_picture(game, "e2e_replay_recorded_end")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit())
        summary = game.stdout()
        self.assertRegex(summary, r"^game 1: lost, [0-9]+ clocks?, [0-9.]+ s, [0-9]+ frames")

        headless = subprocess.run([harness.OPTIONS.binary, "--replay", recording, "--headless"],
                                  capture_output=True, text=True, timeout=120,
                                  env=dict(os.environ, LD_PRELOAD=harness.OPTIONS.preload))
        self.assertEqual((0, summary, ""), (headless.returncode, headless.stdout,
                                            headless.stderr))

        replay = harness.GameRun(arguments=["--replay", recording])
        self.addCleanup(replay.close)
        replay.wait_window()
        replayed_end = self.last_picture(replay, "e2e_replay_replayed_end")
        self.assertTrue(replayed_end.pixels == recorded_end.pixels,
                        "the replay ends on the recording's last picture")
        self.assertTrue(replay.sync(2), "the replay keeps its last picture until Escape")
        replay.tap("Escape")
        self.assertEqual(0, replay.wait_exit())
        self.assertEqual(summary, replay.stdout())


if __name__ == "__main__":
    harness.main()
