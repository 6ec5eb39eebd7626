#!/usr/bin/env python3
"""Writes the game's three static props as Wavefront OBJ files with their MTL files.

    python3 props.py OUT_DIR

stone.obj fills the box x -0.5..0.5, y 0..1, z -0.5..0.5 (its hit box at scale 1); clock.obj
fills the same box with its face towards +x; tree.obj is a 14-unit fir with its trunk at the
origin. Every triangle winds counter-clockwise seen from outside and carries a flat normal.
The output depends on nothing but this file, so two runs write the same bytes.
"""

import math
import os
import sys


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def normalise(a):
    length = math.sqrt(dot(a, a))
    return (a[0] / length, a[1] / length, a[2] / length)


class Prop:
    """Triangles grouped by material; each part names a point inside it so every triangle
    can be turned to face away from that point."""

    def __init__(self, name, materials):
        self.name = name
        self.materials = materials  # name: (diffuse, specular, shininess)
        self.triangles = []

    def triangle(self, a, b, c, material, inside):
        normal = cross(sub(b, a), sub(c, a))
        if dot(normal, normal) < 1e-14:
            return
        centre = tuple((a[i] + b[i] + c[i]) / 3 for i in range(3))
        if dot(normal, sub(centre, inside)) < 0:
            b, c = c, b
            normal = (-normal[0], -normal[1], -normal[2])
        self.triangles.append((material, (a, b, c), normalise(normal)))

    def lathe(self, profile, sides, material, to_world, radius_jitter=None, inside=None):
        """Revolves (height, radius) pairs around a local axis; to_world maps the local
        point (x, height, z) into the prop. A radius of 0 closes the shape at that height."""
        heights = [h for h, _ in profile]
        if inside is None:
            inside = to_world((0.0, (min(heights) + max(heights)) / 2, 0.0))
        rings = []
        for level, (height, radius) in enumerate(profile):
            ring = []
            for k in range(sides):
                angle = 2 * math.pi * k / sides
                r = radius * (radius_jitter(level, k) if radius_jitter else 1.0)
                ring.append(to_world((r * math.cos(angle), height, r * math.sin(angle))))
            rings.append(ring)
        for lower, upper in zip(rings, rings[1:]):
            for k in range(sides):
                k2 = (k + 1) % sides
                mat = material(k) if callable(material) else material
                self.triangle(lower[k], lower[k2], upper[k2], mat, inside)
                self.triangle(lower[k], upper[k2], upper[k], mat, inside)

    def hull8(self, corners, material):
        """A six-sided block from four lower and four upper corners, in matching order."""
        inside = tuple(sum(p[i] for p in corners) / 8 for i in range(3))
        low, high = corners[:4], corners[4:]
        for quad in (low, high) + tuple(
                (low[k], low[(k + 1) % 4], high[(k + 1) % 4], high[k]) for k in range(4)):
            self.triangle(quad[0], quad[1], quad[2], material, inside)
            self.triangle(quad[0], quad[2], quad[3], material, inside)

    def quad(self, corners, material, inside):
        self.triangle(corners[0], corners[1], corners[2], material, inside)
        self.triangle(corners[0], corners[2], corners[3], material, inside)

    def bounds(self):
        points = [p for _, tri, _ in self.triangles for p in tri]
        return ([min(p[i] for p in points) for i in range(3)],
                [max(p[i] for p in points) for i in range(3)])

    def fit(self, low, high):
        """Scales and moves every point so the prop's bounds become exactly low..high."""
        old_low, old_high = self.bounds()

        def move(p):
            return tuple(low[i] + (p[i] - old_low[i]) * (high[i] - low[i]) /
                         (old_high[i] - old_low[i]) for i in range(3))

        moved = []
        for material, tri, _ in self.triangles:
            a, b, c = (move(p) for p in tri)
            normal = normalise(cross(sub(b, a), sub(c, a)))
            moved.append((material, (a, b, c), normal))
        self.triangles = moved

    def write(self, directory):
        def number(x):
            text = f"{x:.5f}"
            return "0.00000" if text == "-0.00000" else text

        lines = [f"# {self.name}: written by tools/models/props.py", f"mtllib {self.name}.mtl",
                 f"o {self.name}"]
        vertex_ids, normal_ids = {}, {}
        body = []
        for material in self.materials:
            tris = [t for t in self.triangles if t[0] == material]
            if not tris:
                continue
            body.append(f"usemtl {material}")
            for _, tri, normal in tris:
                n_key = tuple(number(x) for x in normal)
                if n_key not in normal_ids:
                    normal_ids[n_key] = len(normal_ids) + 1
                refs = []
                for p in tri:
                    v_key = tuple(number(x) for x in p)
                    if v_key not in vertex_ids:
                        vertex_ids[v_key] = len(vertex_ids) + 1
                    refs.append(f"{vertex_ids[v_key]}//{normal_ids[n_key]}")
                body.append("f " + " ".join(refs))
        lines += ["v " + " ".join(key) for key in vertex_ids]
        lines += ["vn " + " ".join(key) for key in normal_ids]
        lines += body
        with open(os.path.join(directory, f"{self.name}.obj"), "w", newline="\n") as out:
            out.write("\n".join(lines) + "\n")

        mtl = [f"# {self.name}: written by tools/models/props.py"]
        for material, (diffuse, specular, shininess) in self.materials.items():
            colour = " ".join(number(c) for c in diffuse)
            mtl += ["", f"newmtl {material}", f"Ka {colour}", f"Kd {colour}",
                    "Ks " + " ".join(number(c) for c in specular), f"Ns {number(shininess)}",
                    "d 1.00000", "illum 2"]
        with open(os.path.join(directory, f"{self.name}.mtl"), "w", newline="\n") as out:
            out.write("\n".join(mtl) + "\n")
        return len(self.triangles)


