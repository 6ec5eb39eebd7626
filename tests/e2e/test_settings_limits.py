"""Settings the window cannot take, end to end: each run must open a usable window, play and
exit with 0. Sizes of zero or below fall back to the defaults, sizes beyond the screen are
brought down to it, brightness is clamped, and a title is passed on as the reader gives it."""

import os
import tempfile
import random
import time
import unittest

import harness

SCREEN = (1024, 768)
MEGABYTE = 1 << 20
# The longest piece of a line the settings reader takes at once.
INI_LINE_PIECE = 199


def settings_bytes(data):
    def prepare(assets):
        with open(os.path.join(assets, "settings.ini"), "wb") as file:
            file.write(data)
    return prepare


def settings_text(text):
    return settings_bytes(text.encode("latin-1"))


class SettingsLimitsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.xvfb = harness.Xvfb()

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.stop()

    def play(self, prepare, title=".", env=None):
        """Starts the game, checks it plays (Escape in play does not quit) and exits with 0;
        returns the window's size and title and the game's standard output, and keeps its
        standard error in self.errors."""
        game = harness.GameRun(prepare=prepare, xvfb=self.xvfb, env=env)
        self.addCleanup(game.close)
        game.wait_window(title, timeout=60)
        size, name = game.geometry(), game.title()
        game.tap("Return")
        game.sync(2)
        game.tap("Escape")
        self.assertTrue(game.sync(2), "the game was playing, Escape went back")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit(timeout=30), game.stdout() + game.stderr())
        self.assertEqual([], game.gl_errors())
        self.errors = game.stderr()
        return size, name, game.stdout()

    def test_the_players_own_file_overrides_the_shipped_one_key_by_key(self):
        config = tempfile.mkdtemp(prefix="chronocell-config-")
        os.makedirs(os.path.join(config, "chronocell"))
        with open(os.path.join(config, "chronocell", "settings.ini"), "w") as file:
            file.write("[window]\nwidth = 640\nheight = abc\n")
        size, name, out = self.play(
            settings_text("[window]\nheight = 500\ntitle = Shipped\nwidht = 1\n"),
            title="^Shipped$", env={"XDG_CONFIG_HOME": config})
        self.assertEqual(((640, 500), "Shipped", ""), (size, name, out))
        # The game names each file's mistakes once, at start-up, the shipped file's first.
        named = [line for line in self.errors.splitlines() if "settings.ini:" in line]
        self.assertEqual(2, len(named), self.errors)
        self.assertRegex(named[0], r"^chronocell: .*assets/settings\.ini:4: unknown key 'widht' "
                                   r"in \[window\]; ignored$")
        self.assertEqual("chronocell: %s:3: height = abc is not a number; keeping 500"
                         % os.path.join(config, "chronocell", "settings.ini"), named[1])

    def test_sizes_of_zero_or_below_fall_back_to_the_defaults(self):
        for width, height in (("0", "0"), ("-1024", "-1"), ("-0x10", "600")):
            with self.subTest(width=width, height=height):
                size, _, out = self.play(settings_text(
                    "[window]\nwidth = %s\nheight = %s\n" % (width, height)))
                self.assertEqual((800, 600), size)
                self.assertEqual("", out)

    def test_sizes_beyond_the_screen_are_brought_down_to_it(self):
        for width, height, expected in (("100000", "100000", SCREEN),
                                        ("2147483647", "500", (SCREEN[0], 500)),
                                        ("99999999999999999999", "700", (SCREEN[0], 700))):
            with self.subTest(width=width, height=height):
                start = time.time()
                size, _, _ = self.play(settings_text(
                    "[window]\nwidth = %s\nheight = %s\n" % (width, height)))
                self.assertEqual(expected, size)
                self.assertLess(time.time() - start, 30, "a screen-sized window stays playable")

    def test_brightness_outside_zero_to_one_still_plays(self):
        for value in ("7.5", "-3", "nan", "inf", "1e400"):
            with self.subTest(brightness=value):
                _, _, out = self.play(settings_text("[window]\nshader_brightness = %s\n" % value))
                self.assertEqual("", out)

    def test_long_titles_are_cut_by_the_reader_and_other_bytes_kept(self):
        # The settings reader takes a line in pieces of at most 199 characters: a title keeps
        # what fits after "title = ", and the rest of the line is read as lines of their own,
        # skipped here for want of an "=".
        long_title = "Chronocell" * 100
        line = "title = %s" % long_title
        _, name, _ = self.play(settings_text("[window]\n%s\n" % line))
        self.assertEqual(line[len("title = "):INI_LINE_PIECE], name)
        # Bytes above 127 that are not valid UTF-8 reach the window system unchanged.
        _, name, _ = self.play(settings_bytes(b"[window]\ntitle = Chr\xe9\xff\x80nocell\n"))
        self.assertTrue(name.startswith("Chr") and name.endswith("nocell"), name)

    def test_a_megabyte_of_junk_gives_every_default(self):
        generator = random.Random(8)
        junk = bytes(generator.getrandbits(8) for _ in range(MEGABYTE))
        size, name, out = self.play(settings_bytes(junk), title="^Chronocell$")
        self.assertEqual((800, 600), size)
        self.assertEqual("Chronocell", name)
        self.assertEqual("", out)


if __name__ == "__main__":
    harness.main()
