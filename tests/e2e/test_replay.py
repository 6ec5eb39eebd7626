"""A game recorded with the real binary, replayed in a window and headless: the same games, and
the same last picture."""

import os
import signal
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

        headless = harness.replay_headless(recording)
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

    def test_a_game_killed_on_its_last_screen_replays_whole(self):
        """The game's end is in the file though the process dies a second later, without a
        chance to close it (which the replay tells), and a refresh rate the settings keep beyond the keys' range comes
        back. (Many games started in one pass are recorded through the recorder's unit tests: a
        burst of keys cannot be made to land in one pass from here.)"""
        def prepare(assets):
            with open(os.path.join(assets, "settings.ini"), "w") as file:
                file.write("[window]\nrefresh_rate = 1440\n")

        folder = tempfile.mkdtemp(prefix="chronocell-crash-")
        recording = os.path.join(folder, "game.ccr")
        game = harness.GameRun(prepare=prepare, arguments=["--record", recording])
        self.addCleanup(game.close)
        game.wait_window()
        game.tap("Return")
        game.wait_for_play("e2e_crash_play")
        game.hold("a")
        self.last_picture(game, "e2e_crash_lost")
        time.sleep(1.0)
        game.process.send_signal(signal.SIGKILL)
        game.process.wait(timeout=10)
        recorded = game.stdout()
        self.assertRegex(recorded, r"^game 1: lost, [^\n]*\n$")

        headless = harness.replay_headless(recording)
        self.assertEqual((0, recorded), (headless.returncode, headless.stdout), headless.stderr)
        # Killed, the recorder never wrote its closing record: the file says it ends early.
        self.assertRegex(headless.stderr, r"^chronocell: .*game\.ccr ends early, after pass "
                                          r"[0-9]+ at byte [0-9]+, with no closing record; the "
                                          r"passes before it are replayed\n$")


if __name__ == "__main__":
    harness.main()
