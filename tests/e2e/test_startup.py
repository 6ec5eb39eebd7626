"""Start-up: the settings file and the window it gives, and a start without a display."""

import os
import unittest

import harness


def write_settings(text):
    def prepare(assets):
        with open(os.path.join(assets, "settings.ini"), "w") as file:
            file.write(text)
    return prepare


def remove_settings(assets):
    os.remove(os.path.join(assets, "settings.ini"))


class StartupTest(unittest.TestCase):
    def run_game(self, **kwargs):
        game = harness.GameRun(**kwargs)
        self.addCleanup(game.close)
        return game

    def test_missing_settings_file_uses_defaults(self):
        game = self.run_game(prepare=remove_settings)
        game.wait_window()
        self.assertIn("ERROR: Failed to load 'assets/settings.ini'. Using default values instead.\n",
                      game.stdout())
        self.assertEqual((800, 600), game.geometry())
        self.assertEqual("Chronocell", game.title())
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit())

    def test_settings_are_read_with_hex_sizes_and_a_title(self):
        game = self.run_game(prepare=write_settings(
            "[WINDOW]\nWIDTH = 0x400\nheight = 500px\ntitle = Chronocell Test ; a comment\n"))
        game.wait_window("^Chronocell Test$")
        self.assertEqual((1024, 500), game.geometry())
        self.assertNotIn("ERROR", game.stdout())
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit())

    def test_no_window_fails_with_minus_one_and_says_why(self):
        """No display at all, and a driver without OpenGL 4.3: the fixed line on standard
        output, exit 255, and GLFW's reason with what the game needs on standard error."""
        cases = (
            ("no display", dict(display=False), "The DISPLAY environment variable is missing"),
            ("OpenGL 3.3 only", dict(env={"MESA_GL_VERSION_OVERRIDE": "3.3"}),
             "Failed to create context"),
        )
        for name, arguments, reason in cases:
            with self.subTest(name):
                game = self.run_game(**arguments)
                self.assertEqual(255, game.wait_exit())
                self.assertEqual("Failes to create GLFW window\n", game.stdout())
                lines = game.stderr().splitlines()
                self.assertEqual(1, len(lines), game.stderr())
                self.assertRegex(lines[0], "^chronocell: cannot open the game's window: .*" +
                                 reason + ".* needs an X display and OpenGL 4.3 core")


if __name__ == "__main__":
    harness.main()
