"""The installed game: an install into a folder of its own and the Debian package both start from
an unrelated working directory and play; the menu entry, the software-centre record and the
manual page pass their validators; the icons regenerate byte for byte. The build folder is the
one holding --binary."""

import filecmp
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
from xml.etree import ElementTree

import harness

APP_ID = "org.chronocell.Chronocell"
ICON_SIZES = (32, 48, 64, 128, 256)
# One package of a Depends field: name, then an optional relation and version.
DEPENDENCY = re.compile(r"^\s*([^\s(]+)\s*(?:\(\s*([<>=]+)\s*([^)\s]+)\s*\))?\s*$")


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def build_folder():
    return os.path.dirname(harness.OPTIONS.binary)


class InstallTestCase(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="chronocell-install-")
        self.addCleanup(shutil.rmtree, self.scratch, ignore_errors=True)

    def install(self, prefix):
        run("cmake", "--install", build_folder(), "--prefix", prefix)
        return prefix

    def assert_plays_from_elsewhere(self, binary, stray_assets=False):
        """Starts the game in a folder without content (or with an empty assets/ of no game's,
        which an installed game must not take for its own), plays, and leaves with two
        Escapes."""
        elsewhere = tempfile.mkdtemp(dir=self.scratch)
        if stray_assets:
            os.mkdir(os.path.join(elsewhere, "assets"))
        game = harness.GameRun(binary=binary, working_directory=elsewhere)
        self.addCleanup(game.close)
        game.wait_window()
        game.tap("Return")
        game.wait_for_play()
        game.tap("Escape")
        self.assertTrue(game.sync(2), "Escape in play does not quit")
        game.tap("Escape")
        self.assertEqual(0, game.wait_exit())
        self.assertEqual("", game.stdout())


class InstalledTreePlays(InstallTestCase):
    def test_installed_tree_plays_from_anywhere_and_after_a_move(self):
        prefix = self.install(os.path.join(self.scratch, "prefix"))
        self.assertEqual(["chronocell"], os.listdir(os.path.join(prefix, "bin")))
        self.assert_plays_from_elsewhere(os.path.join(prefix, "bin", "chronocell"))
        self.assert_plays_from_elsewhere(os.path.join(prefix, "bin", "chronocell"),
                                         stray_assets=True)
        moved = shutil.move(prefix, os.path.join(self.scratch, "moved"))
        self.assert_plays_from_elsewhere(os.path.join(moved, "bin", "chronocell"))


