"""The browser build's shaders: every shipped desktop shader, adapted by tools/web/adapt_shader.py,
is GLSL ES 3.00 that glslangValidator compiles and links as WebGL2 would take it.

Faults caught: a shipped shader using a construct ES refuses (an int where a float is wanted, a
desktop-only function or qualifier); the version line left alone; a fragment shader without a
default float precision; int or sampler precisions left to ES's lower defaults, so that a
uniform both stages declare fails to link; a binding left in (ES 3.00 refuses it); a location,
or another layout item, removed along with the binding; a binding other than 0 dropped without
a word although the texture would then be read from unit 0; a file of another version adapted;
the prelude shifting the compiler's line numbers; a folder half written when one file is bad."""

import importlib.util
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SHADERS = os.path.join(SOURCE, "assets", "shader")
ADAPTER = os.path.join(SOURCE, "tools", "web", "adapt_shader.py")
# The programs the game links, vertex shader first.
PROGRAMS = [
    ("materialVertexShader.vert", "materialFragmentShader.frag"),
    ("textureMaterialVertexShader.vert", "textureMaterialFragmentShader.frag"),
    ("vertexShaderAnimation.vert", "fragmentShaderAnimation.frag"),
    ("particelShaderVertex.vert", "particelShaderFragment.frag"),
    ("textVertexShader.vert", "textFragmentShader.frag"),
]

FRAGMENT_TAIL = "out vec4 colour;\nvoid main() {\n    colour = vec4(1.0);\n}\n"


def load_adapter():
    spec = importlib.util.spec_from_file_location("adapt_shader", ADAPTER)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


adapter = load_adapter()


def run_adapter(*arguments):
    return subprocess.run([sys.executable, ADAPTER, *arguments], capture_output=True, text=True,
                          check=False)


def glslang(*arguments):
    """glslangValidator's exit status and output for the files named."""
    result = subprocess.run(["glslangValidator", *arguments], capture_output=True, text=True,
                            check=False)
    return result.returncode, result.stdout + result.stderr


class ScratchFolder(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="adapt-shader-")
        self.addCleanup(shutil.rmtree, self.folder)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, text):
        with open(self.path(name), "w", encoding="utf-8") as file:
            file.write(text)
        return self.path(name)


class ShippedShadersTest(ScratchFolder):
    def setUp(self):
        super().setUp()
        result = run_adapter("--folder", SHADERS, self.path("es"))
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_every_shader_compiles_as_es_300(self):
        names = sorted(os.listdir(SHADERS))
        self.assertEqual(sorted(os.listdir(self.path("es"))), names)
        for name in names:
            with self.subTest(name):
                adapted = os.path.join(self.path("es"), name)
                with open(adapted, encoding="utf-8") as file:
                    self.assertEqual(file.readline(), "#version 300 es\n")
                status, output = glslang(adapted)
                self.assertEqual(status, 0, output)

    def test_every_program_links(self):
        for vertex, fragment in PROGRAMS:
            with self.subTest(vertex):
                status, output = glslang("-l", os.path.join(self.path("es"), vertex),
                                         os.path.join(self.path("es"), fragment))
                self.assertEqual(status, 0, output)


