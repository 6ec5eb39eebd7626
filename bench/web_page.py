#!/usr/bin/env python3
"""What the page costs a player, against the native game where there is one:

1. the bytes a server sends for the site, each file raw and gzip-compressed at level 6;
2. the time from loading the page to its first drawn frame in headless Chromium, a fresh
   browser (nothing cached) each load;
3. the CPU side of a frame: won.ccr replayed by the WebAssembly chronocell-verify under node
   against the native one, rounds alternating;
4. frame times: the page played in Chromium on SwiftShader, and chronocell-bench's scripted play
   on Xvfb and llvmpipe, as bench/windows_frames.py runs it.

Usage: web_page.py [options] NATIVE_BUILD WEB_BUILD SITE
NATIVE_BUILD holds chronocell-verify and chronocell-bench, WEB_BUILD emscripten's
chronocell-verify.js and, unless --node-modules says otherwise, node/node_modules with
puppeteer-core; SITE is the page's static site.
"""

import argparse
import gzip
import json
import math
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPLAYS = os.path.join(SOURCE, "tests", "replays")
DRIVE_PAGE = os.path.join(SOURCE, "tests", "web", "drive_page.cjs")
WEB_FRAMES = os.path.join(SOURCE, "bench", "web_frames.cjs")
MEGABYTE = 1_000_000
TRANSFER_GOAL_BYTES = 8 * MEGABYTE
FIRST_FRAME_GOAL_MS = 3000
CPU_RATIO_GOAL = 2.0
# "  game    28.47    33.88    29.5    35.54     598" under chronocell-bench's frame-time heading.
GAME_LINE = re.compile(r"^  game\s+([\d.]+)\s+([\d.]+)", re.MULTILINE)
# The content's table in chronocell.js, written by emscripten's file packager.
PACKAGE_FILES = re.compile(r'"files":\s*(\[[^\]]*\])')


def fail(what, result):
    sys.exit(f"{what} failed ({result.returncode}):\n{result.stdout[-2000:]}{result.stderr[-2000:]}")


def nearest_rank(samples, fraction):
    """As bench/FrameStats.cpp: the smallest sample with `fraction` of them at or below it."""
    ordered = sorted(samples)
    return ordered[max(1, math.ceil(fraction * len(ordered))) - 1]


def gzipped_size(data):
    # mtime=0: the header's time stamp would only add noise between runs.
    return len(gzip.compress(data, compresslevel=6, mtime=0))


def transfer(site):
    print("1. Transfer size, bytes (gzip level 6, as a server sends it)")
    total_raw = total_gzip = 0
    for name in sorted(os.listdir(site)):
        path = os.path.join(site, name)
        if not os.path.isfile(path):
            continue
        with open(path, "rb") as file:
            data = file.read()
        raw, packed = len(data), gzipped_size(data)
        total_raw += raw
        total_gzip += packed
        print(f"  {name:18} raw {raw:10,}   gzip {packed:10,}")
    met = "met" if total_gzip <= TRANSFER_GOAL_BYTES else "NOT met"
    print(f"  {'total':18} raw {total_raw:10,}   gzip {total_gzip:10,}   "
          f"= {total_gzip / MEGABYTE:.2f} MB (goal <= 8 MB: {met})")
    sound_share(site)


def sound_share(site):
    """The sounds' part of the compressed content: what leaving them out of chronocell.data
    takes off its gzip size, so what they share with their neighbours in the stream counts."""
    with open(os.path.join(site, "chronocell.js"), encoding="utf-8") as file:
        found = PACKAGE_FILES.search(file.read())
    with open(os.path.join(site, "chronocell.data"), "rb") as file:
        data = file.read()
    if not found:
        sys.exit("chronocell.js holds no table of the content's files")
    files = json.loads(found.group(1))
    sounds = [f for f in files if f["filename"].startswith("/assets/sounds/")]
    without = bytearray()
    at = 0
    for sound in sorted(sounds, key=lambda f: f["start"]):
        without += data[at:sound["start"]]
        at = sound["end"]
    without += data[at:]
    whole = gzipped_size(data)
    sound_bytes = whole - gzipped_size(bytes(without))
    raw_sound = sum(f["end"] - f["start"] for f in sounds)
    print(f"  sounds ({len(sounds)} files) in chronocell.data: {sound_bytes:,} of {whole:,} "
          f"compressed = {100 * sound_bytes / whole:.1f}% (raw {100 * raw_sound / len(data):.1f}%)")