class PackagePlays(InstallTestCase):
    def build_package(self, folder):
        """`make package` in a clone of the repository at `folder`; the path of its .deb."""
        run("git", "clone", "--quiet", harness.OPTIONS.source, folder)
        run("make", "-C", folder, "package")
        version = run(harness.OPTIONS.binary, "--version").split()[-1]
        architecture = run("dpkg", "--print-architecture").strip()
        return os.path.join(folder, "build", "chronocell_%s_%s.deb" % (version, architecture))

    def test_package_is_reproducible_lintian_clean_and_plays(self):
        """Two clones in two folders give the same bytes; lintian finds no error and no warning;
        the game lies in /usr/games, reads its font from fonts-comfortaa, plays from anywhere,
        and declares only dependencies this machine has."""
        package = self.build_package(os.path.join(self.scratch, "one"))
        again = self.build_package(os.path.join(self.scratch, "elsewhere", "two"))
        self.assertTrue(filecmp.cmp(package, again, shallow=False),
                        "two builds from two folders differ")
        lintian = subprocess.run(["lintian", "--fail-on", "error,warning", package],
                                 capture_output=True, text=True)
        self.assertEqual(0, lintian.returncode, lintian.stdout + lintian.stderr)

        root = os.path.join(self.scratch, "root")
        run("dpkg-deb", "-x", package, root)
        binary = os.path.join(root, "usr", "games", "chronocell")
        self.assertRegex(run("file", "-b", binary), r"(?<!not) stripped")
        font = os.path.join(root, "usr", "share", "games", "chronocell", "assets", "fonts",
                            "Ansley_Display_Regular.ttf")
        self.assertTrue(os.path.islink(font))
        # What installing fonts-comfortaa would put where the link points.
        shipped = "/usr/share/fonts/truetype/comfortaa/Comfortaa-Bold.ttf"
        os.makedirs(os.path.dirname(root + shipped))
        shutil.copy(shipped, root + shipped)
        self.assertTrue(os.path.isfile(font))
        self.assert_plays_from_elsewhere(binary)

        depends = run("dpkg-deb", "-f", package, "Depends")
        choices = [[DEPENDENCY.match(option).groups() for option in entry.split("|")]
                   for entry in depends.split(",")]
        names = [name for options in choices for name, _, _ in options]
        self.assertIn("libglfw3", names)
        # A video export without a display draws through libEGL, which brings Mesa's EGL.
        self.assertIn("libegl1", names)
        self.assertIn("fonts-comfortaa", names)
        # Exporting videos is optional: the encoder is recommended, never forced on a player.
        self.assertNotIn("ffmpeg", names)
        self.assertEqual("ffmpeg", run("dpkg-deb", "-f", package, "Recommends").strip())
        unmet = [options for options in choices if not any(map(self.is_installed, options))]
        self.assertEqual([], unmet)

    @staticmethod
    def is_installed(dependency):
        name, relation, version = dependency
        query = subprocess.run(["dpkg-query", "-W", "-f=${Status}\t${Version}\n", name],
                               capture_output=True, text=True)
        for line in query.stdout.splitlines():
            status, installed = line.split("\t")
            if status == "install ok installed" and (not relation or subprocess.run(
                    ["dpkg", "--compare-versions", installed, relation, version]).returncode == 0):
                return True
        return False


class DesktopFilesValidate(InstallTestCase):
    def test_menu_entry_record_and_manual_page_pass_their_validators(self):
        share = os.path.join(self.install(self.scratch), "share")
        entry = os.path.join(share, "applications", APP_ID + ".desktop")
        self.assertEqual("", run("desktop-file-validate", entry))
        record = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
        run("appstreamcli", "validate", "--no-net", record)
        manual = subprocess.run(["groff", "-man", "-ww", "-z",
                                 os.path.join(share, "man", "man6", "chronocell.6")],
                                capture_output=True, text=True)
        self.assertEqual((0, ""), (manual.returncode, manual.stderr))

        # The menu entry, its icon and the record name one another and the command.
        with open(entry) as file:
            keys = dict(line.strip().split("=", 1) for line in file if "=" in line)
        component = ElementTree.parse(record).getroot()
        self.assertEqual(
            ("chronocell", APP_ID, APP_ID, APP_ID + ".desktop", "chronocell"),
            (keys["Exec"], keys["Icon"], component.findtext("id"),
             component.findtext("launchable"), component.findtext("provides/binary")))
        icons = os.path.join(share, "icons", "hicolor")
        for size in ICON_SIZES:
            with open(os.path.join(icons, "%dx%d" % (size, size), "apps", APP_ID + ".png"),
                      "rb") as file:
                self.assertEqual((size, size), struct.unpack(">II", file.read(24)[16:24]))
        self.assertTrue(os.path.isfile(os.path.join(icons, "scalable", "apps", APP_ID + ".svg")))


class IconsRegenerate(InstallTestCase):
    def test_icons_regenerate_byte_for_byte(self):
        checked_in = os.path.join(harness.OPTIONS.source, "data", "icons")
        subprocess.run([sys.executable, os.path.join(harness.OPTIONS.source, "tools",
                                                     "gen_icons.py"), self.scratch], check=True)
        names = sorted(os.listdir(checked_in))
        self.assertEqual(names, sorted(os.listdir(self.scratch)))
        _, differing, errors = filecmp.cmpfiles(checked_in, self.scratch, names, shallow=False)
        self.assertEqual(([], []), (differing, errors))


if __name__ == "__main__":
    harness.main()
