#!/usr/bin/env python3
"""The video export's speed on this machine: the export of a recording against the drawing of
the same frames alone, measured side by side, in seconds of export per second of play; a 400x300
export for the part that does not scale with the picture; and one game recorded at 300 passes a
second against the same game at 60, to show that the passes between frames cost little.

Usage: video_export.py BUILD_FOLDER"""

import os
import re
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
DISPLAY = os.path.join(SOURCE, "tools", "with-display.sh")


def export(build, recording, output, *more):
    started = time.monotonic()
    subprocess.run([DISPLAY, os.path.join(build, "chronocell"), "--replay", recording,
                    "--video", output, *more], check=True, cwd=SOURCE,
                   stderr=subprocess.DEVNULL)
    return time.monotonic() - started


def draw_alone(build, recording, fps, width, height):
    """Seconds of video and seconds of drawing, from the drawing's own benchmark."""
    line = subprocess.run([DISPLAY, os.path.join(build, "chronocell-export-bench"), recording,
                           str(fps), str(width), str(height)], check=True, cwd=SOURCE,
                          capture_output=True, text=True).stdout
    found = re.search(r"([0-9.]+) s of video, drawn in ([0-9.]+) s", line)
    return float(found.group(1)), float(found.group(2))


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    won = os.path.join(SOURCE, "tests", "replays", "won.ccr")
    with tempfile.TemporaryDirectory(prefix="chronocell-bench-video-") as folder:
        print("Video export of won.ccr (%s)" % os.uname().machine)
        for width, height in ((800, 600), (400, 300)):
            video_seconds, drawing = draw_alone(build, won, 60, width, height)
            exporting = export(build, won, os.path.join(folder, "won-%dx%d.mp4" % (width, height)),
                               "--size", "%dx%d" % (width, height))
            print("  %dx%d at 60 fps: %.1f s of video; drawing alone %.1f s (%.2f s per s of "
                  "play), whole export %.1f s (%.2f s per s), export / drawing %.2f"
                  % (width, height, video_seconds, drawing, drawing / video_seconds, exporting,
                     exporting / video_seconds, exporting / drawing))
        webm = export(build, won, os.path.join(folder, "won.webm"))
        sizes = {name: os.path.getsize(os.path.join(folder, name))
                 for name in ("won-800x600.mp4", "won.webm")}
        print("  won game as 800x600 MP4: %.1f MB; as WebM: %.1f MB (exported in %.1f s)"
              % (sizes["won-800x600.mp4"] / 1e6, sizes["won.webm"] / 1e6, webm))
        print("The same untouched lost game recorded at two rates, exported at 60 fps")
        for rate in (60, 300):
            recording = os.path.join(folder, "lost-%d.ccr" % rate)
            summary = subprocess.run([os.path.join(build, "tests", "chronocell_make_replays"),
                                      "--lost", recording, str(rate)], check=True,
                                     capture_output=True, text=True).stdout.strip()
            seconds = export(build, recording, os.path.join(folder, "lost-%d.mp4" % rate))
            print("  %d passes a second (%s): exported in %.1f s" % (rate, summary, seconds))


if __name__ == "__main__":
    main()
