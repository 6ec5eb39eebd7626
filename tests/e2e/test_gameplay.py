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


def is_lost_screen(shot):
    return harness.Picture.is_red_screen(shot)


def is_path(r, g, b):
    return r > g > b and r - b > 40 and g < 190


def path_width(shot):
    """Mean width in pixels of the dirt path across rows above the runner."""
    rows = range(110, 200, 6)
    return sum(shot.count(is_path, (0, y, 800, y + 1)) for y in rows) / len(rows)


def runner_centre(shot):
    """Centre of the runner's dark outfit on the path, or None when it is not in view."""
    xs, ys = [], []
    for y in range(100, 420):
        for x in range(250, 560):
            r, g, b = shot.pixel(x, y)
            if r < 50 and g < 50 and b < 100:
                xs.append(x)
                ys.append(y)
    if len(xs) < 100:
        return None
    return sum(xs) / len(xs), sum(ys) / len(ys)


class GameplayTest(unittest.TestCase):
    def start_game(self):
        """Starts a game and returns at once: the first stone can be met about 0.9 s in."""
        game = harness.GameRun()
        self.addCleanup(game.close)
        game.wait_window()
        game.press("Return", hold=0.1)
        return game

    def test_a_game_shows_the_world_and_the_status_texts(self):
        game = self.start_game()
        # The first frame may take a moment while the driver compiles its shaders.
        for _ in range(20):
            shot = game.screenshot("e2e_in_game")
            if shot.count(is_red, (10, 0, 90, 60)) > 30:
                break
            time.sleep(0.05)
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
            if is_lost_screen(shot):
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

    def test_lanes_and_jumps_move_the_runner_on_screen(self):
        # Stones come early and at random, so a run that meets one before the pictures are taken
        # is tried again. Several pictures are taken of each move, as frames come slowly in
        # software rendering.
        for attempt in range(6):
            game = self.start_game()
            start = game.screenshot("e2e_lane_start")
            game.press("a", hold=0.1, settle=0.0)
            left = [game.screenshot("e2e_lane_left_%d" % i) for i in range(3)]
            game.xdotool("keydown", "space")
            jumping = [game.screenshot("e2e_jump_%d" % i) for i in range(4)]
            game.xdotool("keyup", "space")
            game.press("Escape", hold=0.05)
            if not any(is_lost_screen(shot) for shot in [start] + left + jumping):
                break
            game.close()
        else:
            self.fail("every attempt met a stone before the pictures were taken")
        # The camera looks at the middle of the path: the x = 0 lane is right of the centre.
        self.assertGreater(runner_centre(start)[0], 420)
        self.assertLess(min(runner_centre(shot)[0] for shot in left), 380,
                        "A moves the runner to the lane on the left")
        # The camera rises with the runner, so a jump shows as the ground falling away: the path
        # looks narrower at the same screen rows.
        self.assertLess(min(path_width(shot) for shot in jumping),
                        0.95 * max(path_width(shot) for shot in left), "Space lifts the runner")

    def test_escape_returns_to_the_start_screen_and_a_second_escape_exits(self):
        game = self.start_game()
        game.press("Escape", hold=0.05)
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
