"""The shipped sounds: made by the project's generator byte for byte, each of the expected length,
below -1 dBFS, without clicks at its ends, the effects within 3 dB of one another, all of them
within their share of the package, and the meadow loop without a seam, its birds at uneven
times and no stretch of it heard twice."""

import array
import filecmp
import functools
import itertools
import math
import operator
import os
import statistics
import subprocess
import sys
import tempfile
import unittest
import wave

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SOUNDS = os.path.join(SOURCE, "assets", "sounds")
RATE = 44100
# The shortest and longest each sound may be, in seconds; the phase switch fills the freeze, and
# the meadow is long enough that a 90-second game hears it barely twice.
LENGTHS = {
    "jump": (0.1, 0.4), "landing": (0.08, 0.3), "lane_change": (0.06, 0.25),
    "phase_switch": (0.95, 1.05), "relic_hint": (0.2, 0.8), "relic_mode": (0.3, 1.0),
    "clock_collected": (0.2, 0.6), "win": (0.5, 1.5), "loss": (0.5, 1.5), "meadow": (40.0, 60.0),
}
# What all the sounds together may weigh in the package, in bytes.
SOUNDS_BUDGET = 8_000_000
CEILING = 10 ** (-1 / 20)
EDGE = 0.002
WINDOW = 441
# The meadow is judged by its birdsong: the power of a band around 2 to 5 kHz in 20 ms frames. A
# second difference over a stride of six samples passes that band and all but drops the wind,
# which lies below 500 Hz.
FRAME = 882
STRIDE = 6
# A frame is birdsong this far over the meadow's median frame; sounds with less than this between
# them are one call.
CALL_DB = 10.0
CALL_GAP = 20
# Two stretches of eight seconds are one heard twice when their birdsong matches this well; they
# are compared at every lag past their length (a short loop comes back at a multiple of its
# period), a second apart.
STRETCH = 400
STRETCH_STEP = 50
ALIKE = 0.85
# The wind alone flutters up to this far over the median frame; only the birdsong above it is
# compared, lest two stretches of bare wind match on the shape of their gusts.
WIND_DB = 5.0


@functools.lru_cache(maxsize=None)
def read_counts(name):
    with wave.open(os.path.join(SOUNDS, name + ".wav")) as file:
        assert (file.getnchannels(), file.getsampwidth(), file.getframerate()) == (1, 2, RATE)
        counts = array.array("h", file.readframes(file.getnframes()))
    if sys.byteorder == "big":
        counts.byteswap()
    return counts


def read(name):
    return [count / 32768 for count in read_counts(name)]


def loudness_db(signal):
    """Mean power of the 10 ms windows within 20 dB of the loudest, in dB."""
    powers = [sum(x * x for x in signal[i:i + WINDOW]) / WINDOW
              for i in range(0, len(signal) - WINDOW, WINDOW)]
    active = [p for p in powers if p > max(powers) / 100]
    return 10 * math.log10(statistics.fmean(active))


@functools.lru_cache(maxsize=None)
def birdsong(name):
    """Each frame's birdsong in dB over the median frame, at least 0."""
    counts = read_counts(name)
    once = list(map(operator.sub, counts[STRIDE:], counts[:-STRIDE]))
    twice = list(map(operator.sub, once[STRIDE:], once[:-STRIDE]))
    levels = []
    for i in range(0, len(twice) - FRAME + 1, FRAME):
        frame = twice[i:i + FRAME]
        levels.append(10 * math.log10(1 + sum(map(operator.mul, frame, frame)) / FRAME))
    floor = statistics.median(levels)
    return tuple(max(0.0, level - floor) for level in levels)


def call_starts(song):
    """The frames where calls begin."""
    starts, last = [], None
    for frame, level in enumerate(song):
        if level > CALL_DB:
            if last is None or frame - last > CALL_GAP:
                starts.append(frame)
            last = frame
    return starts


def likeness_at_lags(song):
    """The closest match between two stretches of the birdsong, and their first frames."""
    song = [max(0.0, level - WIND_DB) for level in song]
    energy = [0.0] + list(itertools.accumulate(x * x for x in song))
    best = (0.0, 0, 0)
    for lag in range(STRETCH, len(song) - STRETCH + 1):
        products = [0.0] + list(itertools.accumulate(map(operator.mul, song, song[lag:])))
        for start in range(0, len(song) - lag - STRETCH + 1, STRETCH_STEP):
            end = start + STRETCH
            here = energy[end] - energy[start]
            there = energy[end + lag] - energy[start + lag]
            # A stretch of wind alone has nothing to match.
            if here > 0 and there > 0:
                likeness = (products[end] - products[start]) / math.sqrt(here * there)
                best = max(best, (likeness, start, start + lag))
    return best


class SoundFilesTest(unittest.TestCase):
    def test_generated_byte_for_byte(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "gen_sounds.py"),
                            folder], check=True)
            self.assertEqual(sorted(os.listdir(folder)), sorted(os.listdir(SOUNDS)))
            for name in os.listdir(folder):
                self.assertTrue(filecmp.cmp(os.path.join(folder, name),
                                            os.path.join(SOUNDS, name), shallow=False), name)

    def test_each_fit_to_play(self):
        self.assertEqual(sorted(LENGTHS), sorted(name[:-4] for name in os.listdir(SOUNDS)))
        effects = {}
        for name, (shortest, longest) in LENGTHS.items():
            counts = read_counts(name)
            self.assertGreaterEqual(len(counts) / RATE, shortest, name)
            self.assertLessEqual(len(counts) / RATE, longest, name)
            self.assertLessEqual(max(max(counts), -min(counts)) / 32768, CEILING, name)
            if name != "meadow":
                signal = read(name)
                self.assertLessEqual(max(map(abs, signal[:3] + signal[-3:])), EDGE, name)
                effects[name] = loudness_db(signal)
        self.assertLessEqual(max(effects.values()) - min(effects.values()), 3.0, effects)

    def test_all_within_budget(self):
        total = sum(os.path.getsize(os.path.join(SOUNDS, name)) for name in os.listdir(SOUNDS))
        self.assertLess(total, SOUNDS_BUDGET)

    def test_meadow_loops_without_a_seam(self):
        counts = read_counts("meadow")
        # The steps either side of the loop point, against which the step across it is judged.
        near = counts[-RATE // 2:] + counts[:RATE // 2]
        steps = [abs(b - a) for a, b in zip(near, near[1:])]
        self.assertLessEqual(abs(counts[0] - counts[-1]), 3 * statistics.median(steps))
        # A call across the loop point would be cut off or blurred by the crossfade.
        song = birdsong("meadow")
        edge = RATE // 4 // FRAME
        self.assertLessEqual(max(song[:edge] + song[-edge:]), CALL_DB)

    def test_meadow_calls_at_uneven_gaps(self):
        starts = call_starts(birdsong("meadow"))
        self.assertGreaterEqual(len(starts), 12, starts)
        gaps = [b - a for a, b in zip(starts, starts[1:])]
        # Calls on a grid, or a short loop's few calls over and over, share a gap; missed quiet
        # calls only make a grid's gaps multiples of it, so the commonest gap is still found.
        commonest = max(sum(1 for other in gaps if abs(other - gap) <= 3) for gap in gaps)
        self.assertLessEqual(commonest, len(gaps) // 4, gaps)

    def test_meadow_never_repeats_a_stretch(self):
        likeness, first, second = likeness_at_lags(birdsong("meadow"))
        self.assertLess(likeness, ALIKE, (first * FRAME / RATE, second * FRAME / RATE))


if __name__ == "__main__":
    unittest.main()