class AdaptationTest(ScratchFolder):
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
            ("a location stays", "layout(location = 0) out vec4 colour;\n",
             "layout(location = 0) out vec4 colour;\n"),
            ("a layout without a binding stays as written",
             "layout(location=1)  in vec3 normal;\n", "layout(location=1)  in vec3 normal;\n"),
            ("a binding in a comment is no binding", "// layout(binding = 3) once\n",
             "// layout(binding = 3) once\n"),
            ("nor in a block comment", "/* layout(binding = 2) */\n",
             "/* layout(binding = 2) */\n"),
        ]
        for name, body, expected in cases:
            with self.subTest(name):
                adapted = adapter.adapt("#version 430 core\n// before\n" + body)
                self.assertTrue(adapted.endswith("// before\n" + expected), adapted)
                self.assertNotIn("core", adapted.splitlines()[0])

    def test_adapted_declarations_compile_with_what_they_kept(self):
        body = ("layout(std140, binding = 0) uniform Block {\n    vec4 tint;\n};\n"
                "layout(binding = 0) uniform sampler2D glyph;\n"
                "layout(location = 0) out vec4 colour;\n"
                "void main() {\n    colour = tint * texture(glyph, vec2(0.5));\n}\n")
        adapted = self.write("kept.frag", adapter.adapt("#version 430 core\n" + body))
        status, output = glslang("-i", adapted)
        self.assertEqual(status, 0, output)
        self.assertIn("layout( location=0", output)
        self.assertIn("layout( column_major std140", output)

    def test_precisions_are_the_desktops(self):
        # ES would give a fragment shader's ints medium precision and a sampler low, where the
        # vertex shader and the desktop have high; a uniform of both stages must agree.
        vertex = self.write("shared.vert", adapter.adapt(
            "#version 430 core\nuniform int count;\nuniform sampler2D glyph;\n"
            "void main() {\n    gl_Position = texture(glyph, vec2(count));\n}\n"))
        fragment = self.write("shared.frag", adapter.adapt(
            "#version 430 core\nuniform int count;\nuniform sampler2D glyph;\n"
            "in float shade;\nout vec4 colour;\n"
            "void main() {\n    colour = texture(glyph, vec2(count)) * shade;\n}\n"))
        status, output = glslang("-l", "-i", vertex, fragment)
        self.assertEqual(status, 0, output)
        for declaration in ("uniform highp int", "uniform highp sampler2D",
                            "smooth in highp float"):
            with self.subTest(declaration):
                self.assertIn(declaration, output)
        self.assertNotIn("mediump", output)
        self.assertNotIn("lowp", output)

    def test_compiler_lines_are_the_desktop_files(self):
        broken = self.write("broken.frag", adapter.adapt(
            "#version 430 core\n\nout vec4 colour;\n\nvoid main() {\n    colour = 1;\n}\n"))
        status, output = glslang(broken)
        self.assertNotEqual(status, 0)
        self.assertIn("ERROR: 0:6:", output)


class RefusalTest(ScratchFolder):
    def test_refused_files_exit_1_and_write_nothing(self):
        cases = [
            ("binding 1", "#version 430 core\nlayout(binding = 1) uniform sampler2D s;\n",
             "binding 1"),
            ("a second sampler on unit 2",
             "#version 430 core\nlayout(binding = 0) uniform sampler2D a;\n"
             "layout(binding = 2) uniform sampler2D b;\n", "line 3: binding 2"),
            ("a binding among other items",
             "#version 430 core\nlayout(std140, binding = 4) uniform B { vec4 v; };\n",
             "binding 4"),
            ("an older desktop version", "#version 330 core\nvoid main() {}\n",
             "#version 330 core"),
            ("the compatibility profile", "#version 430\nvoid main() {}\n", "#version 430'"),
            ("already ES", "#version 300 es\nvoid main() {}\n", "#version 300 es"),
            ("no version line", "void main() {}\n", "expected '#version 430 core'"),
            ("an empty file", "", "expected '#version 430 core'"),
        ]
        for name, text, named in cases:
            with self.subTest(name):
                source = self.write("in.frag", text)
                result = run_adapter(source, self.path("out.frag"))
                self.assertEqual(result.returncode, 1)
                self.assertIn(source, result.stderr)
                self.assertIn(named, result.stderr)
                self.assertFalse(os.path.exists(self.path("out.frag")))

    def test_a_folder_with_one_refused_file_is_written_not_at_all(self):
        self.write("a.frag", "#version 430 core\n" + FRAGMENT_TAIL)
        self.write("b.frag", "#version 430 core\nlayout(binding = 1) uniform sampler2D s;\n")
        self.write("c.frag", "#version 430 core\n" + FRAGMENT_TAIL)
        target = os.path.join(self.folder, "es")
        result = run_adapter("--folder", self.folder, target)
        self.assertEqual(result.returncode, 1)
        self.assertIn("b.frag: line 2: binding 1", result.stderr)
        self.assertNotIn("a.frag", result.stderr)
        self.assertFalse(os.path.exists(target))


if __name__ == "__main__":
    unittest.main()
