#!/usr/bin/env python3
"""The Windows installer and zip that `make windows-package` made, checked under Wine in a
prefix of their own: a silent install puts every file of the zip, the uninstaller, the Start menu
entry and the installed-programs entry in place; the installed programs replay recordings as the
Linux build does (the zip's game plays in test_game_under_wine.py); a second packaging gives the
same bytes; the silent uninstall leaves nothing of the game's behind, and the player's own files
where they were.

Usage: test_package.py WINDOWS_BUILD_FOLDER [LINUX_BUILD_FOLDER]
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

import wineprefix

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Chronocell"
INSTALLED = r"C:\Program Files\Chronocell"
RECORDINGS = [os.path.join(SOURCE, "tests", "replays", name) for name in ("won.ccr", "lost.ccr")]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def output(command, **arguments):
    """Exit code and standard output, with Windows' line ends read as Linux's."""
    result = subprocess.run(command, capture_output=True, timeout=300, **arguments)
    return result.returncode, result.stdout.decode(errors="replace").replace("\r\n", "\n")


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


def shortcut(path):
    """The target and working folder of a Windows shortcut (.lnk): the target's local path in
    its LinkInfo, the working folder among the counted UTF-16 strings after it."""
    with open(path, "rb") as lnk:
        data = lnk.read()
    flags, = struct.unpack_from("<I", data, 20)
    at = 76
    if flags & 0x1:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = ""
    if flags & 0x2:
        base = at + struct.unpack_from("<I", data, at + 16)[0]
        target = data[base:data.index(b"\0", base)].decode("latin-1")
        at += struct.unpack_from("<I", data, at)[0]
    strings = []
    for present in (0x4, 0x8, 0x10):
        if flags & present:
            count, = struct.unpack_from("<H", data, at)
            text = data[at + 2:at + 2 + 2 * count].decode("utf-16-le")
            # Wine counts the string's terminating NUL as part of it; Windows does not.
            strings.append((present, text.rstrip("\0")))
            at += 2 + 2 * count
    return target, dict(strings).get(0x10)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    linux = os.path.abspath(sys.argv[2] if len(sys.argv) == 3 else os.path.join(SOURCE, "build"))
    with open(os.path.join(build, "package-version"), encoding="utf-8") as version_file:
        version = version_file.read().strip()
    name = f"chronocell-{version}-win64"
    made = [os.path.join(build, name + suffix) for suffix in ("-setup.exe", ".zip")]
    first = [open(path, "rb").read() for path in made]
    work = tempfile.mkdtemp(prefix="chronocell-package-test-")
    environment = dict(os.environ, WINEPREFIX=os.path.join(work, "wine"), WINEDEBUG="-all",
                       WINEDLLOVERRIDES="mscoree,mshtml=")

    def wine(*command, cwd=None):
        # An uninstaller copies itself away and returns at once: wait for every process of the
        # prefix to end.
        result = output(["wine", *command], env=environment, cwd=cwd)
        subprocess.run(["wineserver", "-w"], env=environment, check=True, timeout=300)
        return result

    try:
        started = time.monotonic()
        wineprefix.prepare(environment)
        drive = os.path.join(work, "wine", "drive_c")
        folder = os.path.join(drive, "Program Files", "Chronocell")
        lnk = os.path.join(drive, "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                           "Chronocell.lnk")
        settings = os.path.join(drive, "users", os.environ.get("USER", "root"), "AppData",
                                "Roaming", "Chronocell", "settings.ini")
        check(wine(made[0], "/S")[0] == 0, "the silent install failed")

        zipped = zipfile.ZipFile(made[1])
        contents = {entry.filename[len(name) + 1:]: zipped.read(entry)
                    for entry in zipped.infolist() if not entry.is_dir()}
        installed = files_under(folder)
        check(installed == sorted(list(contents) + ["Uninstall.exe"]),
              f"installed {installed}, the zip holds {sorted(contents)}")
        for path, data in contents.items():
            if os.path.exists(os.path.join(folder, path)):
                check(open(os.path.join(folder, path), "rb").read() == data,
                      f"the installed {path} is not the zip's")
        stamp = time.gmtime(int(os.environ.get("SOURCE_DATE_EPOCH") or output(
            ["git", "-C", SOURCE, "log", "-1", "--format=%ct"])[1]))[:6]
        # A zip keeps seconds in twos.
        stamp = stamp[:5] + (stamp[5] // 2 * 2,)
        check([e.filename for e in zipped.infolist()] == sorted(zipped.namelist()) and
              all(e.date_time == stamp for e in zipped.infolist()),
              "the zip's entries are not sorted or not dated SOURCE_DATE_EPOCH")

        values = {}
        for line in wine("reg", "query", KEY)[1].splitlines():
            if line.startswith("    "):
                key, _, value = line.strip().split("    ", 2)
                values[key] = value
        uninstaller = INSTALLED + r"\Uninstall.exe"
        size = sum(len(data) for data in contents.values())
        for key, wanted in [("DisplayName", "Chronocell"), ("DisplayVersion", version),
                            ("UninstallString", f'"{uninstaller}"'),
                            ("QuietUninstallString", f'"{uninstaller}" /S'),
                            ("InstallLocation", INSTALLED),
                            ("DisplayIcon", INSTALLED + r"\chronocell.exe,0"),
                            ("NoModify", "0x1"), ("NoRepair", "0x1")]:
            check(values.get(key) == wanted, f"{KEY} {key} is {values.get(key)!r}, not {wanted!r}")
        check(values.get("Publisher"), f"{KEY} names no Publisher")
        check(abs(int(values.get("EstimatedSize", "0"), 16) * 1024 - size) < 1024,
              f"{KEY} EstimatedSize {values.get('EstimatedSize')} KB is not {size} bytes")
        wanted_lnk = (INSTALLED + r"\chronocell.exe", INSTALLED)
        check(os.path.exists(lnk) and shortcut(lnk) == wanted_lnk,
              f"the Start menu shortcut is {shortcut(lnk) if os.path.exists(lnk) else 'missing'}")

        # The installed programs against the Linux build's replay of the same file.
        runs = [(recording, ["wine", INSTALLED + r"\chronocell-verify.exe", "Z:" + recording])
                for recording in RECORDINGS]
        runs.append((RECORDINGS[0], ["wine", INSTALLED + r"\chronocell.exe", "--replay",
                                     "Z:" + RECORDINGS[0], "--headless"]))
        with open(os.path.join(SOURCE, "data", "icons", "icon-256.png"), "rb") as icon:
            check(icon.read() in contents["chronocell.exe"], "chronocell.exe holds no icon")
        check(wine(INSTALLED + r"\chronocell.exe", "--version") ==
              output([os.path.join(linux, "chronocell"), "--version"]),
              "chronocell.exe --version is not the Linux build's")
        for recording, command in runs:
            got = wine(*command[1:], cwd=work)
            wanted = output([os.path.join(linux, "chronocell-verify"), recording])
            check(got == wanted, f"{' '.join(command)} gave {got}, the Linux build {wanted}")

        # The player's own: settings, and a recording kept in the game's folder.
        os.makedirs(os.path.dirname(settings))
        for own in (settings, os.path.join(folder, "my run.ccr")):
            shutil.copy(RECORDINGS[0], own)
        quiet = values.get("QuietUninstallString", '"" /S').split('"')
        check(wine(quiet[1], *quiet[2].split())[0] == 0, "the silent uninstall failed")
        left = files_under(folder) if os.path.isdir(folder) else []
        check(left == ["my run.ccr"],
              f"the uninstall left {left} in {folder}, where only the player's my run.ccr was due")
        check(os.path.exists(settings), f"the uninstall removed the player's {settings}")
        check(not os.path.exists(lnk), f"the uninstall left {lnk}")
        check(wine("reg", "query", KEY)[0] != 0, f"the uninstall left {KEY}")

        subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "windows", "package.py"),
                        build], check=True, stdout=subprocess.DEVNULL)
        for path, before in zip(made, first):
            check(open(path, "rb").read() == before, f"a second packaging changed {path}")
        print(f"test_package: {len(runs)} runs under Wine, {time.monotonic() - started:.0f} s")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
