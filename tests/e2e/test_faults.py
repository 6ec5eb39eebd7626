"""The fault matrix: every content file the game reads, damaged in every way, one short game
each. Each case must print the loader's own message, survive, reach play and exit cleanly.

The normal build plays every case. The sanitizer build, whose games start several times more
slowly, plays each loader once, on the damage that leads its parser furthest into bad data: its
memory and leak checks see every loader's failure path, while the many cases that differ only
in which file is damaged run once, in the normal build (set CHRONOCELL_FULL_MATRIX=1 to play
them all under the sanitizers too)."""

import os
import re
import unittest

import faults
import harness

SETTINGS_MESSAGE = re.escape(
    "ERROR: Failed to load 'assets/settings.ini'. Using default values instead.")
FILE = re.escape("ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ")
VERTEX = re.escape("ERROR_VERTEX_SHADER_COMPLINATION_ERROR:") + ".+"
FRAGMENT = re.escape("ERROR_FRAGMENT_SHADER_COMPLINATION_ERROR:") + ".+"
LINK = re.escape("ERROR_PROGRAM_LINKING_ERROR:") + ".+"
TEXTURE = re.escape("Failed to load texture")
FONT = re.escape("ERROR::FREETYPE: Failed to load font")
GLYPH = re.escape("ERROR::FREETYTPE: Failed to load Glyph")
GLYPH_COUNT = 128
SOUND = re.escape("ERROR: Failed to load sound '") + "%s" + re.escape("': ") + ".+"


def asset(name):
    """The pattern of a content file's path as the game names it: Windows' separators or Linux's."""
    return r"[/\\]".join(re.escape(part) for part in ("assets/" + name).split("/"))


def assimp(text=".+"):
    return re.escape("ERROR::ASSIMP:: ") + text


def unopenable(name):
    return assimp(re.escape('Unable to open file "') + asset(name) + re.escape('".'))


# Lines a loader writes; anything else on standard output (such as the rest of a multi-line
# compiler log) is not a message of its own.
MESSAGE_LINE = re.compile(r"^(ERROR|Failed to load texture|Texture failed to load)")


def message_lines(stdout):
    return [line for line in stdout.splitlines() if MESSAGE_LINE.match(line)]


def expected_messages(name, damage):
    """The messages, in order, as patterns each matching one whole line."""
    kind = damage.__name__
    if name == faults.SETTINGS:
        # An empty or damaged file is still a readable INI file: bad lines are skipped and
        # missing keys take their defaults, without a word.
        return [SETTINGS_MESSAGE] if kind in ("missing", "directory") else []
    if name in faults.SHADERS:
        if kind in ("missing", "directory"):
            # Neither file of the pair is used: both stages compile empty sources.
            return [FILE, VERTEX, FRAGMENT, LINK]
        stage = VERTEX if name.endswith(".vert") else FRAGMENT
        return [stage, LINK]
    if name in faults.MODELS:
        return model_messages(name, kind)
    if name in faults.MATERIALS:
        # The OBJ reader goes on with its default material when the material file is missing,
        # a folder or unparsable; damaged material lines are skipped.
        return []
    if name in faults.TEXTURES:
        return [TEXTURE]
    if name == faults.FONT:
        return [FONT] + [GLYPH] * GLYPH_COUNT
    if name in faults.SOUNDS:
        # The sound's line goes to standard error.
        return []
    raise AssertionError("no expectation for " + name)


def model_messages(name, kind):
    if kind in ("missing", "directory"):
        return [unopenable(name)]
    if name.endswith(".fbx"):
        return [assimp()]
    no_meshes = assimp(re.escape('No meshes in file "') + asset(name) + re.escape('".'))
    return {
        "empty": [assimp(re.escape("OBJ-file is too small."))],
        # Cut at a line end, the clock's first half is itself a valid, smaller model.
        "truncated": [] if name.endswith("clock.obj") else [assimp()],
        "random_bytes": [no_meshes],
    }.get(kind, [assimp()])


# Damages that leave every program intact must not cause a single GL error either.
def gl_errors_allowed(name):
    return name in faults.SHADERS


# LeakSanitizer's own thread tracer now and then dies while the driver's threads wind down at
# exit; that says nothing about the game, so such a run is repeated (a leak report is not).
LEAK_CHECKER_FAILURE = "LeakSanitizer has encountered a fatal error"
LEAK_CHECK_RETRIES = 4
LEAK_REPORT = "detected memory leaks"
TRACER_FAILURE_LINE = re.compile(
    r"Tracer caught signal|LeakSanitizer has encountered a fatal error|"
    r"HINT: (For debugging, try setting|LeakSanitizer does not work under ptrace)")

SANITIZER_REPORT = re.compile(r"Sanitizer|runtime error:")

