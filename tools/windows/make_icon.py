#!/usr/bin/env python3
"""Packs the game's PNG icons into one Windows icon file (.ico), each size stored as the PNG it
is, as Windows Vista and later read them; the bytes depend on the PNGs alone.

Usage: make_icon.py OUTPUT.ico ICON.png...
"""

import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        sys.exit("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = []
    for path in sys.argv[2:]:
        with open(path, "rb") as file:
            images.append(file.read())
    header = struct.pack("<HHH", 0, 1, len(images))
    directory, offset = b"", 6 + 16 * len(images)
    for data in images:
        width, height = png_size(data)
        if width > 256 or height > 256:
            sys.exit(f"an icon is at most 256 pixels wide and high, not {width} x {height}")
        # 0 stands for 256; 32 bits a pixel.
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data),
                                 offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as output:
        output.write(header + directory + b"".join(images))


if __name__ == "__main__":
    main()
