#!/usr/bin/python3
"""Reference text metrics from Pillow's FreeType binding, an independent
measurer of the same font files the native renderer uses.

For each face name the tests ask for, fontconfig (fc-match) names the file it
resolves to; Pillow opens that file at each pixel size and writes one line per
string into metrics.txt:

  face<TAB>file<TAB>size<TAB>ascent<TAB>descent<TAB>width<TAB>text (UTF-8)

Widths use Pillow's basic layout without kerning, as GDI measures a line.

Usage: make_fixtures.py <output folder>
"""
import os
import subprocess
import sys

from PIL import ImageFont

FACES = ["DejaVu Sans", "Arial", "Arial:bold"]
SIZES = [12, 20, 33]
TEXTS = ["Hello", "Width of a line", "Smith & Sons", "iiii", "WWW", "0123456789"]


def face_file(face):
    return subprocess.run(["fc-match", "-f", "%{file}", face], check=True, capture_output=True,
                          text=True).stdout


def main(out):
    with open(os.path.join(out, "metrics.txt"), "w", encoding="utf-8") as f:
        for face in FACES:
            path = face_file(face)
            for size in SIZES:
                font = ImageFont.truetype(path, size, layout_engine=ImageFont.Layout.BASIC)
                ascent, descent = font.getmetrics()
                for text in TEXTS:
                    # Per-character advances: no kerning pair can enter the sum.
                    width = sum(round(font.getlength(c)) for c in text)
                    f.write("\t".join([face, path, str(size), str(ascent), str(descent), str(width), text]) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
