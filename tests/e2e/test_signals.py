"""Ctrl+C, kill and a closed terminal end the game as closing its window does, with a sound
device open (SDL's dummy driver), and the recording being made replays."""

import os
import signal
import tempfile
import unittest

import harness

# Far more than the shutdown takes; a game that ignores the signal never exits at all.
SHUTDOWN_SECONDS = 10


class SignalTest(unittest.TestCase):
    def test_int_term_and_hup_end_a_recorded_game_with_sound_on(self):
        for name in ("SIGINT", "SIGTERM", "SIGHUP"):
            with self.subTest(signal=name):
                folder = tempfile.mkdtemp(prefix="chronocell-signal-")
                recording = os.path.join(folder, "game.ccr")
                game = harness.GameRun(arguments=["--record", recording])
                self.addCleanup(game.close)
                game.wait_window()
                game.tap("Return")
                game.wait_for_play("e2e_signal_" + name)
                game.process.send_signal(getattr(signal, name))
                self.assertEqual(0, game.wait_exit(timeout=SHUTDOWN_SECONDS))
                self.assertNotIn("Sound is off", game.stderr())
                recorded = game.stdout()
                self.assertRegex(recorded, r"^game 1: unfinished, [^\n]*\n$")
                headless = harness.replay_headless(recording)
                self.assertEqual((0, recorded, ""), (headless.returncode, headless.stdout,
                                                     headless.stderr))


if __name__ == "__main__":
    harness.main()
