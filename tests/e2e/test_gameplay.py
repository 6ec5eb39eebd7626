"""A game played through the real binary: the scene and texts, lanes and jumps, losing to a
stone, restarting, and leaving."""

import time
import unittest

import harness


def is_red(r, g, b):
    return r > 200 and g < 40 and b < 40


def is_green(r, g, b):
    return g > 180 and r < 80 and b < 80


def is_white(r, g, b):
    return r > 220 and g > 220 and b > 220


class GameplayTest(unittest.TestCase):
    def start_game(self):
        game = harness.GameRun()
        self.addCleanup(game.close)
        game.wait_window()
        game.press("Return")
        time.sleep(1.5)
        return game

    def test_a_game_shows_the_world_and_the_status_texts(self):
        game = self.start_game()
        shot = game.screenshot("e2e_in_game")
        width, height = shot.width, shot.height
        self.assertEqual((1024, 768), (width, height))
        # The window sits at the top-left of the screen; its picture is 800 x 600.
        countdown = shot.count(is_red, (10, 0, 90, 60))
        relics = shot.count(is_green, (95, 0, 200, 60))
        fps = shot.count(is_green, (590, 0, 800, 60))
        self.assertGreater(countdown, 30, "the red countdown is drawn at the top left")
        self.assertGreater(relics, 30, "the green relic count is drawn next to it")
        self.assertGreater(fps, 30, "the frame rate is drawn at the top right")
        ground = shot.pixel(400, 560)
        self.assertGreater(max(ground), 40, "the lit ground fills the lower half")
        colours = set()
        for y in range(300, 600, 7):
            for x in range(0, 800, 7):
                colours.add(tuple(v // 32 for v in shot.pixel(x, y)))
        self.assertGreater(len(colours), 12, "a textured, lit scene, not a flat colour")

    def test_left_alone_the_runner_hits_a_stone_and_enter_restarts(self):
        game = self.start_game()
        deadline = time.time() + 60
        lost = False
        while time.time() < deadline:
            shot = game.screenshot("e2e_lost_probe")
            if is_red(*shot.pixel(790, 300)) and is_red(*shot.pixel(5, 590)):
                lost = True
                break
            time.sleep(1.0)
        self.assertTrue(lost, "the red lost screen appears within 60 seconds")
        game.screenshot("e2e_lost_screen")
        game.press("Return")
        time.sleep(1.0)
        shot = game.screenshot("e2e_restarted")
        self.assertGreater(shot.count(is_red, (10, 0, 90, 60)), 30)
        self.assertNotIn("** GL ERROR **", game.stderr())

    def test_escape_returns_to_the_start_screen_and_a_second_escape_exits(self):
        game = self.start_game()
        game.press("Escape")
        time.sleep(0.5)
        shot = game.screenshot("e2e_back_to_start")
        self.assertGreater(shot.count(is_white, (0, 250, 800, 330)), 100)
        game.press("Escape")
        self.assertEqual(0, game.wait_exit())
        noise = [line for line in game.stderr().splitlines()
                 if line and not line.startswith("GL CALLBACK:")]
        self.assertEqual([], noise)
        self.assertNotIn("** GL ERROR **", game.stderr())


if __name__ == "__main__":
    harness.main()
