#!/usr/bin/env python3
"""Turns the game's desktop shaders (GLSL 4.30 core) into GLSL ES 3.00 for WebGL2 at build time,
so the browser build draws with the very files the desktop build does.

    adapt_shader.py IN OUT
    adapt_shader.py --folder IN_DIR OUT_DIR

The version line becomes `#version 300 es` followed by default precisions (ES fragment shaders
have no default float precision, and a uniform both stages declare must agree in precision, so
everything is highp as on the desktop), and a `#line` that keeps the compiler's line numbers
those of the desktop file. `layout(binding = N)` goes: ES 3.00 cannot name a texture unit in the
shader, and a sampler uniform starts on unit 0, so only binding 0 keeps its meaning without it.
Any other binding, and any file that is not `#version 430 core`, is refused with exit status 1
and nothing is written."""

import os
import re
import sys

DESKTOP_VERSION = "#version 430 core"
ES_PRELUDE = ("#version 300 es\n"
              "precision highp float;\n"
              "precision highp int;\n"
              "precision highp sampler2D;\n"
              "#line 2\n")
# Comments pass through untouched, so a layout named in one is neither removed nor refused.
# The blanks after a removed layout go with it, but never a line end: the lines keep their numbers.
COMMENT_OR_LAYOUT = re.compile(r"//[^\n]*|/\*.*?\*/|\blayout\s*\(([^)]*)\)[ \t]*", re.S)
BINDING = re.compile(r"binding\s*=\s*(\S*)")


class Refusal(Exception):
    """A shader the adapter cannot turn into ES 3.00 without changing what it means."""


def without_bindings(text, first_line):
    """The text, whose first line is the file's line first_line, without its bindings."""
    def replace(match):
        if match.group(1) is None:
            return match.group(0)
        items = [item.strip() for item in match.group(1).split(",")]
        kept = [item for item in items if not BINDING.fullmatch(item)]
        if len(kept) == len(items):
            return match.group(0)
        for item in items:
            binding = BINDING.fullmatch(item)
            if binding is not None and binding.group(1) != "0":
                line = first_line + text.count("\n", 0, match.start())
                raise Refusal(
                    f"line {line}: binding {binding.group(1)} cannot be kept: GLSL ES 3.00 sets "
                    "no texture unit in the shader, and a sampler left to its default reads "
                    "unit 0; bind the texture to unit 0 or set the unit from the program")
        return f"layout({', '.join(kept)}) " if kept else ""

    return COMMENT_OR_LAYOUT.sub(replace, text)


def adapt(text):
    """The ES 3.00 source of a desktop shader's text; raises Refusal."""
    first_line, newline, rest = text.partition("\n")
    if first_line.strip() != DESKTOP_VERSION:
        raise Refusal(f"line 1: expected '{DESKTOP_VERSION}', found '{first_line.strip()}'")
    if not newline:
        raise Refusal("the shader has nothing after its version line")
    return ES_PRELUDE + without_bindings(rest, first_line=2)


def read(path):
    with open(path, encoding="utf-8") as file:
        return file.read()


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as file:
        file.write(text)


def adapt_file(source, target):
    write(target, adapt(read(source)))


def adapt_folder(source_dir, target_dir):
    """Adapts every file of the folder or, when any is refused, writes none of them."""
    adapted = {}
    refusals = []
    for name in sorted(os.listdir(source_dir)):
        path = os.path.join(source_dir, name)
        if not os.path.isfile(path):
            continue
        try:
            adapted[name] = adapt(read(path))
        except Refusal as refusal:
            refusals.append(f"{path}: {refusal}")
    if refusals:
        raise Refusal("\n".join(refusals))
    os.makedirs(target_dir, exist_ok=True)
    for name, text in adapted.items():
        write(os.path.join(target_dir, name), text)


USAGE = "usage: adapt_shader.py IN OUT | adapt_shader.py --folder IN_DIR OUT_DIR"


def main(arguments):
    try:
        if len(arguments) == 3 and arguments[0] == "--folder":
            adapt_folder(arguments[1], arguments[2])
        elif len(arguments) == 2 and not arguments[0].startswith("--"):
            try:
                adapt_file(arguments[0], arguments[1])
            except Refusal as refusal:
                raise Refusal(f"{arguments[0]}: {refusal}") from None
        else:
            print(USAGE, file=sys.stderr)
            return 2
    except Refusal as refusal:
        print(f"adapt_shader.py: {refusal}", file=sys.stderr)
        return 1
    except OSError as error:
        print(f"adapt_shader.py: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
