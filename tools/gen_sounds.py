#!/usr/bin/env python3
"""Synthesises the game's sound effects and its meadow loop as 16-bit 44.1 kHz mono WAV files.

Everything is made here from sine tones, frequency modulation and filtered noise drawn from
seeded generators, so the files come out byte for byte the same on every run:
    python3 tools/gen_sounds.py assets/sounds
Each effect is brought to the same loudness over its sounding part and kept below -1 dBFS; each
begins and ends with a short fade so no start or end clicks, and the meadow's end flows into
its start so the loop has no seam."""

import math
import os
import random
import struct
import sys
import wave

RATE = 44100
TWO_PI = 2.0 * math.pi
# Effects share one loudness; the meadow sits well below it, under the game.
EFFECT_LOUDNESS_DB = -18.0
MEADOW_LOUDNESS_DB = -30.0
PEAK_CEILING_DB = -1.5
FADE_IN = 0.003
FADE_OUT = 0.012
# The loudness of a sound is its power over the 20 ms windows within 20 dB of its loudest one.
LOUDNESS_WINDOW = 0.02
LOUDNESS_RANGE_DB = 20.0


def samples(seconds):
    return int(round(seconds * RATE))


def db_to_gain(db):
    return 10.0 ** (db / 20.0)


def silence(seconds):
    return [0.0] * samples(seconds)


def add_into(target, source, at=0.0, gain=1.0):
    start = samples(at)
    for i, value in enumerate(source):
        if start + i < len(target):
            target[start + i] += gain * value
    return target


def decay(seconds, time_constant, attack=0.002):
    """An envelope that rises over `attack` and then dies away exponentially."""
    count = samples(seconds)
    rise = max(1, samples(attack))
    return [min(1.0, i / rise) * math.exp(-(i / RATE) / time_constant) for i in range(count)]


def sweep(seconds, start_hz, end_hz, envelope, vibrato_hz=0.0, vibrato_depth=0.0):
    """A sine gliding exponentially from one pitch to another, phase kept continuous."""
    count = samples(seconds)
    phase = 0.0
    out = []
    for i in range(count):
        t = i / RATE
        fraction = i / max(1, count - 1)
        frequency = start_hz * (end_hz / start_hz) ** fraction
        frequency *= 1.0 + vibrato_depth * math.sin(TWO_PI * vibrato_hz * t)
        phase += TWO_PI * frequency / RATE
        out.append(math.sin(phase) * envelope[i])
    return out


def bell(seconds, frequency, ratio, index, index_decay, amplitude_decay):
    """Two-operator FM: a bright strike whose overtones fade faster than its body."""
    envelope = decay(seconds, amplitude_decay)
    out = []
    for i, level in enumerate(envelope):
        t = i / RATE
        modulation = index * math.exp(-t / index_decay) * math.sin(TWO_PI * frequency * ratio * t)
        out.append(level * math.sin(TWO_PI * frequency * t + modulation))
    return out


def soft_tone(seconds, frequency, amplitude_decay, attack=0.01):
    """A mellow additive tone: the fundamental with two gentle overtones."""
    envelope = decay(seconds, amplitude_decay, attack)
    out = []
    for i, level in enumerate(envelope):
        t = i / RATE
        x = TWO_PI * frequency * t
        out.append(level * (math.sin(x) + 0.3 * math.sin(2 * x) + 0.12 * math.sin(3 * x)))
    return out


def band_noise(seconds, centre_hz, envelope, seed, resonance=0.6):
    """White noise through a state-variable band-pass whose centre may glide (a pair of Hz)."""
    generator = random.Random(seed)
    count = samples(seconds)
    start_hz, end_hz = centre_hz
    low = band = 0.0
    out = []
    for i in range(count):
        fraction = i / max(1, count - 1)
        centre = start_hz * (end_hz / start_hz) ** fraction
        f = 2.0 * math.sin(math.pi * centre / RATE)
        high = generator.uniform(-1.0, 1.0) - low - resonance * band
        band += f * high
        low += f * band
        out.append(band * envelope[i])
    return out


