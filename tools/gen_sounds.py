#!/usr/bin/env python3
"""Synthesises the game's sound effects and its meadow loop as 16-bit 44.1 kHz mono WAV files.

Everything is made here from sine tones, frequency modulation and filtered noise drawn from
seeded generators, so the files come out byte for byte the same on every run:
    python3 tools/gen_sounds.py assets/sounds
Each effect is brought to the same loudness over its sounding part and kept below -1 dBFS; each
begins and ends with a short fade so no start or end clicks, and the meadow's end flows into
its start so the loop has no seam."""

import array
import math
import os
import random
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
    # An array packs the meadow's millions of samples at once where struct would go one by one;
    # WAV is little-endian whatever the machine.
    frames = array.array("h", [max(-32767, min(32767, int(round(x * 32767.0)))) for x in signal])
    if sys.byteorder == "big":
        frames.byteswap()
    with wave.open(path, "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        file.writeframes(frames.tobytes())


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
# Long enough that a 90-second game hears it less than twice; its birds come at drawn times and
# its gusts at drawn spacings, so nothing in it comes back before the loop does.
MEADOW_SECONDS = 52.0
MEADOW_CROSSFADE = 0.4
MEADOW_SEED = 15
# No call sounds this close to the loop point: one there would be cut, or blurred by the crossfade.
BIRD_CLEAR = 0.7
# The gain on the nearest call, in dB (its swell peaks at 1; the wind's noise has an RMS of about
# 0.07 before its gusts), and how much quieter a call further off may be.
BIRD_NEAREST_DB = -23.0
BIRD_DISTANCE_DB = 12.0


def gusts(count, generator):
    """The wind's level: a slow wander between drawn levels at drawn spacings of 1.2 to 5 s, so
    no gust comes back at a fixed period. It ends on the level it started from, so the loop's
    end meets its start."""
    marks = [0]
    while marks[-1] < count - samples(2.0):
        marks.append(marks[-1] + samples(generator.uniform(1.2, 5.0)))
    marks[-1] = count
    levels = [generator.uniform(0.3, 1.0) for _ in marks[:-1]]
    levels.append(levels[0])
    out = []
    for a, b, low, high in zip(marks, marks[1:], levels, levels[1:]):
        span = b - a
        rise = high - low
        for i in range(span):
            x = i / span
            out.append(low + rise * x * x * (3.0 - 2.0 * x))
    return out


def note(seconds, start_hz, end_hz, generator, vibrato_hz=0.0, vibrato_depth=0.0, shape=1.5):
    """One sung note: a glide with a rounded swell and a trace of second harmonic, as a syrinx
    gives rather than a pure sine."""
    count = samples(seconds)
    envelope = [math.sin(math.pi * i / count) ** shape for i in range(count)]
    body = sweep(seconds, start_hz, end_hz, envelope, vibrato_hz, vibrato_depth)
    overtone = generator.uniform(0.05, 0.2)
    # The second harmonic comes from the fundamental itself (2 sin^2 x - 1 = -cos 2x), so it
    # follows the glide and vibrato without an oscillator of its own.
    return [b + overtone * (2.0 * b * b - e * e) for b, e in zip(body, envelope)]


def phrase(notes):
    """Notes laid one after another, each (gap before it, samples)."""
    out = []
    for gap, sound in notes:
        out.extend([0.0] * samples(gap))
        out.extend(sound)
    return out


def whistle(generator):
    """One to three clear, slow notes, each gliding up or down: a thrush-like call."""
    pitch = generator.uniform(1900.0, 3200.0)
    notes = []
    for step in range(1 + int(generator.random() * 3)):
        seconds = generator.uniform(0.18, 0.5)
        end = pitch * generator.uniform(0.75, 1.3)
        notes.append((0.0 if step == 0 else generator.uniform(0.08, 0.25),
                      note(seconds, pitch, end, generator, generator.uniform(4.0, 8.0), 0.01)))
        pitch = end * generator.uniform(0.9, 1.12)
    return phrase(notes)


def trill(generator):
    """A run of 6 to 21 quick falling ticks, 12 to 22 a second, drifting down in pitch: a
    warbler's trill."""
    rate = generator.uniform(12.0, 22.0)
    count = 6 + int(generator.random() * 16)
    pitch = generator.uniform(3600.0, 5200.0)
    drift = generator.uniform(0.75, 1.02) ** (1.0 / count)
    tick = 0.7 / rate
    notes = []
    for step in range(count):
        notes.append((0.0 if step == 0 else 1.0 / rate - tick,
                      note(tick, pitch * 1.15, pitch * 0.88, generator, shape=2.0)))
        pitch *= drift
    return phrase(notes)


def chirps(generator):
    """Two to five short sweeps with uneven gaps: a sparrow's chatter."""
    low, high = generator.uniform(2800.0, 3600.0), generator.uniform(4000.0, 5000.0)
    rising = generator.random() < 0.5
    notes = []
    for step in range(2 + int(generator.random() * 4)):
        start, end = (low, high) if rising else (high, low)
        notes.append((0.0 if step == 0 else generator.uniform(0.05, 0.2),
                      note(generator.uniform(0.05, 0.11), start * generator.uniform(0.95, 1.05),
                           end * generator.uniform(0.95, 1.05), generator)))
    return phrase(notes)


def warble(generator):
    """Four to seven trilled notes leaping within a small scale: a lark's song."""
    base = generator.uniform(2400.0, 3500.0)
    steps = (0.89, 1.0, 1.12, 1.26, 1.5)
    notes = []
    for step in range(4 + int(generator.random() * 4)):
        pitch = base * generator.choice(steps)
        gap = 0.0 if step == 0 else generator.uniform(0.02, 0.07)
        seconds = generator.uniform(0.07, 0.16)
        end = pitch * generator.uniform(0.9, 1.1)
        trill_hz = generator.uniform(20.0, 34.0)
        notes.append((gap, note(seconds, pitch, end, generator, trill_hz, 0.04)))
    return phrase(notes)


def coo(generator):
    """A dove's low coo-COO-coo."""
    pitch = generator.uniform(520.0, 720.0)
    notes = []
    for step, (seconds, lift) in enumerate(((0.22, 1.0), (0.34, 1.06), (0.24, 0.97))):
        gap = 0.0 if step == 0 else generator.uniform(0.08, 0.14)
        seconds *= generator.uniform(0.85, 1.15)
        notes.append((gap, note(seconds, pitch * lift, pitch * lift * 0.93, generator, shape=1.0)))
    # At 600 Hz it sits at the top of the wind's band, where the ear is also duller than at the
    # songbirds' 3 kHz, so it is sung louder to be heard as well.
    return [3.0 * x for x in phrase(notes)]


# The species and how often each sings, as shares of the calls.
SPECIES = ((whistle, 0.25), (trill, 0.2), (chirps, 0.25), (warble, 0.2), (coo, 0.1))


def pick_species(generator):
    draw = generator.random()
    for make, share in SPECIES:
        if draw < share:
            return make
        draw -= share
    return SPECIES[-1][0]


def birdsong(length, generator):
    """The calls and where they start (in samples), drawn one after another: a bird often sings
    again or is answered soon after, otherwise a new one calls after a longer pause."""
    calls = []
    at = samples(BIRD_CLEAR + generator.uniform(0.0, 1.5))
    make = pick_species(generator)
    distance = generator.uniform(0.0, BIRD_DISTANCE_DB)
    while True:
        call = make(generator)
        if at + len(call) > length - samples(BIRD_CLEAR):
            return calls
        calls.append((at, call, db_to_gain(BIRD_NEAREST_DB - distance)))
        if generator.random() < 0.4:
            at += len(call) + samples(generator.uniform(0.3, 1.0))
            distance = min(BIRD_DISTANCE_DB, max(0.0, distance + generator.uniform(-2.0, 2.0)))
        else:
            at += len(call) + samples(generator.uniform(0.8, 4.5))
            make = pick_species(generator)
            distance = generator.uniform(0.0, BIRD_DISTANCE_DB)


def meadow():
    """Wind in the grass with birds at drawn times; its end crossfades into its start."""
    length = samples(MEADOW_SECONDS)
    overlap = samples(MEADOW_CROSSFADE)
    rng = random.Random(MEADOW_SEED)
    level = gusts(length, rng)
    wind = low_noise(length + overlap, 450.0, rng)
    # The gusts repeat with the loop, so the stretch past the end that fades into the start
    # blows as the start does.
    signal = [w * level[i % length] for i, w in enumerate(wind)]
    for at, call, gain in birdsong(length, rng):
        signal[at:at + len(call)] = [s + gain * c for s, c in zip(signal[at:at + len(call)], call)]
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
