#!/usr/bin/env python3
"""The frame time of the Windows game under Wine against the Linux game, side by side on one Xvfb
and the same llvmpipe: chronocell-bench's scripted play, run in turn by each build, rounds
alternating so that a busy machine weighs on both alike.

Usage: windows_frames.py LINUX_BUILD WINDOWS_BUILD [FRAMES] [ROUNDS]
"""

import os
import re
import statistics
import subprocess
import sys

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# "  game    28.47    33.88    29.5    35.54     598" under the frame-time heading.
GAME_LINE = re.compile(r"^  game\s+([\d.]+)\s+([\d.]+)", re.MULTILINE)


def frame_times(command, environment):
    """The game's median and p99 frame time, in milliseconds."""
    result = subprocess.run([os.path.join(SOURCE, "tools", "with-display.sh"), *command],
                            capture_output=True, text=True, env=environment, timeout=900)
    found = GAME_LINE.search(result.stdout)
    if result.returncode != 0 or not found:
        sys.exit(f"{' '.join(command)} failed ({result.returncode}):\n{result.stdout[-2000:]}"
                 f"{result.stderr[-2000:]}")
    return float(found.group(1)), float(found.group(2))


def main():
    if len(sys.argv) not in (3, 4, 5):
        sys.exit(__doc__)
    linux, windows = (os.path.abspath(folder) for folder in sys.argv[1:3])
    frames = sys.argv[3] if len(sys.argv) > 3 else "1200"
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    environment = dict(os.environ, WINEPREFIX=os.path.join(windows, "wine"), WINEDEBUG="-all",
                       SDL_AUDIODRIVER="dummy")
    environment.pop("DISPLAY", None)
    subprocess.run(["wineboot", "-i"], env=environment, capture_output=True, check=True)
    runs = {"Linux": [], "Windows under Wine": []}
    for _ in range(rounds):
        runs["Linux"].append(frame_times(
            [os.path.join(linux, "chronocell-bench"), "--frames", frames], environment))
        runs["Windows under Wine"].append(frame_times(
            ["wine", os.path.join(windows, "chronocell-bench.exe"), "--frames", frames],
            environment))
    medians = {}
    print(f"Frame time, ms, of {frames} frames of scripted play, {rounds} rounds each")
    for name, times in runs.items():
        medians[name] = statistics.median(median for median, _ in times)
        print(f"  {name:20} median {medians[name]:6.2f}   p99 "
              f"{statistics.median(p99 for _, p99 in times):6.2f}   rounds' medians "
              + " ".join(f"{median:.2f}" for median, _ in times))
    ratio = medians["Windows under Wine"] / medians["Linux"]
    print(f"  Windows under Wine / Linux: {ratio:.3f} (goal <= 1.10)")


if __name__ == "__main__":
    main()
