"""The Windows build of the game under Wine, on the same Xvfb and llvmpipe as the Linux build: the
start screen and the last frame of a replayed game against the Linux build's pictures, a game
played by keys and recorded on Windows that replays alike on Linux, a Linux recording replayed on
Windows, and a damaged recording and settings file each told in one line as on Linux."""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import harness  # noqa: E402
import wineprefix  # noqa: E402

LINUX = argparse.Namespace(game=None, verify=None)
PLATFORM_TESTS = argparse.Namespace(program=None)
PACKAGE = argparse.Namespace(zip=None)
WINE = ["wine"]
# Pictures of one scene from the two builds: the same llvmpipe draws both, so they differ only
# where a float was rounded differently on the way, a few edge pixels by a few levels.
PIXEL_LEVELS = 8
DIFFERING_SHARE = 0.001
# A replay in a window poses the runner by the wall clock, as the game does, so the runner alone
# (about half a percent of the picture) may differ between two replays of one recording.
DIFFERING_SHARE_WITH_RUNNER = 0.01


def parse_options():
    parser = argparse.ArgumentParser()
    parser.add_argument("--linux-game", required=True)
    parser.add_argument("--linux-verify", required=True)
    parser.add_argument("--wine-prefix", required=True)
    parser.add_argument("--platform-tests", required=True)
    parser.add_argument("--zip", required=True)
    known, rest = parser.parse_known_args()
    LINUX.game = os.path.abspath(known.linux_game)
    LINUX.verify = os.path.abspath(known.linux_verify)
    PLATFORM_TESTS.program = os.path.abspath(known.platform_tests)
    PACKAGE.zip = os.path.abspath(known.zip)
    os.environ["WINEPREFIX"] = os.path.abspath(known.wine_prefix)
    os.environ["WINEDEBUG"] = "-all"
    return [sys.argv[0]] + rest


