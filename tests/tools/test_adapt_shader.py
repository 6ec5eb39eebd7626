"""The browser build's shaders, adapted by tools/web/adapt_shader.py to GLSL ES 3.00 and checked by
glslangValidator as WebGL2 would take them.

Faults caught: a shipped shader using a construct ES refuses; the version line left alone; a
fragment shader without a default float precision; int or sampler precisions left to ES's lower
defaults, so that a uniform both stages declare fails to link; a binding left in (ES 3.00 refuses
it); a location, or another layout item, removed along with the binding; a binding other than 0
dropped without a word although the texture would then be read from unit 0; a file of another
version adapted; the prelude shifting the compiler's line numbers; a folder half written when one
file is bad."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SHADERS = os.path.join(SOURCE, "assets", "shader")
ADAPTER = os.path.join(SOURCE, "tools", "web", "adapt_shader.py")
sys.path.insert(0, os.path.dirname(ADAPTER))
import adapt_shader as adapter  # noqa: E402  (found through the path just set)


def run(*arguments):
    return subprocess.run(arguments, capture_output=True, text=True, check=False)


class AdaptShaderTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="adapt-shader-")
        self.addCleanup(shutil.rmtree, self.folder)

    def write(self, name, text):
        with open(os.path.join(self.folder, name), "w", encoding="utf-8") as file:
            file.write(text)
        return os.path.join(self.folder, name)

    def assert_glslang(self, *arguments):
        """glslangValidator's output, having checked that it accepted the files."""
        result = run("glslangValidator", *arguments)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        return result.stdout

    def test_shipped_shaders_compile_as_es_300(self):
        es = os.path.join(self.folder, "es")
        self.assertEqual(run(sys.executable, ADAPTER, "--folder", SHADERS, es).returncode, 0)
        self.assertEqual(sorted(os.listdir(es)), sorted(os.listdir(SHADERS)))
        for name in os.listdir(es):
            with self.subTest(name), open(os.path.join(es, name), encoding="utf-8") as file:
                self.assertEqual(file.readline(), "#version 300 es\n")
                self.assert_glslang(os.path.join(es, name))

    def test_layouts_keep_all_but_the_binding(self):
        cases = [
            ("a lone binding 0 goes with its layout",
             "layout(binding = 0) uniform sampler2D glyph;\n", "uniform sampler2D glyph;\n"),
            ("unspaced", "layout(binding=0)uniform sampler2D glyph;\n",
             "uniform sampler2D glyph;\n"),
            ("the other items of a layout stay",
             "layout(std140, binding = 0) uniform Block {\n    vec4 tint;\n};\n",
             "layout(std140) uniform Block {\n    vec4 tint;\n};\n"),
            ("a layout ending its line leaves the line",
             "layout(binding = 0)\nuniform sampler2D glyph;\n", "\nuniform sampler2D glyph;\n"),
            # None: left as written.
            ("a layout without a binding", "layout(location=1)  in vec3 normal;\n", None),
            ("a binding in a comment is no binding", "// layout(binding = 3) once\n", None),
            ("nor in a block comment", "/* layout(binding = 2) */\n", None),
        ]
        for name, body, expected in cases:
            with self.subTest(name):
                adapted = adapter.adapt("#version 430 core\n// before\n" + body)
                self.assertTrue(adapted.endswith("\n// before\n" + (expected or body)), adapted)

    def test_precisions_and_line_numbers_are_the_desktops(self):
        # ES would give a fragment shader's ints medium precision and a sampler low, where the
        # vertex shader and the desktop have high; a uniform of both stages must agree.
        uniforms = "#version 430 core\nuniform int count;\nuniform sampler2D glyph;\n"
        vertex = self.write("shared.vert", adapter.adapt(
            uniforms + "void main() {\n    gl_Position = texture(glyph, vec2(count));\n}\n"))
        fragment = self.write("shared.frag", adapter.adapt(
            uniforms + "out vec4 colour;\n"
            "void main() {\n    colour = texture(glyph, vec2(count)) * 0.5;\n}\n"))
        self.assertNotRegex(self.assert_glslang("-l", "-i", vertex, fragment), "mediump|lowp")
        broken = self.write("broken.frag", adapter.adapt(
            "#version 430 core\n\nout vec4 colour;\n\nvoid main() {\n    colour = 1;\n}\n"))
        self.assertIn("ERROR: 0:6:", run("glslangValidator", broken).stdout)

    def test_refused_files_exit_1_and_write_nothing(self):
        cases = [
            ("a binding other than 0 among other items",
             "#version 430 core\nlayout(binding = 0) uniform sampler2D a;\n"
             "layout(std140, binding = 4) uniform B { vec4 v; };\n", "line 3: binding 4"),
            ("an older desktop version", "#version 330 core\nvoid main() {}\n",
             "#version 330 core"),
            ("the compatibility profile", "#version 430\nvoid main() {}\n", "#version 430'"),
            ("already ES", "#version 300 es\nvoid main() {}\n", "#version 300 es"),
            ("no version line", "void main() {}\n", "expected '#version 430 core'"),
            ("an empty file", "", "expected '#version 430 core'"),
        ]
        target = os.path.join(self.folder, "out.frag")
        for name, text, named in cases:
            with self.subTest(name):
                source = self.write("in.frag", text)
                result = run(sys.executable, ADAPTER, source, target)
                self.assertEqual(result.returncode, 1)
                self.assertIn(source, result.stderr)
                self.assertIn(named, result.stderr)
                self.assertFalse(os.path.exists(target))

    def test_a_folder_with_one_refused_file_is_written_not_at_all(self):
        self.write("a.frag", "#version 430 core\nout vec4 colour;\nvoid main() {}\n")
        self.write("b.frag", "#version 430 core\nlayout(binding = 1) uniform sampler2D s;\n")
        target = os.path.join(self.folder, "es")
        result = run(sys.executable, ADAPTER, "--folder", self.folder, target)
        self.assertEqual(result.returncode, 1)
        self.assertIn("b.frag: line 2: binding 1", result.stderr)
        self.assertNotIn("a.frag", result.stderr)
        self.assertFalse(os.path.exists(target))


if __name__ == "__main__":
    unittest.main()
