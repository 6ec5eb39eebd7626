"""Drives the real chronocell binary the way a player would: in its own Xvfb, from a scratch
copy of the assets, finding its window with xdotool, sending keys and taking pictures through
an X connection of the test's own."""

import argparse
import functools
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

import xdisplay

# The window sits at the top-left of the screen; pictures cover it alone.
WINDOW_SIZE = (800, 600)
OPTIONS = argparse.Namespace(binary=None, source=None, shots=None, preload="", sanitized=False,
                             part=(1, 1), runner=[])


def parse_options():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--source", required=True)
    parser.add_argument("--shots", default="build/shots")
    parser.add_argument("--preload", default="")
    parser.add_argument("--sanitized", action="store_true")
    # PART/PARTS: a script with many independent cases plays only every PARTS-th of them, from
    # the PART-th on, so that its parts can run side by side.
    parser.add_argument("--part", default="1/1")
    # A program the binary runs under, such as wine for the Windows build.
    parser.add_argument("--runner", default="")
    known, rest = parser.parse_known_args()
    OPTIONS.binary = os.path.abspath(known.binary)
    OPTIONS.source = os.path.abspath(known.source)
    OPTIONS.shots = os.path.abspath(known.shots)
    OPTIONS.preload = known.preload
    OPTIONS.sanitized = known.sanitized
    part, parts = known.part.split("/")
    OPTIONS.part = (int(part), int(parts))
    OPTIONS.runner = known.runner.split()
    return [sys.argv[0]] + rest


def needs_game_speed(test):
    """Marks a test that reads what keys did from the pictures of a game's first second; the
    sanitizer build draws too few frames in that time and checks the same code paths through
    the other tests."""
    @functools.wraps(test)
    def run(*args, **kwargs):
        if OPTIONS.sanitized:
            raise unittest.SkipTest("the sanitizer build is too slow to play against the clock")
        return test(*args, **kwargs)
    return run


