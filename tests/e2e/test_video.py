"""A recorded game exported to a video by the real binary under Xvfb, read back with ffprobe and
ffmpeg: its streams, rate and length, the same frames from two exports, the failures that leave
no file, and Ctrl+C in the middle of an export."""

import glob
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

import harness

LOST = os.path.join(harness.OPTIONS.source or ".", "tests", "replays", "lost.ccr")
# The lost game lasts 3.60 s; its video adds the start screen's pass before it and holds the
# last picture for a frame.
LOST_GAME_SECONDS = 3.60
FRAME = 1 / 60
# A cut in the middle of the lost game's play, inside a record: where that record begins, the
# bytes left and the passes before it.
CUT_INSIDE_PLAY = 301
CUT_RECORD = (289, 301, 96)


def probe(path):
    result = subprocess.run(["ffprobe", "-v", "error", "-show_entries",
                             "stream=codec_type,codec_name,width,height,r_frame_rate",
                             "-show_entries", "format=duration", "-of", "json", path],
                            capture_output=True, text=True, check=True)
    return json.loads(result.stdout)


def sampled_frames(path, every):
    """Every `every`-th decoded frame from the first, as raw RGB bytes of each."""
    result = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v", "-vf",
                             "select='not(mod(n,%d))'" % every, "-fps_mode", "passthrough",
                             "-f", "rawvideo", "-pix_fmt", "rgb24", "-"],
                            capture_output=True, check=True)
    video = next(s for s in probe(path)["streams"] if s["codec_type"] == "video")
    size = video["width"] * video["height"] * 3
    return [result.stdout[i:i + size] for i in range(0, len(result.stdout), size)]


def differing_pixels(a, b, steps=8):
    """How many pixels of two same-sized RGB pictures differ by more than `steps` anywhere."""
    return sum(1 for i in range(0, len(a), 3)
               if max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2])) > steps)


def frame_hashes(path):
    """The MD5 of every decoded frame."""
    result = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-map", "0:v", "-f",
                             "framemd5", "-"], capture_output=True, text=True, check=True)
    return [line.split()[-1] for line in result.stdout.splitlines() if not line.startswith("#")]


class VideoTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="chronocell-video-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        lost = os.path.join(harness.OPTIONS.source, "tests", "replays", "lost.ccr")
        self.recording = os.path.join(self.folder, "lost.ccr")
        shutil.copy(lost, self.recording)

    def export(self, output, *more, env=None, wait=True, display=True):
        run = harness.GameRun(arguments=["--replay", self.recording, "--video", output, *more],
                              env=env, display=display)
        self.addCleanup(run.close)
        if wait:
            self.assertIsNotNone(run.wait_exit(timeout=300))
        return run

    def leftovers(self):
        return sorted(name for name in os.listdir(self.folder) if name != "lost.ccr")

    def test_a_lost_game_becomes_an_mp4_of_its_length_at_sixty_frames(self):
        output = os.path.join(self.folder, "lost.mp4")
        run = self.export(output)
        self.assertEqual(0, run.process.returncode, run.stderr())
        self.assertRegex(run.stderr(), r"chronocell: wrote lost.mp4: [0-9.]+ [KM]B, 0:04 of video\n$")
        info = probe(output)
        kinds = sorted((s["codec_type"], s["codec_name"]) for s in info["streams"])
        self.assertEqual([("audio", "aac"), ("video", "h264")], kinds)
        video = next(s for s in info["streams"] if s["codec_type"] == "video")
        self.assertEqual((800, 600, "60/1"), (video["width"], video["height"],
                                              video["r_frame_rate"]))
        # The game, its first pass's start screen and the held last picture.
        self.assertAlmostEqual(LOST_GAME_SECONDS + 2 * FRAME, float(info["format"]["duration"]),
                               delta=FRAME)

        again = os.path.join(self.folder, "again.mp4")
        self.export(again)
        first = frame_hashes(output)
        self.assertEqual(218, len(first))
        self.assertEqual(first, frame_hashes(again), "two exports of one recording differ")

    def test_a_webm_of_another_size_and_rate(self):
        output = os.path.join(self.folder, "small.webm")
        run = self.export(output, "--size", "400x300", "--fps", "30")
        self.assertEqual(0, run.process.returncode, run.stderr())
        info = probe(output)
        kinds = sorted((s["codec_type"], s["codec_name"]) for s in info["streams"])
        self.assertEqual([("audio", "opus"), ("video", "vp9")], kinds)
        video = next(s for s in info["streams"] if s["codec_type"] == "video")
        self.assertEqual((400, 300, "30/1"), (video["width"], video["height"],
                                              video["r_frame_rate"]))
        # The sound track's last Opus packet may reach a little past the last frame.
        self.assertEqual(110, len(frame_hashes(output)))
        self.assertAlmostEqual(110 / 30, float(info["format"]["duration"]), delta=1 / 30)

    def test_without_a_display_the_video_is_drawn_as_with_one(self):
        """No display named, and one named that no server holds: the export draws without any
        window, and its pictures are those an export on a display draws. Where there is a
        display, its hidden window still carries the export, with or without Mesa's EGL."""
        small = ("--size", "400x300", "--fps", "30")
        shown = os.path.join(self.folder, "shown.mp4")
        self.assertEqual(0, self.export(shown, *small).process.returncode)
        expected = sampled_frames(shown, 25)
        cases = [
            ("no display", dict(display=False)),
            ("a display no server holds", dict(display=False, env={"DISPLAY": ":4321"})),
            ("a display, and EGL without its vendor library",
             dict(env={"__EGL_VENDOR_LIBRARY_FILENAMES": "/nonexistent/50_mesa.json"})),
        ]
        for what, how in cases:
            with self.subTest(what):
                output = os.path.join(self.folder, "offscreen.mp4")
                run = self.export(output, *small, **how)
                self.assertEqual((0, []), (run.process.returncode, run.gl_errors()), run.stderr())
                self.assertEqual(110, len(frame_hashes(output)))
                got = sampled_frames(output, 25)
                self.assertEqual(5, len(got))
                for number, (frame, wanted) in enumerate(zip(got, expected)):
                    self.assertLessEqual(differing_pixels(frame, wanted), 400 * 300 // 10000,
                                         "frame %d" % (number * 25))
                os.remove(output)

    def test_no_opengl_context_at_all_says_what_is_needed_in_one_line(self):
        """Mesa's EGL without its vendor library (libegl-mesa0), with and without a display that
        fails too, and a driver below OpenGL 4.3: exit 2, one line, no file."""
        no_vendor = {"__EGL_VENDOR_LIBRARY_FILENAMES": "/nonexistent/50_mesa.json"}
        cases = [
            (no_vendor, r"EGL: no Mesa surfaceless platform"),
            (dict(no_vendor, DISPLAY=":4321"),
             r"X11: .*:4321.*; EGL: no Mesa surfaceless platform"),
            ({"MESA_GL_VERSION_OVERRIDE": "3.3"},
             r"EGL: the driver has no OpenGL 4\.3 core context: EGL_BAD_MATCH"),
        ]
        for env, reason in cases:
            with self.subTest(reason):
                run = self.export(os.path.join(self.folder, "v.mp4"), env=env, display=False)
                self.assertEqual((2, ""), (run.process.returncode, run.stdout()))
                self.assertRegex(run.stderr(),
                                 r"^chronocell: cannot export a video: no OpenGL 4\.3 core "
                                 r"context \(" + reason + r"\); a video needs an X display, "
                                 r"or Mesa's EGL \(Debian's libegl1 and libegl-mesa0\) to "
                                 r"draw without one\n$")
                self.assertEqual([], self.leftovers())

    def test_a_cut_recording_of_another_version_tells_each_of_its_lines_once(self):
        """The planning and the drawing run both open the recording; only the first tells of
        the cut and of the version."""
        with open(self.recording, "rb") as file:
            data = file.read()
        cut = os.path.join(self.folder, "cut.ccr")
        with open(cut, "wb") as file:
            file.write(data[:CUT_INSIDE_PLAY].replace(b"1.0.0", b"0.9.7", 1))
        output = os.path.join(self.folder, "cut.mp4")
        run = harness.GameRun(arguments=["--replay", cut, "--video", output])
        self.addCleanup(run.close)
        self.assertEqual(0, run.wait_exit(timeout=300), run.stderr())
        said = run.stderr()
        told = [line for line in said.splitlines() if "cut.ccr" in line]
        self.assertEqual(2, len(told), said)
        self.assertEqual("chronocell: %s ends inside a record at byte %d of %d, after pass %d; "
                         "the passes before it are replayed" % (cut, *CUT_RECORD), told[0])
        self.assertRegex(told[1], r"^chronocell: .*cut\.ccr was recorded by version 0\.9\.7; "
                                  r"this is version [0-9.]+$")
        self.assertRegex(said, r"chronocell: wrote cut.mp4: [0-9.]+ [KM]B, 0:0[0-3] of video\n$")

    def test_failures_say_why_and_leave_no_file(self):
        failing = os.path.join(self.folder, "failing-encoder")
        with open(failing, "w") as script:
            script.write("#!/bin/sh\necho 'x264: out of luck' >&2\nexit 1\n")
        os.chmod(failing, 0o755)
        damaged = os.path.join(self.folder, "damaged.ccr")
        with open(damaged, "wb") as file:
            file.write(b"not a recording")
        cases = [
            ("a folder that is not there", ["--video", os.path.join(self.folder, "no", "v.mp4")],
             {}, 2, r"^chronocell: cannot export a video: cannot write .*no/v\.mp4.*: No such "
                    r"file or directory\n$"),
            ("a name no format has", ["--video", os.path.join(self.folder, "v.avi")], {}, 2,
             r"^chronocell: cannot export a video: .*v\.avi.* must end in \.mp4 or \.webm\n$"),
            ("no encoder", ["--video", os.path.join(self.folder, "v.mp4")],
             {"CHRONOCELL_FFMPEG": "/nonexistent/ffmpeg"}, 2,
             r"^chronocell: cannot export a video: .*/nonexistent/ffmpeg.*\n$"),
            ("an encoder that fails", ["--video", os.path.join(self.folder, "v.mp4")],
             {"CHRONOCELL_FFMPEG": failing}, 2,
             r"(^|\n)chronocell: cannot export a video: failing-encoder .*\n"
             r"failing-encoder: x264: out of luck\n$"),
            ("a damaged recording", ["--video", os.path.join(self.folder, "v.mp4")],
             {}, 2, r"^chronocell: cannot replay .*damaged\.ccr: .*\n$"),
            ("no folder for the sound track", ["--video", os.path.join(self.folder, "v.mp4")],
             {"TMPDIR": os.path.join(self.folder, "no")}, 2,
             r"^chronocell: cannot export a video: cannot make a scratch file in .*/no.*: No "
             r"such file or directory\n$"),
        ]
        for what, arguments, env, code, said in cases:
            with self.subTest(what):
                recording = damaged if what == "a damaged recording" else self.recording
                run = harness.GameRun(arguments=["--replay", recording, *arguments], env=env)
                self.addCleanup(run.close)
                self.assertEqual(code, run.wait_exit(timeout=300))
                self.assertRegex(run.stderr(), said)
                self.assertEqual("", run.stdout())
                self.assertEqual(["damaged.ccr", "failing-encoder"],
                                 [n for n in self.leftovers() if n not in ("no",)])
                self.assertEqual([], glob.glob(os.path.join(tempfile.gettempdir(),
                                                            "chronocell-sound-%d-*"
                                                            % run.process.pid)))

    def test_ctrl_c_kill_and_a_closed_terminal_stop_an_export_and_leave_no_file(self):
        scratch = os.path.join(self.folder, "scratch")
        for name in ("SIGINT", "SIGTERM", "SIGHUP"):
            with self.subTest(signal=name):
                os.makedirs(scratch)
                output = os.path.join(self.folder, "stopped.mp4")
                run = self.export(output, env={"TMPDIR": scratch}, wait=False)
                deadline = time.time() + 120
                while (time.time() < deadline
                       and not glob.glob(os.path.join(self.folder, "stopped*"))):
                    time.sleep(0.05)
                self.assertTrue(glob.glob(os.path.join(self.folder, "stopped*")),
                                "no partial file")
                self.assertEqual(1, len(os.listdir(scratch)), "the sound track's scratch file")
                run.process.send_signal(getattr(signal, name))
                self.assertEqual(130, run.wait_exit(timeout=60))
                self.assertIn("chronocell: video export stopped; no file was written\n",
                              run.stderr())
                self.assertEqual(["scratch"], self.leftovers())
                self.assertEqual([], os.listdir(scratch))
                os.rmdir(scratch)

if __name__ == "__main__":
    harness.main()