def low_noise(count, cutoff_hz, generator):
    """Noise through two one-pole low-passes: a soft rumble or a wind."""
    a = 1.0 - math.exp(-TWO_PI * cutoff_hz / RATE)
    first = second = 0.0
    out = []
    for _ in range(count):
        first += a * (generator.uniform(-1.0, 1.0) - first)
        second += a * (first - second)
        out.append(second)
    return out


# --- measuring ----------------------------------------------------------------------------------
def loudness_db(signal):
    size = samples(LOUDNESS_WINDOW)
    powers = [sum(x * x for x in signal[i:i + size]) / size
              for i in range(0, len(signal) - size + 1, size)]
    loudest = max(powers)
    floor = loudest * db_to_gain(-LOUDNESS_RANGE_DB) ** 2
    active = [p for p in powers if p >= floor]
    return 10.0 * math.log10(sum(active) / len(active))


def peak_db(signal):
    return 20.0 * math.log10(max(abs(x) for x in signal))


# --- finishing ----------------------------------------------------------------------------------
def fade_ends(signal):
    fade_in, fade_out = samples(FADE_IN), samples(FADE_OUT)
    for i in range(fade_in):
        signal[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fade_in)
    for i in range(fade_out):
        signal[-1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fade_out)
    return signal


def to_loudness(signal, target_db):
    gain = db_to_gain(target_db - loudness_db(signal))
    gain = min(gain, db_to_gain(PEAK_CEILING_DB - peak_db(signal)))
    return [x * gain for x in signal]


