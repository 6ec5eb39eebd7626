"""The shipped sounds: made by the project's generator byte for byte, each of the expected length,
below -1 dBFS, without clicks at its ends, the effects within 3 dB of one another and the meadow
loop without a seam."""

import filecmp
import math
import os
import statistics
import subprocess
import sys
import tempfile
import unittest
import wave

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SOUNDS = os.path.join(SOURCE, "assets", "sounds")
# The shortest and longest each sound may be, in seconds; the phase switch fills the freeze.
LENGTHS = {
    "jump": (0.1, 0.4), "landing": (0.08, 0.3), "lane_change": (0.06, 0.25),
    "phase_switch": (0.95, 1.05), "relic_hint": (0.2, 0.8), "relic_mode": (0.3, 1.0),
    "clock_collected": (0.2, 0.6), "win": (0.5, 1.5), "loss": (0.5, 1.5), "meadow": (2.5, 6.0),
}
CEILING = 10 ** (-1 / 20)
EDGE = 0.002
WINDOW = 441


def read(name):
    with wave.open(os.path.join(SOUNDS, name + ".wav")) as file:
        assert (file.getnchannels(), file.getsampwidth(), file.getframerate()) == (1, 2, 44100)
        data = file.readframes(file.getnframes())
    return [int.from_bytes(data[i:i + 2], "little", signed=True) / 32768 for i in
            range(0, len(data), 2)]


def loudness_db(signal):
    """Mean power of the 10 ms windows within 20 dB of the loudest, in dB."""
    powers = [sum(x * x for x in signal[i:i + WINDOW]) / WINDOW
              for i in range(0, len(signal) - WINDOW, WINDOW)]
    active = [p for p in powers if p > max(powers) / 100]
    return 10 * math.log10(statistics.fmean(active))


class SoundFilesTest(unittest.TestCase):
    def test_generated_byte_for_byte_and_fit_to_play(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "gen_sounds.py"),
                            folder], check=True)
            self.assertEqual(sorted(os.listdir(folder)), sorted(os.listdir(SOUNDS)))
            for name in os.listdir(folder):
                self.assertTrue(filecmp.cmp(os.path.join(folder, name),
                                            os.path.join(SOUNDS, name), shallow=False), name)
        self.assertEqual(sorted(LENGTHS), sorted(name[:-4] for name in os.listdir(SOUNDS)))
        effects = {}
        for name, (shortest, longest) in LENGTHS.items():
            signal = read(name)
            self.assertGreaterEqual(len(signal) / 44100, shortest, name)
            self.assertLessEqual(len(signal) / 44100, longest, name)
            self.assertLessEqual(max(map(abs, signal)), CEILING, name)
            if name == "meadow":
                steps = [abs(b - a) for a, b in zip(signal, signal[1:])]
                self.assertLessEqual(abs(signal[0] - signal[-1]), 3 * statistics.median(steps))
            else:
                self.assertLessEqual(max(map(abs, signal[:3] + signal[-3:])), EDGE, name)
                effects[name] = loudness_db(signal)
        self.assertLessEqual(max(effects.values()) - min(effects.values()), 3.0, effects)


if __name__ == "__main__":
    unittest.main()
