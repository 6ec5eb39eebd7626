"""A Wine prefix for tests: made once, and with no debugger to start when a program crashes, so
that a crash fails its test at once instead of leaving the run waiting on winedbg for ever."""

import subprocess

AEDEBUG = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug"


def prepare(environment=None):
    subprocess.run(["wineboot", "-i"], env=environment, capture_output=True, check=True,
                   timeout=300)
    subprocess.run(["wine", "reg", "add", AEDEBUG, "/v", "Debugger", "/t", "REG_SZ", "/d", "",
                    "/f"], env=environment, capture_output=True, check=True, timeout=120)
