#!/usr/bin/env python3
"""The Windows game's installer and zip, chronocell-VERSION-win64-setup.exe and
chronocell-VERSION-win64.zip, made in the Windows build folder from the tree `cmake --install`
stages there. Both are reproducible: the zip's entries are sorted and dated SOURCE_DATE_EPOCH
(the last commit's time when unset), and the installer keeps no file times at all
(tools/windows/chronocell.nsi), so two builds of the same programs give the same bytes.

Usage: package.py WINDOWS_BUILD_FOLDER
"""

import os
import shutil
import subprocess
import sys
import time
import zipfile

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The earliest time a zip entry can carry (1980-01-01).
ZIP_EPOCH = 315532800
# Characters an NSIS string would read as its own syntax; no file of the game has them.
NSIS_SPECIAL = set('"$`\'\n')


def staged_tree(build, stage):
    """The files and folders `cmake --install` puts in `stage`, relative and sorted, with '/'."""
    if os.path.exists(stage):
        shutil.rmtree(stage)
    subprocess.run(["cmake", "--install", build, "--prefix", stage], check=True,
                   stdout=subprocess.DEVNULL)
    files, folders = [], []
    for root, dirs, names in os.walk(stage):
        relative = os.path.relpath(root, stage)
        prefix = "" if relative == "." else relative.replace(os.sep, "/") + "/"
        folders += [prefix + name for name in dirs]
        files += [prefix + name for name in names]
    return sorted(files), sorted(folders)


def source_date_epoch():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    return int(subprocess.run(["git", "-C", SOURCE, "log", "-1", "--format=%ct"], check=True,
                              capture_output=True, text=True).stdout)


def write_zip(path, top, stage, files, folders, epoch):
    """A zip whose every entry sits under `top`/, in sorted order, with one date and fixed
    permissions: nothing of the machine or the moment it is made on."""
    date_time = time.gmtime(max(epoch, ZIP_EPOCH))[:6]
    entries = [(folder + "/", None) for folder in folders] + [(name, name) for name in files]
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for entry, name in sorted(entries):
            info = zipfile.ZipInfo(top + "/" + entry, date_time)
            info.create_system = 3
            if name is None:
                info.external_attr = (0o40755 << 16) | 0x10
                archive.writestr(info, b"")
                continue
            info.external_attr = 0o100644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(stage, name), "rb") as content:
                archive.writestr(info, content.read(), compresslevel=9)
    os.replace(partial, path)


def nsis_lists(work, stage, files, folders):
    """The installer's two lists: each folder's files to put in place, and to remove again, each
    file by its name and then each folder deepest first, which Windows removes only when empty."""
    for name in files + folders:
        if NSIS_SPECIAL & set(name):
            sys.exit(f"package.py: {name!r} cannot be named in the installer's script")
    install = []
    for folder in [""] + folders:
        inside = [name for name in files if os.path.dirname(name) == folder]
        if not inside:
            continue
        install.append('SetOutPath "$INSTDIR%s"' % ("\\" + folder.replace("/", "\\") if folder
                                                     else ""))
        install += ['File "%s"' % os.path.join(stage, name) for name in inside]
    uninstall = ['Delete "$INSTDIR\\%s"' % name.replace("/", "\\") for name in files]
    uninstall += ['RMDir "$INSTDIR\\%s"' % folder.replace("/", "\\")
                  for folder in sorted(folders, key=lambda f: (-f.count("/"), f))]
    paths = os.path.join(work, "install-files.nsh"), os.path.join(work, "uninstall-files.nsh")
    for path, lines in zip(paths, (install, uninstall)):
        with open(path, "w", encoding="utf-8") as out:
            out.write("\n".join(lines) + "\n")
    return paths


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    with open(os.path.join(build, "package-version"), encoding="utf-8") as version_file:
        version = version_file.read().strip()
    name = f"chronocell-{version}-win64"
    work = os.path.join(build, "package")
    stage = os.path.join(work, name)
    files, folders = staged_tree(build, stage)
    for wanted in ("chronocell.exe", "chronocell-verify.exe", "LICENSE.txt"):
        if wanted not in files:
            sys.exit(f"package.py: the staged tree has no {wanted}")

    epoch = source_date_epoch()
    # cmake --install keeps each file's own time from the build or checkout; the installer keeps
    # none, but nothing packed from the tree should depend on when its files were made.
    for path in files + folders:
        os.utime(os.path.join(stage, path), (epoch, epoch))
    zip_path = os.path.join(build, name + ".zip")
    write_zip(zip_path, name, stage, files, folders, epoch)

    install_list, uninstall_list = nsis_lists(work, stage, files, folders)
    size_kb = (sum(os.path.getsize(os.path.join(stage, f)) for f in files) + 1023) // 1024
    setup_path = os.path.join(build, name + "-setup.exe")
    subprocess.run(["makensis", "-V2", "-INPUTCHARSET", "UTF8", f"-DVERSION={version}",
                    f"-DSTAGE={stage}", f"-DOUTFILE={setup_path}", f"-DSIZE_KB={size_kb}",
                    f"-DINSTALL_FILES={install_list}", f"-DUNINSTALL_FILES={uninstall_list}",
                    f"-DICON={os.path.join(build, 'chronocell.ico')}",
                    os.path.join(SOURCE, "tools", "windows", "chronocell.nsi")],
                   check=True, env=dict(os.environ, SOURCE_DATE_EPOCH=str(epoch)))
    for path in (setup_path, zip_path):
        print(f"{path}: {os.path.getsize(path)} bytes")


if __name__ == "__main__":
    main()
