#!/usr/bin/env python3
"""Writes the game's icon: a brass pocket watch with a cream dial, dark hands and the countdown's
red second hand, as icon-N.png for N = 32, 48, 64, 128 and 256 (antialiased, transparent
background) and as icon.svg, all drawn from one list of shapes. Only the standard library is
used and nothing is random, so two runs give byte-identical files.

Usage: gen_icons.py OUTPUT_DIR
"""

import math
import os
import struct
import sys
import zlib

SIZES = (32, 48, 64, 128, 256)
SVG_SIZE = 256

# The colours of the clock model's materials, and the countdown's red.
DARK_BRASS = (122, 78, 18)
BRASS = (219, 163, 51)
DIAL = (245, 237, 209)
HANDS = (26, 26, 31)
RED = (224, 32, 32)

CENTRE = (0.5, 0.56)


class Circle:
    def __init__(self, centre, radius, colour):
        self.centre, self.radius, self.colour = centre, radius, colour

    def distance(self, x, y):
        return math.hypot(x - self.centre[0], y - self.centre[1]) - self.radius

    def bounds(self):
        (x, y), r = self.centre, self.radius
        return x - r, y - r, x + r, y + r

    def svg(self, scale):
        x, y = self.centre
        return '<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (
            number(x * scale), number(y * scale), number(self.radius * scale), hex_colour(self))


class Stroke:
    """A straight line with round ends: every point within `radius` of the segment."""

    def __init__(self, start, end, radius, colour):
        self.start, self.end, self.radius, self.colour = start, end, radius, colour

    def distance(self, x, y):
        (ax, ay), (bx, by) = self.start, self.end
        dx, dy = bx - ax, by - ay
        along = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
        along = min(max(along, 0.0), 1.0)
        return math.hypot(x - ax - along * dx, y - ay - along * dy) - self.radius

    def bounds(self):
        (ax, ay), (bx, by), r = self.start, self.end, self.radius
        return min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r

    def svg(self, scale):
        (ax, ay), (bx, by) = self.start, self.end
        return ('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="%s" '
                'stroke-linecap="round"/>' % (
                    number(ax * scale), number(ay * scale), number(bx * scale),
                    number(by * scale), hex_colour(self), number(2 * self.radius * scale)))


def number(value):
    return ("%.3f" % value).rstrip("0").rstrip(".")


def hex_colour(shape):
    return "#%02x%02x%02x" % shape.colour


def on_dial(hour, radius):
    """The point `radius` from the centre in the direction of `hour` on a twelve-hour dial."""
    angle = hour / 12.0 * 2.0 * math.pi
    return CENTRE[0] + radius * math.sin(angle), CENTRE[1] - radius * math.cos(angle)


def shapes():
    """The watch from back to front."""
    crown_top, crown_bottom = (0.5, 0.07), (0.5, 0.16)
    drawn = [Stroke(crown_top, crown_bottom, 0.06, DARK_BRASS),
             Stroke(crown_top, crown_bottom, 0.035, BRASS),
             Circle(CENTRE, 0.42, DARK_BRASS),
             Circle(CENTRE, 0.39, BRASS),
             Circle(CENTRE, 0.31, DIAL)]
    for hour in range(12):
        if hour % 3 == 0:
            drawn.append(Stroke(on_dial(hour, 0.21), on_dial(hour, 0.26), 0.022, HANDS))
        else:
            drawn.append(Circle(on_dial(hour, 0.25), 0.014, HANDS))
    drawn += [Stroke(CENTRE, on_dial(10, 0.14), 0.03, HANDS),
              Stroke(CENTRE, on_dial(2, 0.21), 0.022, HANDS),
              Stroke(on_dial(1.5, 0.05), on_dial(7.5, 0.23), 0.011, RED),
              Circle(CENTRE, 0.04, RED)]
    return drawn


def rasterize(size, drawn):
    """Straight-alpha RGBA rows; each shape covers a pixel by its distance from the pixel's
    centre, which gives edges a one-pixel ramp."""
    colour = [[0.0, 0.0, 0.0] for _ in range(size * size)]
    alpha = [0.0] * (size * size)
    for shape in drawn:
        left, top, right, bottom = shape.bounds()
        for py in range(max(int(top * size) - 1, 0), min(int(bottom * size) + 2, size)):
            y = (py + 0.5) / size
            for px in range(max(int(left * size) - 1, 0), min(int(right * size) + 2, size)):
                cover = min(max(0.5 - shape.distance((px + 0.5) / size, y) * size, 0.0), 1.0)
                if cover > 0.0:
                    index = py * size + px
                    # Premultiplied "over", as an SVG renderer paints.
                    kept = colour[index]
                    for channel in range(3):
                        kept[channel] = (shape.colour[channel] * cover
                                         + kept[channel] * (1.0 - cover))
                    alpha[index] = cover + alpha[index] * (1.0 - cover)
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            index = py * size + px
            a = alpha[index]
            rgb = [round(c / a) if a > 0.0 else 0 for c in colour[index]]
            row += bytes(rgb) + bytes([round(a * 255)])
        rows.append(bytes(row))
    return rows


def png(size, rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    # Each row starts with its filter type, 0 (none).
    pixels = zlib.compress(b"".join(b"\0" + row for row in rows), 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels)
            + chunk(b"IEND", b""))


def svg(drawn):
    body = "\n".join("  " + shape.svg(SVG_SIZE) for shape in drawn)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
            '%s\n</svg>\n' % (SVG_SIZE, SVG_SIZE, SVG_SIZE, SVG_SIZE, body))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    drawn = shapes()
    for size in SIZES:
        with open(os.path.join(folder, "icon-%d.png" % size), "wb") as file:
            file.write(png(size, rasterize(size, drawn)))
    with open(os.path.join(folder, "icon.svg"), "w", encoding="utf-8") as file:
        file.write(svg(drawn))


if __name__ == "__main__":
    main()