def replay_headless(recording):
    """The game's headless replay of `recording`, with the game's preload: exit code, standard
    output and standard error."""
    return subprocess.run([*OPTIONS.runner, OPTIONS.binary, "--replay", recording, "--headless"],
                          capture_output=True, text=True, timeout=120,
                          env=dict(os.environ, LD_PRELOAD=OPTIONS.preload))


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

    def __init__(self, prepare=None, display=True, env=None, xvfb=None, leak_check=False,
                 arguments=(), binary=None, working_directory=None, runner=None):
        """`xvfb` lends a server that outlives this run, so many short runs can share one.
        `arguments` follow the binary (OPTIONS.binary unless `binary` is given); the game starts
        in `working_directory` when one is given, else in the scratch folder. `self.folder` is
        the scratch folder with the copy of the assets either way."""
        self.folder = tempfile.mkdtemp(prefix="chronocell-e2e-")
        shutil.copytree(os.path.join(OPTIONS.source, "assets"), os.path.join(self.folder, "assets"))
        if prepare:
            prepare(os.path.join(self.folder, "assets"))
        self.owns_xvfb = xvfb is None
        self.xvfb = xvfb or (Xvfb() if display else None)
        self.env = dict(os.environ)
        self.env.pop("DISPLAY", None)
        # Nor may a Wayland display of whoever runs the tests stand in for the game's own.
        self.env.pop("WAYLAND_DISPLAY", None)
        # SDL's silent audio driver: every game opens a working device, which mixes and plays
        # nothing, whether or not the machine has a sound card.
        self.env["SDL_AUDIODRIVER"] = "dummy"
        # The player's own settings of whoever runs the tests stay out of them.
        self.env["XDG_CONFIG_HOME"] = os.path.join(self.folder, "config")
        if self.xvfb:
            self.env["DISPLAY"] = self.xvfb.display
        if env:
            self.env.update(env)
        # Opened before the game starts, so as to hear of its window.
        self.x = xdisplay.XDisplay(self.xvfb.display) if self.xvfb else None
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
            command = [*(OPTIONS.runner if runner is None else runner),
                       binary or OPTIONS.binary, *arguments]
            self.process = subprocess.Popen(command,
                                            cwd=working_directory or self.folder, env=game_env,
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
        if self.x:
            self.x.close()
            self.x = None
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
        """Waits for the window and then for the main loop, which starts once every resource is
        loaded; keys sent earlier would all be handled in the loop's first pass together."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("the game exited early with %s:\n%s%s"
                                   % (self.process.returncode, self.stdout(), self.stderr()))
            found = self.xdotool("search", "--name", title, check=False)
            if found:
                self.window = found.splitlines()[0]
                self.xdotool("windowfocus", "--sync", self.window, check=False)
                if not self.sync(timeout=max(deadline - time.time(), 1.0)):
                    raise RuntimeError("the game exited during start-up:\n%s%s"
                                       % (self.stdout(), self.stderr()))
                return self.window
            self.x.wait_for_news(0.2)
        raise RuntimeError("no game window appeared")

    def sync(self, passes=1, timeout=60):
        """Waits until the main loop has begun `passes` more passes: each pass handles the window
        events that came before it, a ping among them, and answers the ping. False when the game
        has exited instead."""
        for _ in range(passes):
            ping = self.x.ping(int(self.window))
            deadline = time.time() + timeout
            while not self.x.answered(ping):
                if self.process.poll() is not None:
                    return False
                if time.time() > deadline:
                    raise RuntimeError("the game stopped handling window events")
                self.x.wait_for_news(0.05)
        return True

    def geometry(self):
        text = self.xdotool("getwindowgeometry", self.window)
        size = [line for line in text.splitlines() if "Geometry:" in line][0]
        width, height = size.split(":")[1].strip().split("x")
        return int(width), int(height)

    def title(self):
        return self.xdotool("getwindowname", self.window)

    def key_down(self, key):
        self.x.key(key, True)

    def key_up(self, key):
        self.x.key(key, False)

    def tap(self, key):
        """Presses and releases a key at once: the game's commands act on the release."""
        self.key_down(key)
        self.key_up(key)

    def hold(self, key):
        """Holds a key until a pass of the main loop has read it (movement reads the held state
        once a pass), then releases it and lets the next pass see the release."""
        self.key_down(key)
        self.sync(2)
        self.key_up(key)
        self.sync()

    def scroll(self, button, times=1):
        """Turns the wheel (button 4 up, 5 down) over the middle of the window."""
        self.x.click(button, 400, 300, times)

    def wait_for_play(self, name="playing", timeout=30.0):
        """The first picture of a game in progress (red countdown over a lit world). The first
        frame can take a while as the driver compiles; a lost screen left from the game before
        may show until then."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            shot = self.screenshot(name)
            if shows_play(shot):
                return shot.save()
            time.sleep(0.01)
        raise RuntimeError("the game did not show a frame of play")

    def pictures_of_play(self, name, seconds):
        """Every distinct picture shown in the next `seconds`, up to the lost screen; the lost
        screen itself, if it came, is the last one."""
        pictures, last = [], None
        deadline = time.time() + seconds
        while time.time() < deadline:
            shot = self.screenshot("%s_%02d" % (name, len(pictures)))
            if last is None or shot.pixels != last.pixels:
                pictures.append(shot)
                last = shot
                if Picture.is_red_screen(shot):
                    break
            time.sleep(0.02)
        return pictures

    # --- pictures --------------------------------------------------------------------------
    def screenshot(self, name):
        """Captures the screen now; the picture is written to the shots folder only on save()."""
        return Picture(os.path.join(OPTIONS.shots, name + ".png"), *WINDOW_SIZE,
                       self.x.capture(*WINDOW_SIZE))


def shows_play(shot):
    """A frame of a game in progress: the red countdown at the top left over a lit world."""
    countdown = shot.count(lambda r, g, b: r > 200 and g < 40 and b < 40, (10, 0, 90, 60))
    return countdown > 30 and max(shot.pixel(400, 560)) > 40 and not Picture.is_red_screen(shot)


class Picture:
    """Raw RGB pixels of a screenshot, (0, 0) at the top-left as a viewer shows it."""

    def __init__(self, path, width, height, pixels):
        self.path = path
        self.width = width
        self.height = height
        self.pixels = pixels

    def save(self, path=None, box=None):
        """Writes the picture, or the part of it in `box` (left, top, right, bottom), as a PNG
        file; returns the picture."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        stride = self.width * 3
        # Each row starts with its filter type, 0 (none).
        rows = b"".join(b"\0" + self.pixels[y * stride + left * 3:y * stride + right * 3]
                        for y in range(top, bottom))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data
                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", right - left, bottom - top, 8, 2, 0, 0, 0)
        target = path or self.path
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as file:
            file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
        return self

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
