"""Sound heard through SDL's disk audio driver, which writes the mixed stream (16-bit stereo at
44.1 kHz) to a file as it would play it: a jump is heard right after Space, M silences the mix,
and sound turned off in the settings opens no device."""

import math
import os
import shutil
import struct
import tempfile
import time
import unittest

import harness

BYTES_PER_SECOND = 44100 * 4
# Half a second of the mix is 50 windows of 10 ms.
WINDOW_BYTES = 441 * 4
# The jump, at the default volume, stands well above the meadow under it.
JUMP_ABOVE_MEADOW_DB = 8.0
# A key reaches the mix within a few frames and a buffer or two of the device.
REACTION_SECONDS = 0.5


def window_levels_db(data):
    """The level of each 10 ms of the mix, in dB below full scale."""
    levels = []
    for start in range(0, len(data) - WINDOW_BYTES + 1, WINDOW_BYTES):
        values = struct.unpack("<%dh" % (WINDOW_BYTES // 2), data[start:start + WINDOW_BYTES])
        power = sum(v * v for v in values) / len(values) / 32768.0 ** 2
        levels.append(10 * math.log10(power) if power > 0 else -200.0)
    return levels


def sound_off(assets):
    with open(os.path.join(assets, "settings.ini"), "w") as file:
        file.write("[audio]\nenabled = false\n")


def quit_game(game):
    """Escape leaves the game for the start screen, a second Escape quits."""
    game.tap("Escape")
    game.sync(2)
    game.tap("Escape")
    return game.wait_exit()


class SoundTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="chronocell-sound-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.mix = os.path.join(self.folder, "mix.raw")

    def start(self, prepare=None, driver="disk"):
        game = harness.GameRun(prepare=prepare, env={"SDL_AUDIODRIVER": driver,
                                                     "SDL_DISKAUDIOFILE": self.mix})
        self.addCleanup(game.close)
        game.wait_window()
        return game

    def mixed_so_far(self):
        with open(self.mix, "rb") as file:
            return file.read()

    @harness.needs_game_speed
    def test_space_is_heard_as_a_jump_and_m_silences_the_mix(self):
        game = self.start()
        game.tap("Return")
        game.wait_for_play()
        # Space while the meadow fades in, long before a stone can reach the runner.
        time.sleep(0.3)
        pressed_at = len(self.mixed_so_far())
        game.hold("space")
        time.sleep(REACTION_SECONDS)
        levels = window_levels_db(self.mixed_so_far()[pressed_at - BYTES_PER_SECOND // 2:])
        before, after = levels[:50], levels[50:]
        meadow = max(before)
        self.assertGreater(meadow, -60.0, "the meadow plays under the game")
        self.assertGreater(max(after), meadow + JUMP_ABOVE_MEADOW_DB, (meadow, after))
        game.tap("m")
        game.sync(2)
        time.sleep(0.1)
        muted_at = len(self.mixed_so_far())
        game.hold("space")
        time.sleep(REACTION_SECONDS)
        muted = self.mixed_so_far()[muted_at:]
        self.assertGreater(len(muted), BYTES_PER_SECOND // 4)
        self.assertEqual(bytes(len(muted)), muted, "nothing is heard while muted")
        self.assertEqual("", game.stdout())

    def test_with_sound_off_or_no_device_the_game_plays_silently(self):
        """Sound turned off opens no device and says nothing; a device that does not open is
        one line on standard error."""
        for prepare, driver, said in ((sound_off, "disk", ""), (None, "no-such-driver", (
                r"Sound is off: no audio device could be opened \(.+\)\n"))):
            with self.subTest(driver=driver):
                game = self.start(prepare, driver)
                game.tap("Return")
                game.wait_for_play()
                game.hold("space")
                self.assertEqual(0, quit_game(game))
                self.assertFalse(os.path.exists(self.mix))
                self.assertEqual("", game.stdout())
                self.assertRegex(game.stderr(), "^" + said + "$")


if __name__ == "__main__":
    harness.main()