def write_wav(path, signal):
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(x * 32767.0)))))
                      for x in signal)
    with wave.open(path, "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        file.writeframes(frames)


# --- the effects --------------------------------------------------------------------------------
def jump():
    seconds = 0.22
    body = sweep(seconds, 260.0, 720.0, decay(seconds, 0.07, 0.004))
    air = band_noise(seconds, (900.0, 2600.0), decay(seconds, 0.05, 0.01), seed=11)
    return add_into(body, air, gain=0.35)


def landing():
    seconds = 0.14
    thump = sweep(seconds, 130.0, 48.0, decay(seconds, 0.035, 0.001))
    rng = random.Random(12)
    grit = low_noise(samples(seconds), 700.0, rng)
    envelope = decay(seconds, 0.02, 0.001)
    return add_into(thump, [g * e for g, e in zip(grit, envelope)], gain=3.0)


def lane_change():
    seconds = 0.12
    count = samples(seconds)
    swell = [math.sin(math.pi * i / count) ** 2 for i in range(count)]
    return band_noise(seconds, (700.0, 2400.0), swell, seed=13, resonance=0.35)


def phase_switch():
    """Time stops: a tone falling four octaves while its tremolo winds down like a clock."""
    seconds = 1.0
    count = samples(seconds)
    envelope = [min(1.0, i / samples(0.01)) * (1.0 - i / count) ** 0.6 for i in range(count)]
    fall = sweep(seconds, 880.0, 55.0, envelope, vibrato_hz=3.0, vibrato_depth=0.015)
    ticks = []
    for i in range(count):
        t = i / RATE
        # The tremolo slows from 14 to 2 beats a second as the tone falls.
        beat_phase = TWO_PI * (14.0 * t - 6.0 * t * t)
        ticks.append(0.65 + 0.35 * math.cos(beat_phase))
    shimmer = band_noise(seconds, (5000.0, 400.0), envelope, seed=14, resonance=0.8)
    return [(f + 0.25 * s) * k for f, s, k in zip(fall, shimmer, ticks)]


def relic_hint():
    seconds = 0.4
    chime = bell(seconds, 1318.5, 3.5, 1.3, 0.05, 0.12)
    upper = bell(seconds - 0.09, 1975.5, 3.5, 1.0, 0.04, 0.1)
    return add_into(chime, upper, at=0.09, gain=0.8)


def relic_mode():
    """A rising arpeggio of bells: the walk to the relic begins."""
    seconds = 0.5
    out = silence(seconds)
    for step, frequency in enumerate((523.25, 659.25, 783.99, 1046.5)):
        at = 0.07 * step
        add_into(out, bell(seconds - at, frequency, 2.0, 1.6, 0.08, 0.16), at=at)
    return out


def clock_collected():
    seconds = 0.3
    first = bell(seconds, 1568.0, 1.0, 1.2, 0.03, 0.06)
    second = bell(seconds - 0.07, 2093.0, 1.0, 1.4, 0.05, 0.1)
    return add_into(first, second, at=0.07, gain=1.2)


def win():
    seconds = 0.8
    out = silence(seconds)
    for step, frequency in enumerate((523.25, 659.25, 783.99, 1046.5)):
        at = 0.1 * step
        hold = 0.35 if step == 3 else 0.12
        add_into(out, soft_tone(seconds - at, frequency, hold), at=at)
    return out


def loss():
    seconds = 0.8
    out = silence(seconds)
    for step, frequency in enumerate((392.0, 311.13, 261.63)):
        at = 0.16 * step
        hold = 0.3 if step == 2 else 0.12
        tone = sweep(seconds - at, frequency, frequency * 0.97, decay(seconds - at, hold, 0.01),
                     vibrato_hz=5.0, vibrato_depth=0.006)
        add_into(out, tone, at=at)
    return out


# --- the meadow loop ----------------------------------------------------------------------------
MEADOW_SECONDS = 3.2
MEADOW_CROSSFADE = 0.4


def chirp(seconds, start_hz, end_hz, trill_hz):
    count = samples(seconds)
    envelope = [math.sin(math.pi * i / count) ** 1.5 for i in range(count)]
    return sweep(seconds, start_hz, end_hz, envelope, vibrato_hz=trill_hz, vibrato_depth=0.04)


def meadow():
    """Wind in the grass with a few birds; its end crossfades into its start."""
    length = samples(MEADOW_SECONDS)
    overlap = samples(MEADOW_CROSSFADE)
    rng = random.Random(15)
    wind = low_noise(length + overlap, 450.0, rng)
    gusts = [0.7 + 0.3 * math.sin(TWO_PI * (i / length) + 1.0) for i in range(length + overlap)]
    signal = [w * g for w, g in zip(wind, gusts)]
    birds = [(0.5, 3400.0, 4300.0, 28.0, 0.09), (0.63, 3600.0, 4600.0, 30.0, 0.08),
             (1.6, 2600.0, 2100.0, 0.0, 0.18), (2.3, 4200.0, 3600.0, 22.0, 0.07),
             (2.4, 4400.0, 3800.0, 22.0, 0.07)]
    for at, start_hz, end_hz, trill_hz, seconds in birds:
        add_into(signal, chirp(seconds, start_hz, end_hz, trill_hz), at=at, gain=0.03)
    # The last `overlap` samples are faded into the first ones with equal power, so the
    # sample after the loop's end is the one that followed it in the longer recording.
    out = signal[:length]
    for i in range(overlap):
        w = math.sin(0.5 * math.pi * i / overlap)
        out[i] = signal[i] * w + signal[length + i] * math.cos(0.5 * math.pi * i / overlap)
    return out


EFFECTS = {
    "jump": jump, "landing": landing, "lane_change": lane_change, "phase_switch": phase_switch,
    "relic_hint": relic_hint, "relic_mode": relic_mode, "clock_collected": clock_collected,
    "win": win, "loss": loss,
}


def generate(folder):
    os.makedirs(folder, exist_ok=True)
    for name, make in EFFECTS.items():
        write_wav(os.path.join(folder, name + ".wav"),
                  to_loudness(fade_ends(make()), EFFECT_LOUDNESS_DB))
    write_wav(os.path.join(folder, "meadow.wav"), to_loudness(meadow(), MEADOW_LOUDNESS_DB))


if __name__ == "__main__":
    generate(sys.argv[1] if len(sys.argv) > 1 else "assets/sounds")