def upright(centre):
    return lambda p: (centre[0] + p[0], centre[1] + p[1], centre[2] + p[2])


def along_x(centre):
    """Local height runs along +x."""
    return lambda p: (centre[0] + p[1], centre[1] + p[0], centre[2] + p[2])


def jitter(seed):
    """A fixed, repeatable wobble in 0.82..1.18 for each (ring, side)."""
    def wobble(level, k):
        value = math.sin(seed * 12.9898 + level * 78.233 + k * 37.719) * 43758.5453
        return 0.82 + 0.36 * (value - math.floor(value))
    return wobble


def make_stone():
    stone = Prop("stone", {
        "StoneGrey": ((0.50, 0.50, 0.48), (0.15, 0.15, 0.15), 12.0),
        "StoneDark": ((0.36, 0.35, 0.34), (0.12, 0.12, 0.12), 12.0),
        "StoneBrown": ((0.48, 0.39, 0.30), (0.12, 0.11, 0.10), 10.0),
    })
    shades = ["StoneGrey", "StoneBrown", "StoneGrey", "StoneDark", "StoneBrown", "StoneGrey",
              "StoneDark", "StoneGrey", "StoneBrown", "StoneDark", "StoneGrey"]
    profile = [(0.0, 0.0), (0.0, 0.44), (0.16, 0.5), (0.45, 0.48), (0.72, 0.4), (0.92, 0.24),
               (1.0, 0.0)]
    stone.lathe(profile, 11, lambda k: shades[k], upright((0, 0, 0)), jitter(3.0))
    stone.fit((-0.5, 0.0, -0.5), (0.5, 1.0, 0.5))
    return stone


def make_tree():
    tree = Prop("tree", {
        "Bark": ((0.36, 0.22, 0.11), (0.05, 0.05, 0.05), 4.0),
        "NeedlesDark": ((0.08, 0.36, 0.14), (0.08, 0.10, 0.08), 6.0),
        "NeedlesLight": ((0.16, 0.50, 0.18), (0.08, 0.10, 0.08), 6.0),
    })
    tree.lathe([(0.0, 0.7), (2.0, 0.6), (4.5, 0.45)], 7, "Bark", upright((0, 0, 0)))
    tiers = [(3.0, 4.4, 8.5, "NeedlesDark"), (6.2, 3.6, 11.6, "NeedlesLight"),
             (9.2, 2.6, 14.0, "NeedlesDark")]
    for base, radius, top, material in tiers:
        tree.lathe([(base, 0.0), (base - 0.3, radius), (top, 0.0)], 10, material,
                   upright((0, 0, 0)))
    return tree


def make_clock():
    clock = Prop("clock", {
        "Brass": ((0.86, 0.64, 0.20), (0.60, 0.55, 0.40), 48.0),
        "Dial": ((0.96, 0.93, 0.82), (0.30, 0.30, 0.30), 24.0),
        "Hands": ((0.10, 0.10, 0.12), (0.20, 0.20, 0.20), 16.0),
    })
    centre = (0.0, 0.5, 0.0)
    # The case: a drum lying along x, its dial on the +x side inside a rim standing proud.
    clock.lathe([(-0.2, 0.0), (-0.2, 0.38), (0.2, 0.38), (0.2, 0.31), (0.17, 0.31),
                 (0.17, 0.0)], 12, "Brass", along_x(centre))
    clock.lathe([(0.175, 0.0), (0.175, 0.31)], 12, "Dial", along_x(centre), inside=centre)
    # Bells.
    for z in (-0.3, 0.3):
        clock.lathe([(0.0, 0.0), (0.0, 0.2), (0.1, 0.17), (0.17, 0.1), (0.2, 0.0)], 6, "Brass",
                    upright((0.0, 0.8, z)))
    # Four splayed feet reach the corners of the box's floor in x.
    for sx in (-1, 1):
        for sz in (-1, 1):
            top = (0.12 * sx, 0.24, 0.2 * sz)
            foot = (0.47 * sx, 0.0, 0.3 * sz)
            corners = []
            for cx, cy, cz in (foot, top):
                corners += [(cx - 0.03, cy, cz - 0.03), (cx + 0.03, cy, cz - 0.03),
                            (cx + 0.03, cy, cz + 0.03), (cx - 0.03, cy, cz + 0.03)]
            clock.hull8(corners, "Brass")
    # Hour hand towards ten, minute hand towards two, and four hour marks: flat strips
    # just in front of the dial.
    front = 0.18

    def strip(angle, start, length, width):
        up, side = math.cos(angle), math.sin(angle)
        corners = [(front, 0.5 + up * d - side * s * width, side * d + up * s * width)
                   for d, s in ((start, -1), (start, 1), (length, 1), (length, -1))]
        clock.quad(corners, "Hands", centre)

    strip(math.radians(-60), 0.0, 0.17, 0.022)
    strip(math.radians(60), 0.0, 0.25, 0.015)
    for quarter in range(4):
        strip(math.radians(90 * quarter), 0.22, 0.28, 0.018)
    clock.fit((-0.5, 0.0, -0.5), (0.5, 1.0, 0.5))
    return clock


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for prop in (make_stone(), make_tree(), make_clock()):
        count = prop.write(out)
        low, high = prop.bounds()
        print(f"{prop.name}: {count} triangles, bounds {low} .. {high}")


main()