SANITIZER_CASES = {
    faults.SETTINGS: "random_bytes",
    "shader/materialVertexShader.vert": "truncated",
    "objects/character.fbx": "truncated",
    "objects/stone.obj": "random_bytes",
    "objects/stone.mtl": "random_bytes",
    "textures/grasTexture.jpg": "truncated",
    faults.FONT: "truncated",
    "sounds/phase_switch.wav": "random_bytes",
}


def chosen(name, damage):
    # A build run under another program (the Windows build under Wine) starts its games slowly
    # too, and its loaders are the same code the Linux build plays through every case.
    slow = harness.OPTIONS.sanitized or harness.OPTIONS.runner
    if not slow or os.environ.get("CHRONOCELL_FULL_MATRIX") == "1":
        return True
    return SANITIZER_CASES.get(name) == damage.__name__


class FaultMatrixTest(unittest.TestCase):
    cases_dealt = 0
    cases_tried = 0
    inconclusive_leak_checks = []

    @classmethod
    def setUpClass(cls):
        cls.xvfb = harness.Xvfb()

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.stop()
        print("\nfault matrix: %d cases tried" % FaultMatrixTest.cases_tried)
        if FaultMatrixTest.inconclusive_leak_checks:
            print("leak check inconclusive (the leak tracer died on every try): %s"
                  % ", ".join(FaultMatrixTest.inconclusive_leak_checks))

    def check_files(self, names):
        part, parts = harness.OPTIONS.part
        for name in names:
            for damage in filter(lambda damage: chosen(name, damage), faults.damages(name)):
                FaultMatrixTest.cases_dealt += 1
                if FaultMatrixTest.cases_dealt % parts != part % parts:
                    continue
                with self.subTest(case=faults.case_name(name, damage)):
                    self.check_case(name, damage)

    def check_case(self, name, damage):
        FaultMatrixTest.cases_tried += 1
        result = faults.play_case(name, damage, self.xvfb)
        for _ in range(LEAK_CHECK_RETRIES):
            if LEAK_CHECKER_FAILURE not in result.stderr:
                break
            result = faults.play_case(name, damage, self.xvfb)
        stderr, exit_code = result.stderr, result.exit_code
        if LEAK_CHECKER_FAILURE in stderr and LEAK_REPORT not in stderr:
            # The tracer died on every try: the leak check of this case is inconclusive, while
            # memory errors, which are reported when they happen, would still show.
            FaultMatrixTest.inconclusive_leak_checks.append(faults.case_name(name, damage))
            stderr = "\n".join(line for line in stderr.splitlines()
                               if not TRACER_FAILURE_LINE.search(line))
            exit_code = 0 if exit_code == 1 else exit_code
        # GL errors of a broken program repeat every frame; the rest of standard error is kept.
        other = "\n".join(line for line in stderr.splitlines()
                          if not line.startswith("GL CALLBACK:"))
        context = "\nstdout:\n%s\nstderr without GL messages:\n%s" % (result.stdout[-3000:],
                                                                    other[-5000:])
        self.assertEqual([], result.problems, context)
        self.assertEqual(0, exit_code, context)
        self.assertIsNone(SANITIZER_REPORT.search(stderr), context)
        expected = expected_messages(name, damage)
        lines = message_lines(result.stdout)
        if name in faults.SHADERS and damage is faults.truncated and len(lines) == 1:
            # Half a shader may still compile when the cut falls before its main function,
            # which the linker then reports alone.
            expected = expected[1:]
        self.assertEqual(len(expected), len(lines), context)
        for pattern, line in zip(expected, lines):
            self.assertRegex(line, "^" + pattern + "$")
        if not expected:
            self.assertEqual("", result.stdout)
        # A shader, texture, model or font that did not load is also named, with the reason,
        # on standard error.
        unread = any(line.startswith(("ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ",
                                      "Failed to load texture", "ERROR::ASSIMP::",
                                      "ERROR::FREETYPE: Failed to load font"))
                     for line in lines)
        if unread:
            named = [line for line in stderr.splitlines() if line.startswith("chronocell: cannot ")
                     and re.search(asset(name) + ": ", line)]
            self.assertEqual(1, len(named), context)
        if name in faults.SOUNDS:
            sound_lines = [line for line in stderr.splitlines() if line.startswith("ERROR")]
            self.assertEqual(1, len(sound_lines), context)
            self.assertRegex(sound_lines[0], "^" + SOUND % asset(name) + "$")
        if not gl_errors_allowed(name):
            self.assertNotIn("** GL ERROR **", result.stderr, context)

    def test_settings_file(self):
        self.check_files([faults.SETTINGS])

    def test_shader_files(self):
        self.check_files(faults.SHADERS)

    def test_model_files(self):
        self.check_files(faults.MODELS)

    def test_material_files_read_with_the_models(self):
        self.check_files(faults.MATERIALS)

    def test_texture_files(self):
        self.check_files(faults.TEXTURES)

    def test_font_file(self):
        self.check_files([faults.FONT])

    def test_sound_files(self):
        self.check_files(faults.SOUNDS)


if __name__ == "__main__":
    harness.main()