def differing_share(a, b):
    """The share of pixels whose colour differs by more than PIXEL_LEVELS in any channel."""
    differing = 0
    for i in range(0, len(a.pixels), 3):
        if max(abs(a.pixels[i + c] - b.pixels[i + c]) for c in range(3)) > PIXEL_LEVELS:
            differing += 1
    return differing / (len(a.pixels) // 3)


def player_settings_file():
    """%APPDATA%\\Chronocell\\settings.ini of the Wine prefix, as a Linux path."""
    appdata = subprocess.run(WINE + ["cmd", "/c", "echo %APPDATA%"], capture_output=True,
                             text=True, check=True, timeout=120).stdout.strip()
    folder = subprocess.run(["winepath", "-u", appdata], capture_output=True, text=True,
                            check=True, timeout=120).stdout.strip()
    return os.path.join(folder, "Chronocell", "settings.ini")


def replay_lines(command, recording):
    result = subprocess.run(command + [recording], capture_output=True, text=True, timeout=300)
    return result.returncode, result.stdout.replace("\r\n", "\n"), \
        result.stderr.replace("\r\n", "\n")


def windows_headless(recording):
    return replay_lines(WINE + [harness.OPTIONS.binary, "--headless", "--replay"], recording)


def setUpModule():
    wineprefix.prepare()


class GameUnderWineTest(unittest.TestCase):
    def run_game(self, linux=False, **kwargs):
        if linux:
            kwargs.update(binary=LINUX.game, runner=[])
        game = harness.GameRun(**kwargs)
        self.addCleanup(game.close)
        return game

    def last_picture(self, name, linux, arguments=()):
        """The picture a game shows once its output holds what it will print (a replay's summary;
        nothing on the start screen), with that output; Escape then ends it cleanly."""
        game = self.run_game(linux=linux, arguments=list(arguments))
        game.wait_window()
        deadline = time.time() + 60
        while arguments and "game 1:" not in game.stdout() and time.time() < deadline:
            time.sleep(0.1)
        game.sync(3)
        shot = game.screenshot(name + ("_linux" if linux else "_windows")).save()
        shot.summary = game.stdout().replace("\r\n", "\n")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit(60), game.stderr())
        return shot

    def test_the_start_screen_is_the_linux_build_s(self):
        linux, windows = (self.last_picture("start_screen", linux) for linux in (True, False))
        self.assertLess(differing_share(linux, windows), DIFFERING_SHARE)

    def test_the_zip_s_game_played_by_keys_from_anywhere_replays_alike_on_linux(self):
        """The game unpacked from the zip and started from a folder without content plays its
        own, records a game played by keys, and that game replays on Linux."""
        folder = tempfile.mkdtemp(prefix="chronocell wine zip ")
        with zipfile.ZipFile(PACKAGE.zip) as archive:
            archive.extractall(folder)
            top = archive.namelist()[0].split("/")[0]
        recording = os.path.join(folder, "played on windows.ccr")
        game = self.run_game(arguments=["--record", recording],
                             binary=os.path.join(folder, top, "chronocell.exe"),
                             working_directory=tempfile.mkdtemp(prefix="chronocell-elsewhere-"))
        game.wait_window()
        game.tap("Return")
        game.wait_for_play("windows_playing")
        for key in ("Left", "space", "Right", "Right", "t"):
            game.hold(key)
        pictures = game.pictures_of_play("windows_play", 60)
        self.assertTrue(harness.Picture.is_red_screen(pictures[-1]), "the game was not lost")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit(60), game.stderr())

        on_linux = replay_lines([LINUX.verify], recording)
        self.assertEqual(0, on_linux[0], on_linux[2])
        self.assertRegex(on_linux[1], r"^game 1: lost, ")
        self.assertEqual(on_linux, windows_headless(recording))

    def test_the_platform_room_s_windows_sources_pass_their_tests(self):
        """Real programs, pipes and files; and Ctrl+C, which only Wine's own SIGINT can send."""
        with subprocess.Popen(WINE + [PLATFORM_TESTS.program], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True) as tests:
            # Ends a run that hangs, which would otherwise keep its output open for ever.
            watchdog = threading.Timer(180, tests.kill)
            watchdog.start()
            self.addCleanup(watchdog.cancel)
            output = []
            for line in tests.stdout:
                output.append(line)
                if line.startswith("waiting for Ctrl+C"):
                    tests.send_signal(signal.SIGINT)
            self.assertEqual(0, tests.wait(120), "".join(output))

    def test_a_linux_recording_replays_in_a_window_to_the_linux_build_s_last_frame(self):
        folder = tempfile.mkdtemp(prefix="chronocell-wine-")
        recording = os.path.join(folder, "played on linux.ccr")
        game = self.run_game(linux=True, arguments=["--record", recording])
        game.wait_window()
        game.tap("Return")
        game.wait_for_play("linux_playing")
        game.hold("Left")
        # Stopped mid-game, before the first stone comes: the replay ends on a frame of the world.
        game.process.send_signal(signal.SIGTERM)
        self.assertEqual(0, game.wait_exit(30), game.stderr())

        last_frames = [self.last_picture("replay_last_frame", linux, ["--replay", recording])
                       for linux in (True, False)]
        self.assertIn("game 1: unfinished", last_frames[0].summary)
        self.assertEqual(last_frames[0].summary, last_frames[1].summary)
        self.assertTrue(harness.shows_play(last_frames[1]))
        self.assertLess(differing_share(*last_frames), DIFFERING_SHARE_WITH_RUNNER)

    def test_damaged_files_and_a_missing_encoder_are_told_in_one_line(self):
        folder = tempfile.mkdtemp(prefix="chronocell-wine-")
        cut = os.path.join(folder, "cut.ccr")
        with open(os.path.join(harness.OPTIONS.source, "tests", "replays", "won.ccr"), "rb") as f:
            head = f.read(10)
        with open(cut, "wb") as f:
            f.write(head)
        on_linux = replay_lines([LINUX.game, "--headless", "--replay"], cut)
        self.assertEqual((2, "", "chronocell: cannot replay %s: the file ends inside its header\n"
                          % cut), on_linux)
        self.assertEqual(on_linux, windows_headless(cut))

        video = os.path.join(folder, "won.mp4")
        no_encoder = subprocess.run(
            WINE + [harness.OPTIONS.binary, "--replay", "tests/replays/won.ccr", "--video", video],
            cwd=harness.OPTIONS.source, capture_output=True, text=True, timeout=120)
        self.assertEqual((2, "chronocell: cannot export a video: ffmpeg was not found (put "
                          "ffmpeg.exe in a folder on PATH)\n"),
                         (no_encoder.returncode, no_encoder.stderr.replace("\r\n", "\n")))
        self.assertFalse(os.path.exists(video))

        settings = player_settings_file()
        os.makedirs(os.path.dirname(settings), exist_ok=True)
        self.addCleanup(os.remove, settings)
        with open(settings, "w") as f:
            f.write("[WINDOW]\nwidth = wide\n")
        game = self.run_game()
        game.wait_window()
        self.assertEqual((800, 600), game.geometry())
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit(60))
        lines = game.stderr().replace("\r\n", "\n").splitlines()
        self.assertEqual(1, len(lines), game.stderr())
        self.assertRegex(lines[0], r"^chronocell: C:\\users\\[^\\]+\\AppData\\Roaming\\Chronocell"
                         r"\\settings\.ini:2: ")
        self.assertIn("wide", lines[0])


if __name__ == "__main__":
    sys.argv = parse_options()
    harness.main()