def node_environment(node_modules):
    return dict(os.environ, NODE_PATH=node_modules)


def first_frames(site, node_modules, loads):
    print(f"\n2. Load to first drawn frame, headless Chromium (SwiftShader), {loads} loads, "
          "a fresh browser each")
    times = []
    with tempfile.TemporaryDirectory() as work:
        steps = os.path.join(work, "steps.json")
        with open(steps, "w", encoding="utf-8") as file:
            file.write("[]")
        for load in range(loads):
            out = os.path.join(work, f"load{load}")
            result = subprocess.run(["node", DRIVE_PAGE, site, steps, out], capture_output=True,
                                    text=True, env=node_environment(node_modules), timeout=300)
            if result.returncode != 0:
                fail("tests/web/drive_page.cjs", result)
            with open(os.path.join(out, "result.json"), encoding="utf-8") as file:
                times.append(json.load(file)["firstFrameMs"])
    median = statistics.median(times)
    met = "met" if median <= FIRST_FRAME_GOAL_MS else "NOT met"
    print(f"  median {median:7.0f} ms   loads " + " ".join(f"{t:.0f}" for t in times)
          + f"   (goal <= 3000 ms: {met})")


def timed(command, env=None):
    started = time.perf_counter()
    result = subprocess.run(command, capture_output=True, text=True, env=env, timeout=900)
    seconds = time.perf_counter() - started
    if result.returncode != 0:
        fail(" ".join(command[:3]), result)
    return seconds, result.stdout


def replay_cpu(native_build, web_build, rounds, repeats):
    won = os.path.join(REPLAYS, "won.ccr")
    with open(os.path.join(REPLAYS, "won.txt"), encoding="utf-8") as file:
        frames = int(re.search(r"(\d+) frames", file.read()).group(1))
    programs = {
        "native": [os.path.join(native_build, "chronocell-verify")],
        "WebAssembly/node": ["node", "--no-experimental-fetch",
                             os.path.join(web_build, "chronocell-verify.js")],
    }
    print(f"\n3. CPU side of a frame: won.ccr ({frames} frames) replayed by chronocell-verify, "
          f"{rounds} rounds each, alternating")
    print(f"  method: one process replays won.ccr once, another {1 + repeats} times; the "
          f"difference / {repeats} is one replay, so start-up, wasm compilation and the first, "
          "warming replay are left out")
    per_replay = {name: [] for name in programs}
    startup = {name: [] for name in programs}
    outputs = {}
    for _ in range(rounds):
        for name, command in programs.items():
            once, _ = timed(command + [won])
            many, printed = timed(command + [won] * (1 + repeats))
            per_replay[name].append((many - once) / repeats)
            startup[name].append(once)
            outputs[name] = printed
    medians = {name: statistics.median(times) for name, times in per_replay.items()}
    for name, times in per_replay.items():
        print(f"  {name:17} replay {1000 * medians[name]:8.1f} ms = "
              f"{1e6 * medians[name] / frames:6.1f} us/frame   one whole run (start-up included) "
              f"{1000 * statistics.median(startup[name]):7.0f} ms   rounds "
              + " ".join(f"{1000 * t:.1f}" for t in times))
    ratio = medians["WebAssembly/node"] / medians["native"]
    met = "met" if ratio <= CPU_RATIO_GOAL else "NOT met"
    alike = "yes" if len(set(outputs.values())) == 1 else "NO"
    print(f"  WebAssembly / native: {ratio:.2f}x (goal <= 2x: {met}); summaries alike: {alike}")


