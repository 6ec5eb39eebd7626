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
        """Starts a game and returns as soon as it shows: the first stone can be met about
        0.9 s in. The game's first picture is kept in game.first_shot (None if already lost)."""
        game = harness.GameRun()
        self.addCleanup(game.close)
        game.wait_window()
        game.press("Return", hold=0.1, settle=0.0)
        game.first_shot = game.wait_for_play("e2e_first_frame")
        return game

    def test_a_game_shows_the_world_and_the_status_texts(self):
        game = self.start_game()
        shot = game.first_shot
        self.assertIsNotNone(shot, "a game in progress is shown")
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

    def play_until_pictures(self, script):
        """Runs script(game) -> pictures in fresh games until none of the pictures shows the lost
        screen: stones come early and at random, and may end a game before its pictures."""
        for attempt in range(6):
            game = self.start_game()
            shots = [game.first_shot] + script(game) if game.first_shot else None
            game.press("Escape", hold=0.05)
            if shots and not any(is_lost_screen(shot) for shot in shots):
                return shots
            game.close()
        self.fail("every attempt met a stone before the pictures were taken")

    def test_lanes_and_jumps_move_the_runner_on_screen(self):
        def script(game):
            # Several pictures of each move, as frames come slowly in software rendering.
            shots = []
            game.press("a", hold=0.1, settle=0.0)
            shots += [game.screenshot("e2e_lane_left_%d" % i) for i in range(3)]
            game.xdotool("keydown", "space")
            shots += [game.screenshot("e2e_jump_%d" % i) for i in range(6)]
            game.xdotool("keyup", "space")
            return shots

        shots = self.play_until_pictures(script)
        start, left, jumping = shots[0], shots[1:4], shots[4:]
        # The camera looks at the middle of the path: the x = 0 lane is right of the centre.
        self.assertGreater(runner_centre(start)[0], 420)
        self.assertLess(min(runner_centre(shot)[0] for shot in left), 380,
                        "A moves the runner to the lane on the left")
        # The camera rises with the runner, so a jump shows as the ground falling away: every
        # ground point seen is farther by (9.19 + height) / 9.19, and the path looks narrower.
        on_ground = sorted(path_width(shot) for shot in left)[1]
        self.assertLess(min(path_width(shot) for shot in jumping), 0.97 * on_ground,
                        "Space lifts the runner")

    def test_status_texts_toggle_and_the_wheel_zooms(self):
        def script(game):
            shots = []
            game.press("F3", hold=0.05, settle=0.1)
            shots.append(game.screenshot("e2e_hud_off"))
            game.scroll(4, times=3)
            time.sleep(0.1)
            shots.append(game.screenshot("e2e_zoomed_in"))
            return shots

        hud_on, hud_off, zoomed = self.play_until_pictures(script)
        self.assertGreater(hud_on.count(is_red, (10, 0, 90, 60)), 30)
        self.assertEqual(0, hud_off.count(is_red, (10, 0, 90, 60)), "F3 hides the status texts")
        self.assertGreater(path_width(zoomed), 1.1 * path_width(hud_off),
                           "scrolling up brings the camera closer")

    def test_escape_returns_to_the_start_screen_and_a_second_escape_exits(self):
        # A stone may end the game before Escape arrives; Escape on the lost screen quits.
        for attempt in range(6):
            game = self.start_game()
            if game.first_shot is not None:
                game.press("Escape", hold=0.05, settle=0.5)
                if game.process.poll() is None:
                    break
            game.close()
        else:
            self.fail("every attempt met a stone before Escape")
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
