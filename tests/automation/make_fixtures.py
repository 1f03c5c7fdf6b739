#!/usr/bin/python3
"""Fixtures for the automation object's file road, written by Pillow (an
independent BMP writer): BMP files of each pixel depth the
load road keeps, with known resolutions, plus files of the types the load road
refuses or cannot read yet (PCX, PNG, GIF) to check its type errors.

Usage: make_fixtures.py <output folder>
"""
import os
import sys

from PIL import Image


def gradient(width, height):
    image = Image.new("RGB", (width, height))
    image.putdata([((x * 37) % 256, (y * 53) % 256, (x * y * 11) % 256)
                   for y in range(height) for x in range(width)])
    return image


def main(out):
    rgb = gradient(7, 5)
    rgb.save(os.path.join(out, "rgb24.bmp"), dpi=(96, 300))
    rgb.quantize(colors=200).save(os.path.join(out, "pal8.bmp"), dpi=(72, 72))
    rgb.convert("1").save(os.path.join(out, "mono1.bmp"))
    rgb.save(os.path.join(out, "rgb.pcx"))
    rgb.save(os.path.join(out, "rgb.png"))
    rgb.convert("P").save(os.path.join(out, "pal.gif"))
    # Pixel values for the tests, one "x y r g b" line a pixel.
    with open(os.path.join(out, "rgb24.txt"), "w") as f:
        for y in range(rgb.height):
            for x in range(rgb.width):
                f.write("%d %d %d %d %d\n" % ((x, y) + rgb.getpixel((x, y))))


if __name__ == "__main__":
    main(sys.argv[1])
