#!/usr/bin/env python3
"""The most work and memory a recorded game may ask of a replay within the reader's limits.

Writes the worst files the limits allow (the largest quiet run in a few bytes, 64 KiB of game
starts, of play frames and of commands, and a 64 MiB file of commands) and times
`chronocell-verify` on each, with its peak resident memory.

Usage: replay_limits.py BUILD_FOLDER
"""

import os
import struct
import subprocess
import sys
import tempfile
import time

KIB = 1024
MIB = 1024 * KIB
MOST_QUIET_PASSES = 1 << 24
MOST_COMMANDS = 1 << 16
ENTER, ESCAPE = 257, 256


def varint(value):
    out = bytearray()
    while value >= 0x80:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    out.append(value)
    return bytes(out)


def signed(value):
    return varint((value << 1) ^ (value >> 63) if value >= 0 else ((-value) << 1) - 1)


def header():
    return (b"CCREC\r\n\x1a" + varint(1) + varint(5) + b"1.0.0" + varint(800) + varint(600) +
            varint(60) + b"\x00" + struct.pack("<f", 0.3))


def full_pass(commands, reads):
    """A full pass; `reads` are residuals already."""
    body = bytearray(b"\x80" + varint(0) + varint(len(commands)))
    for command in commands:
        if isinstance(command, int):
            body += b"\x00" + signed(command)
        else:
            body += b"\x01" + struct.pack("<d", command)
    body += varint(len(reads)) + b"".join(signed(r) for r in reads) + b"\x00"
    return bytes(body)


def ticks(seconds):
    return struct.unpack("<i", struct.pack("<f", seconds))[0]


def quiet_run():
    return header() + b"\x00" + varint(MOST_QUIET_PASSES)


def frames(size):
    """One game started, then play frames of a growing fraction of a millisecond, two bytes each:
    only the start's checkpoint is missing, so the replay stops there, after the reader has
    checked every frame."""
    start = ticks(1.0)
    step = 1000
    body = bytearray(header() + full_pass([ENTER], [start, step - start]))
    while len(body) < size:
        body += b"\x40" + signed(0)
    return bytes(body)


def wheel_commands(size, per_pass=MOST_COMMANDS):
    """Passes of wheel turns, nine bytes each, the most one pass may hold unless told fewer."""
    one = full_pass([0.5] * per_pass, [])
    body = bytearray(header())
    while len(body) + len(one) <= size:
        body += one
    return bytes(body)


def measure(verify, path):
    """Exit code, last line on standard error, seconds and peak resident MiB of one replay."""
    started = time.monotonic()
    result = subprocess.run(["/usr/bin/time", "-f", "%M", verify, path], capture_output=True,
                            text=True)
    seconds = time.monotonic() - started
    lines = result.stderr.strip().splitlines()
    peak_mib = int(lines[-1]) / 1024.0
    problem = lines[0] if len(lines) > 1 else ""
    return result.returncode, problem, seconds, peak_mib


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    verify = os.path.join(sys.argv[1], "chronocell-verify")
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(source, "tests", "replays", "won.ccr"), "rb") as file:
        won = file.read()
    cases = [
        ("a won game (90 s)", lambda: won),
        ("the longest quiet run", quiet_run),
        ("64 KiB of play frames", lambda: frames(64 * KIB)),
        ("64 KiB of wheel turns", lambda: wheel_commands(64 * KIB, 1000)),
        ("64 MiB of wheel turns", lambda: wheel_commands(64 * MIB)),
    ]
    print(f"{'file':<24} {'bytes':>10} {'seconds':>8} {'peak MiB':>9}  exit")
    with tempfile.TemporaryDirectory(prefix="chronocell-limits-") as folder:
        for index, (name, make) in enumerate(cases):
            path = os.path.join(folder, f"case{index}.ccr")
            data = make()
            with open(path, "wb") as file:
                file.write(data)
            code, problem, seconds, peak = measure(verify, path)
            print(f"{name:<24} {len(data):>10} {seconds:>8.2f} {peak:>9.1f}  {code}  {problem}")
            del data


if __name__ == "__main__":
    main()
