"""Where the game finds its content: started from any folder, from --data, or nowhere."""

import collections
import os
import re
import shutil
import tempfile
import time
import unittest

import harness

NO_CONTENT = "chronocell: no game content (a folder holding assets/) in %s\n"
SUMMARY = re.compile(r"^GL CALLBACK: \d+ repeats of the messages above left out$")


def scratch_folder(test):
    folder = tempfile.mkdtemp(prefix="chronocell-root-")
    test.addCleanup(shutil.rmtree, folder, ignore_errors=True)
    return folder


class ContentRootTest(unittest.TestCase):
    def run_game(self, **kwargs):
        game = harness.GameRun(**kwargs)
        self.addCleanup(game.close)
        return game

    def leave(self, game):
        game.tap("Escape")
        game.sync()
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit(), game.stderr())

    def test_the_built_game_plays_from_any_folder(self):
        # Its own checkout supplies the content when the working directory has none.
        game = self.run_game(working_directory=scratch_folder(self))
        game.wait_window()
        game.tap("Return")
        game.wait_for_play()
        self.leave(game)
        self.assertEqual("", game.stdout())

    def test_help_ends_with_where_the_settings_and_the_content_come_from(self):
        # Catches a help whose settings line ignores XDG_CONFIG_HOME, names a file where no
        # folder is known, or goes missing, and a content line that is not the last.
        config = os.path.join(scratch_folder(self), "xdg")
        own = "Settings: assets/settings.ini in the content folder, then, key by key, your own "
        cases = [({"XDG_CONFIG_HOME": config},
                  own + "in " + os.path.join(config, "chronocell", "settings.ini")),
                 ({"XDG_CONFIG_HOME": "", "HOME": ""},
                  own + "(none: neither XDG_CONFIG_HOME nor HOME is set)")]
        for env, said in cases:
            with self.subTest(said):
                game = self.run_game(arguments=["--help"], env=env, display=False)
                self.assertEqual(0, game.wait_exit())
                lines = game.stdout().splitlines()
                self.assertIn("  Space            jump", lines)
                self.assertEqual(said, lines[-2])
                self.assertRegex(lines[-1], r"^Content: /")
                self.assertEqual("", game.stderr())

    def test_no_content_anywhere_is_one_line_and_minus_one(self):
        lone = os.path.join(scratch_folder(self), "bin")
        os.mkdir(lone)
        binary = shutil.copy(harness.OPTIONS.binary, os.path.join(lone, "chronocell"))
        empty = scratch_folder(self)
        game = self.run_game(binary=binary, working_directory=empty, display=False)
        self.assertEqual(255, game.wait_exit())
        installed = os.path.normpath(os.path.join(lone, "..", "share", "games", "chronocell"))
        self.assertEqual(NO_CONTENT % (empty + ", " + installed), game.stderr())
        self.assertEqual("", game.stdout())

    def test_data_names_the_damaged_files_of_its_folder_and_the_flood_is_summarized(self):
        data = scratch_folder(self)
        assets = os.path.join(data, "assets")
        shutil.copytree(os.path.join(harness.OPTIONS.source, "assets"), assets)
        os.remove(os.path.join(assets, "settings.ini"))
        os.remove(os.path.join(assets, "objects", "stone.obj"))
        # A broken program left in use makes the same GL errors on every frame.
        with open(os.path.join(assets, "shader", "materialFragmentShader.frag"), "w") as file:
            file.write("not a shader\n")
        game = self.run_game(arguments=["--data", data], working_directory=scratch_folder(self))
        game.wait_window()
        started = time.time()
        game.tap("Return")
        game.sync(20)
        self.leave(game)
        seconds = time.time() - started

        messages = [line for line in game.stdout().splitlines() if line.startswith("ERROR")]
        self.assertEqual(
            "ERROR: Failed to load '%s/settings.ini'. Using default values instead." % assets,
            messages[0])
        self.assertRegex(messages[1], "^ERROR_FRAGMENT_SHADER_COMPLINATION_ERROR")
        self.assertRegex(messages[2], "^ERROR_PROGRAM_LINKING_ERROR")
        self.assertEqual('ERROR::ASSIMP:: Unable to open file "%s/objects/stone.obj".' % assets,
                         messages[3])
        self.assertEqual(4, len(messages), game.stdout())

        gl_lines = [line for line in game.stderr().splitlines() if line.startswith("GL CALLBACK")]
        summaries = [line for line in gl_lines if SUMMARY.match(line)]
        shown = collections.Counter(line for line in gl_lines if not SUMMARY.match(line))
        self.assertGreaterEqual(len(shown), 2, game.stderr())
        self.assertLessEqual(max(shown.values()), 3, game.stderr())
        self.assertGreaterEqual(len(summaries), 1, game.stderr())
        self.assertLessEqual(len(summaries), seconds + 2, game.stderr())


if __name__ == "__main__":
    harness.main()
