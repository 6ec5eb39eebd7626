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
    """Centre of the runner's blue shirt on the path, or None when it is not in view."""
    xs, ys = [], []
    for y in range(100, 420):
        for x in range(250, 560):
            r, g, b = shot.pixel(x, y)
            if b > 150 and r < 110 and b > g + 30:
                xs.append(x)
                ys.append(y)
    if len(xs) < 40:
        return None
    return sum(xs) / len(xs), sum(ys) / len(ys)


class GameLost(Exception):
    """A stone ended the game before a test had what it came for."""


def watch(game, name, condition, timeout=3.0):
    """Takes pictures until one meets the condition; None when none does in time. Raises
    GameLost when the lost screen appears: frames come slowly in software rendering."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        shot = game.screenshot(name)
        if is_lost_screen(shot):
            raise GameLost()
        if condition(shot):
            return shot
    return None


class GameplayTest(unittest.TestCase):
    def start_game(self):
        """Starts a game and returns as soon as it shows: the first stone can be met about
        0.9 s in. The game's first picture is kept in game.first_shot (None if already lost)."""
        game = harness.GameRun()
        self.addCleanup(game.close)
        # Runs before the close above: nothing a player does may cause an OpenGL error.
        self.addCleanup(lambda: self.assertEqual([], game.gl_errors()))
        game.wait_window()
        game.press("Return", hold=0.1, settle=0.0)
        game.first_shot = game.wait_for_play("e2e_first_frame")
        return game

    @harness.needs_game_speed
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
        """Runs script(game) in fresh games until one is not ended by a stone first: stones come
        early and at random. Returns what the script returns."""
        for attempt in range(6):
            game = self.start_game()
            if game.first_shot is not None:
                try:
                    result = script(game)
                    game.press("Escape", hold=0.05)
                    return result
                except GameLost:
                    pass
            game.close()
        self.fail("every attempt met a stone before the pictures were taken")

    @harness.needs_game_speed
    def test_lanes_and_jumps_move_the_runner_on_screen(self):
        def script(game):
            # Movement keys are read once a frame: hold A longer than a slow frame.
            game.press("a", hold=0.35, settle=0.0)
            left = watch(game, "e2e_lane_left",
                         lambda shot: (runner_centre(shot) or (999,))[0] < 380)
            if left is None:
                return game.first_shot, None, None
            # Held Space jumps again on every landing, so a raised frame comes soon.
            game.xdotool("keydown", "space")
            on_ground = path_width(left)
            jumping = watch(game, "e2e_jump", lambda shot: path_width(shot) < 0.97 * on_ground)
            game.xdotool("keyup", "space")
            return game.first_shot, left, jumping

        start, left, jumping = self.play_until_pictures(script)
        # The camera looks at the middle of the path: the x = 0 lane is right of the centre.
        self.assertGreater(runner_centre(start)[0], 420)
        self.assertIsNotNone(left, "A moves the runner to the lane on the left")
        # The camera rises with the runner, so a jump shows as the ground falling away: every
        # ground point seen is farther by (9.19 + height) / 9.19, and the path looks narrower.
        self.assertIsNotNone(jumping, "Space lifts the runner")

    @harness.needs_game_speed
    def test_status_texts_toggle_and_the_wheel_zooms(self):
        def script(game):
            game.press("F3", hold=0.05, settle=0.0)
            hidden = watch(game, "e2e_hud_off",
                           lambda shot: shot.count(is_red, (10, 0, 90, 60)) == 0)
            if hidden is None:
                return None, None
            game.scroll(4, times=3)
            wide = path_width(hidden)
            zoomed = watch(game, "e2e_zoomed_in", lambda shot: path_width(shot) > 1.1 * wide)
            return hidden, zoomed

        hidden, zoomed = self.play_until_pictures(script)
        self.assertIsNotNone(hidden, "F3 hides the status texts")
        self.assertIsNotNone(zoomed, "scrolling up brings the camera closer")

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


    def test_every_key_through_a_game_and_a_restart_leaves_no_error(self):
        game = harness.GameRun()
        self.addCleanup(game.close)
        game.wait_window()
        for key in ("a", "d", "space", "t", "w", "s", "Up", "Down", "F3"):
            game.press(key, hold=0.1, settle=0.0)
        game.press("Return", hold=0.1, settle=0.2)
        for key in ("a", "space", "d", "F1", "F2", "Up", "Down", "F3", "F3", "w", "s", "t"):
            game.press(key, hold=0.1, settle=0.0)
        game.scroll(4, times=2)
        game.scroll(5, times=4)
        deadline = time.time() + 90
        while not is_lost_screen(game.screenshot("e2e_all_keys")) and time.time() < deadline:
            time.sleep(0.5)
        self.assertLess(time.time(), deadline, "a game left alone ends within its 90 seconds")
        game.press("Return", hold=0.1, settle=0.5)
        game.press("F1", hold=0.05, settle=0.0)
        game.press("Escape", hold=0.05, settle=0.5)
        self.assertIsNone(game.process.poll(), "Escape during play returns to the start screen")
        game.press("Escape")
        self.assertEqual(0, game.wait_exit())
        errors = [line for line in game.stderr().splitlines()
                  if line and not line.startswith("GL CALLBACK:")]
        self.assertEqual([], errors)
        self.assertNotIn("** GL ERROR **", game.stderr())


if __name__ == "__main__":
    harness.main()
