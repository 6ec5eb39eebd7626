"""Drives the real chronocell binary the way a player would: in its own Xvfb, from a scratch
copy of the assets, with xdotool for keys and ImageMagick for screenshots."""

import argparse
import functools
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"
OPTIONS = argparse.Namespace(binary=None, source=None, shots=None, preload="", sanitized=False)


def parse_options():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", default="build/shots")
    parser.add_argument("--preload", default="")
    parser.add_argument("--sanitized", action="store_true")
    known, rest = parser.parse_known_args()
    OPTIONS.binary = os.path.abspath(known.binary)
    OPTIONS.source = os.path.abspath(known.source)
    OPTIONS.shots = os.path.abspath(known.shots)
    OPTIONS.preload = known.preload
    OPTIONS.sanitized = known.sanitized
    return [sys.argv[0]] + rest


def needs_game_speed(test):
    """Marks a test that plays against the clock; a sanitizer build runs too slowly for it and
    checks the same code paths through the tests that do not race the stones."""
    @functools.wraps(test)
    def run(*args, **kwargs):
        if OPTIONS.sanitized:
            raise unittest.SkipTest("the sanitizer build is too slow to play against the clock")
        return test(*args, **kwargs)
    return run


def main():
    argv = parse_options()
    unittest.main(argv=argv, verbosity=2)


