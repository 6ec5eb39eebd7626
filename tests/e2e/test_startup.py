"""Start-up, settings, screens and the key commands that move between states."""

import os
import time
import unittest

import harness


def write_settings(text):
    def prepare(assets):
        with open(os.path.join(assets, "settings.ini"), "w") as file:
            file.write(text)
    return prepare


def remove_settings(assets):
    os.remove(os.path.join(assets, "settings.ini"))


def is_black(r, g, b):
    return r < 16 and g < 16 and b < 16


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
        game.press("Escape")
        self.assertEqual(0, game.wait_exit())

    def test_settings_are_read_with_hex_sizes_and_a_title(self):
        game = self.run_game(prepare=write_settings(
            "[WINDOW]\nWIDTH = 0x400\nheight = 500px\ntitle = Chronocell Test ; a comment\n"))
        game.wait_window("^Chronocell Test$")
        self.assertEqual((1024, 500), game.geometry())
        self.assertNotIn("ERROR", game.stdout())
        game.press("Escape")
        self.assertEqual(0, game.wait_exit())

    def test_enter_then_escape_returns_to_start_screen_and_second_escape_exits(self):
        # A stone can end a game within a second, and Escape on the lost screen quits; such a
        # game is tried again.
        for attempt in range(6):
            game = self.run_game()
            game.wait_window()
            game.press("Return", hold=0.1, settle=0.0)
            if game.wait_for_play() is None:
                continue
            game.press("Escape", hold=0.05, settle=0.5)
            if game.process.poll() is None:
                break
        else:
            self.fail("every game was lost before Escape arrived")
        shot = game.screenshot("e2e_start_after_escape")
        self.assertTrue(is_black(*shot.pixel(5, 5)), "the start screen has a black background")
        game.press("Escape")
        self.assertEqual(0, game.wait_exit())
        self.assertNotIn("** GL ERROR **", game.stderr())

    def test_no_display_fails_with_minus_one(self):
        game = self.run_game(display=False)
        self.assertEqual(255, game.wait_exit())
        self.assertEqual("Failes to create GLFW window\n", game.stdout())


if __name__ == "__main__":
    harness.main()