def page_frames(site, node_modules, seconds):
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "frames.json")
        result = subprocess.run(["node", WEB_FRAMES, site, str(seconds), out], capture_output=True,
                                text=True, env=node_environment(node_modules), timeout=600)
        if result.returncode != 0:
            fail("bench/web_frames.cjs", result)
        with open(out, encoding="utf-8") as file:
            runs = json.load(file)["runs"]
    intervals = [b - a for stamps in runs for a, b in zip(stamps, stamps[1:])]
    if not intervals:
        sys.exit("bench/web_frames.cjs stamped no frames of play")
    return nearest_rank(intervals, 0.5), nearest_rank(intervals, 0.99), len(intervals), len(runs)


def native_frames(native_build, frames):
    environment = dict(os.environ, SDL_AUDIODRIVER="dummy")
    environment.pop("DISPLAY", None)
    command = [os.path.join(SOURCE, "tools", "with-display.sh"),
               os.path.join(native_build, "chronocell-bench"), "--frames", str(frames)]
    # The bench reads the content from assets/ in the folder it starts in.
    result = subprocess.run(command, capture_output=True, text=True, env=environment, timeout=900,
                            cwd=SOURCE)
    found = GAME_LINE.search(result.stdout)
    if result.returncode != 0 or not found:
        fail("chronocell-bench", result)
    return float(found.group(1)), float(found.group(2))


def frame_times(native_build, site, node_modules, seconds, frames, rounds):
    print(f"\n4. Frame time, ms, {rounds} round(s) each, alternating (no goal)")
    page, native = [], []
    for _ in range(rounds):
        page.append(page_frames(site, node_modules, seconds))
        native.append(native_frames(native_build, frames))
    print(f"  {'':44} median      p99")
    print(f"  {'page, Chromium on SwiftShader':44} {statistics.median(r[0] for r in page):6.2f}   "
          f"{statistics.median(r[1] for r in page):6.2f}   interval between the starts of "
          f"frames, {sum(r[2] for r in page)} frames of {sum(r[3] for r in page)} runs from Enter "
          "to loss")
    print(f"  {'native, chronocell-bench on llvmpipe':44} "
          f"{statistics.median(r[0] for r in native):6.2f}   "
          f"{statistics.median(r[1] for r in native):6.2f}   a pass's duration, {frames} frames "
          "of scripted play")
    print("  (the page's frames are paced by the browser's animation frames, at most 60 a second; "
          "the native bench's are not paced)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("native_build")
    parser.add_argument("web_build")
    parser.add_argument("site")
    parser.add_argument("--node-modules", help="where puppeteer-core is installed "
                        "(default WEB_BUILD/node/node_modules)")
    parser.add_argument("--loads", type=int, default=5)
    parser.add_argument("--rounds", type=int, default=5, help="replay rounds of each program")
    parser.add_argument("--repeats", type=int, default=200,
                        help="replays a round adds to its first")
    parser.add_argument("--play-seconds", type=float, default=15.0)
    parser.add_argument("--bench-frames", type=int, default=1200)
    parser.add_argument("--frame-rounds", type=int, default=1)
    options = parser.parse_args()
    native_build, web_build, site = (os.path.abspath(folder) for folder in
                                     (options.native_build, options.web_build, options.site))
    node_modules = os.path.abspath(options.node_modules or
                                   os.path.join(web_build, "node", "node_modules"))
    if shutil.which("node") is None:
        sys.exit("node is needed")
    transfer(site)
    first_frames(site, node_modules, options.loads)
    replay_cpu(native_build, web_build, options.rounds, options.repeats)
    frame_times(native_build, site, node_modules, options.play_seconds, options.bench_frames,
                options.frame_rounds)


if __name__ == "__main__":
    main()