class Xvfb:
    """A private X server; key repeat off so a held key is one press."""

    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset", "-r"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        self.display = ":" + number

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class GameRun:
    """One run of the game in a scratch folder holding a copy of the repository's assets."""

    def __init__(self, prepare=None, display=True, env=None, xvfb=None, leak_check=False):
        """`xvfb` lends a server that outlives this run, so many short runs can share one."""
        self.folder = tempfile.mkdtemp(prefix="chronocell-e2e-")
        shutil.copytree(os.path.join(OPTIONS.source, "assets"), os.path.join(self.folder, "assets"))
        if prepare:
            prepare(os.path.join(self.folder, "assets"))
        self.owns_xvfb = xvfb is None
        self.xvfb = xvfb or (Xvfb() if display else None)
        self.env = dict(os.environ)
        self.env.pop("DISPLAY", None)
        if self.xvfb:
            self.env["DISPLAY"] = self.xvfb.display
        if env:
            self.env.update(env)
        self.stdout_path = os.path.join(self.folder, "stdout.txt")
        self.stderr_path = os.path.join(self.folder, "stderr.txt")
        game_env = dict(self.env)
        if OPTIONS.preload:
            game_env["LD_PRELOAD"] = OPTIONS.preload
            # LeakSanitizer's exit-time tracer now and then dies among the driver's threads; the
            # runs that check for leaks (the fault matrix, the scripted game) retry that, the
            # others check memory errors and undefined behaviour only.
            if not leak_check:
                options = game_env.get("ASAN_OPTIONS", "")
                game_env["ASAN_OPTIONS"] = (options + ":" if options else "") + "detect_leaks=0"
        with open(self.stdout_path, "w") as out, open(self.stderr_path, "w") as err:
            self.process = subprocess.Popen([OPTIONS.binary], cwd=self.folder, env=game_env,
                                            stdout=out, stderr=err)
        self.window = None
        self.kept_output = {}

    # --- process ---------------------------------------------------------------------------
    def wait_exit(self, timeout=30):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stdout(self):
        return self._output("stdout", self.stdout_path)

    def stderr(self):
        return self._output("stderr", self.stderr_path)

    def _output(self, name, path):
        """The game's output so far; after close, what it had written by then."""
        if name in self.kept_output:
            return self.kept_output[name]
        with open(path, errors="replace") as file:
            return file.read()

    def gl_errors(self):
        """The OpenGL error lines the game's debug output wrote to standard error."""
        return [line for line in self.stderr().splitlines() if "** GL ERROR **" in line]

    def close(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.xvfb and self.owns_xvfb:
            self.xvfb.stop()
        self.kept_output = {"stdout": self.stdout(), "stderr": self.stderr()}
        shutil.rmtree(self.folder, ignore_errors=True)

    # --- window ----------------------------------------------------------------------------
    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                                errors="replace")
        if check and result.returncode != 0:
            raise RuntimeError("xdotool %s failed: %s" % (" ".join(args), result.stderr))
        return result.stdout.strip()

    def wait_window(self, title="^Chronocell$", timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("the game exited early with %s:\n%s%s"
                                   % (self.process.returncode, self.stdout(), self.stderr()))
            found = self.xdotool("search", "--name", title, check=False)
            if found:
                self.window = found.splitlines()[0]
                # Let the game finish start-up and take the keyboard before keys are sent.
                time.sleep(0.5)
                self.xdotool("windowfocus", "--sync", self.window, check=False)
                time.sleep(0.2)
                return self.window
            time.sleep(0.1)
        raise RuntimeError("no game window appeared")

    def geometry(self):
        text = self.xdotool("getwindowgeometry", self.window)
        size = [line for line in text.splitlines() if "Geometry:" in line][0]
        width, height = size.split(":")[1].strip().split("x")
        return int(width), int(height)

    def title(self):
        return self.xdotool("getwindowname", self.window)

    def press(self, key, hold=0.15, settle=0.1):
        """Presses and releases a key; the game acts on release, movement on the held state."""
        self.xdotool("keydown", key)
        time.sleep(hold)
        self.xdotool("keyup", key)
        time.sleep(settle)

    def scroll(self, button, times=1):
        for _ in range(times):
            self.xdotool("click", "--window", self.window, str(button))

    def wait_for_play(self, name="playing", timeout=10.0):
        """The first picture of a game in progress (red countdown over a lit world), or None when
        the game was lost first. The first frame can take a while as the driver compiles."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            shot = self.screenshot(name)
            if Picture.is_red_screen(shot):
                return None
            countdown = shot.count(lambda r, g, b: r > 200 and g < 40 and b < 40,
                                   (10, 0, 90, 60))
            if countdown > 30 and max(shot.pixel(400, 560)) > 40:
                return shot
            time.sleep(0.05)
        raise RuntimeError("the game did not show a frame of play")

    # --- pictures --------------------------------------------------------------------------
    def screenshot(self, name):
        """Captures the screen now (a raw X dump is quickest); the PNG is written on decode."""
        os.makedirs(OPTIONS.shots, exist_ok=True)
        path = os.path.join(OPTIONS.shots, name + ".png")
        dump = os.path.join(self.folder, name + ".xwd")
        subprocess.run(["xwd", "-root", "-silent", "-out", dump], env=self.env, check=True)
        return Picture(path, dump)


class Picture:
    """Raw RGB pixels of a screenshot, (0, 0) at the top-left as a viewer shows it. Decoded on
    first use, so taking a screenshot in the middle of play costs only the capture."""

    def __init__(self, path, dump=None):
        self.path = path
        self._dump = dump
        self._pixels = None
        self._size = None

    def _decode(self):
        if self._pixels is None:
            if self._dump:
                subprocess.run([CONVERT, "xwd:" + self._dump, self.path], check=True)
            size = subprocess.run([CONVERT, self.path, "-format", "%w %h", "info:"],
                                  capture_output=True, text=True, check=True).stdout.split()
            self._size = int(size[0]), int(size[1])
            self._pixels = subprocess.run([CONVERT, self.path, "-depth", "8", "rgb:-"],
                                          capture_output=True, check=True).stdout

    @property
    def width(self):
        self._decode()
        return self._size[0]

    @property
    def height(self):
        self._decode()
        return self._size[1]

    @property
    def pixels(self):
        self._decode()
        return self._pixels

    @staticmethod
    def is_red_screen(picture):
        """The lost screen: red in two far corners of the window."""
        def red(pixel):
            return pixel[0] > 200 and pixel[1] < 40 and pixel[2] < 40
        return red(picture.pixel(790, 300)) and red(picture.pixel(5, 590))

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def count(self, predicate, box=None):
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        total = 0
        for y in range(top, bottom):
            row = (y * self.width) * 3
            for x in range(left, right):
                offset = row + x * 3
                if predicate(self.pixels[offset], self.pixels[offset + 1], self.pixels[offset + 2]):
                    total += 1
        return total
