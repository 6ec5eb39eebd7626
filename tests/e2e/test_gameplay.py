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


def is_black(r, g, b):
    return r < 16 and g < 16 and b < 16


def is_lost_screen(shot):
    return harness.Picture.is_red_screen(shot)


def is_path(r, g, b):
    return r > g > b and r - b > 40 and g < 190


def path_width(shot):
    """Median width in pixels between the dirt path's edges, across rows nearer than the runner,
    where stones ahead and the roadside trees leave the edges clear."""
    widths = []
    for y in (300, 360, 420, 500, 590):
        xs = [x for x in range(800) if is_path(*shot.pixel(x, y))]
        widths.append(xs[-1] - xs[0] if xs else 0)
    return sorted(widths)[len(widths) // 2]


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


def is_lit_play(shot):
    """A frame of the world, whatever the status texts show."""
    return max(shot.pixel(400, 560)) > 40 and not is_lost_screen(shot)


def first(pictures, condition):
    return next((shot for shot in pictures if condition(shot)), None)


# Every stone is placed 10 units ahead of the runner, no earlier than a game's first frame, and
# reaches it 0.9 s of game time later; a game's clock starts with its first frame. Keys sent on
# seeing the first frame show in the third or fourth, which a stone cannot reach unless the
# second and third take most of a second to draw; sync() counts the frames.
JUST_AFTER = 0.5


class GameplayTest(unittest.TestCase):
    def start_game(self):
        """Starts a game and returns as soon as it shows, with its first picture kept in
        game.first_shot."""
        game = harness.GameRun()
        self.addCleanup(game.close)
        # Runs before the close above: nothing a player does may cause an OpenGL error.
        self.addCleanup(lambda: self.assertEqual([], game.gl_errors()))
        game.wait_window()
        game.tap("Return")
        game.first_shot = game.wait_for_play("e2e_first_frame")
        return game

    def pictures_after(self, game, name):
        """Pictures from the end of the frame drawn after the keys just sent, for half a second
        or until the lost screen: the keys are handled in one pass and the next pass draws what
        they did."""
        game.sync(3)
        return game.pictures_of_play(name, JUST_AFTER)

    @harness.needs_game_speed
    def test_a_game_shows_the_world_and_the_status_texts(self):
        shot = self.start_game().first_shot
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
        # A stone in the runner's lane comes within seconds; the 90-second end is the backstop.
        deadline = time.time() + 95
        while not is_lost_screen(game.screenshot("e2e_lost_screen")):
            self.assertLess(time.time(), deadline, "the red lost screen appears")
            time.sleep(0.5)
        game.tap("Return")
        game.wait_for_play("e2e_restarted")

    @harness.needs_game_speed
    def test_lanes_and_jumps_move_the_runner_on_screen(self):
        game = self.start_game()
        # The camera looks at the middle of the path: the x = 0 lane is right of the centre.
        self.assertGreater(runner_centre(game.first_shot)[0], 420)
        on_ground = path_width(game.first_shot)
        # Held Space jumps again on every landing, so raised frames keep coming.
        game.key_down("a")
        game.key_down("space")
        pictures = self.pictures_after(game, "e2e_lanes")
        game.key_up("space")
        game.key_up("a")
        left = first(pictures, lambda shot: (runner_centre(shot) or (999,))[0] < 380)
        self.assertIsNotNone(left, "A moves the runner to the lane on the left")
        left.save()
        # The camera rises with the runner, so a jump shows as the ground falling away: every
        # ground point seen is farther by (9.19 + height) / 9.19, and the path looks narrower.
        jumping = first(pictures, lambda shot: path_width(shot) < 0.95 * on_ground)
        self.assertIsNotNone(jumping, "Space lifts the runner")
        jumping.save()

    @harness.needs_game_speed
    def test_status_texts_toggle_and_the_wheel_zooms(self):
        game = self.start_game()
        wide = path_width(game.first_shot)
        game.tap("F3")
        game.scroll(4, times=3)
        pictures = self.pictures_after(game, "e2e_status_and_zoom")
        hidden = first(pictures, lambda shot: is_lit_play(shot)
                       and shot.count(is_red, (10, 0, 90, 60)) == 0)
        self.assertIsNotNone(hidden, "F3 hides the status texts")
        hidden.save()
        zoomed = first(pictures, lambda shot: path_width(shot) > 1.1 * wide)
        self.assertIsNotNone(zoomed, "scrolling up brings the camera closer")
        zoomed.save()

    def test_escape_returns_to_the_start_screen_and_a_second_escape_exits(self):
        game = self.start_game()
        game.tap("Escape")
        self.assertTrue(game.sync(2), "Escape in play does not quit")
        deadline = time.time() + 10
        shot = game.screenshot("e2e_back_to_start")
        while not (is_black(*shot.pixel(5, 5)) and shot.count(is_white, (0, 250, 800, 330)) > 100):
            self.assertLess(time.time(), deadline, "the start screen comes back")
            shot = game.screenshot("e2e_back_to_start")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit())
        noise = [line for line in game.stderr().splitlines()
                 if line and not line.startswith("GL CALLBACK:")]
        self.assertEqual([], noise)

    def test_every_key_through_a_game_and_a_restart_leaves_no_error(self):
        game = harness.GameRun()
        self.addCleanup(game.close)
        game.wait_window()
        for key in ("a", "d", "space", "t", "w", "s", "Up", "Down", "F3"):
            game.hold(key)
        game.tap("Return")
        for key in ("a", "space", "d", "F1", "F2", "Up", "Down", "F3", "F3", "w", "s", "t", "m"):
            game.hold(key)
        game.scroll(4, times=2)
        game.scroll(5, times=4)
        deadline = time.time() + 95
        while not is_lost_screen(game.screenshot("e2e_all_keys")):
            self.assertLess(time.time(), deadline, "a game left alone ends within its 90 seconds")
            time.sleep(0.5)
        # The restarted game is left two passes in, long before a stone can reach the runner.
        game.tap("Return")
        game.sync(2)
        game.tap("Escape")
        self.assertTrue(game.sync(2), "Escape during play returns to the start screen")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit())
        errors = [line for line in game.stderr().splitlines()
                  if line and not line.startswith("GL CALLBACK:")]
        self.assertEqual([], errors)
        self.assertNotIn("** GL ERROR **", game.stderr())


if __name__ == "__main__":
    harness.main()
