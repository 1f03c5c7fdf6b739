#!/usr/bin/python3
"""Flip, crop and invert fixtures, computed with numpy.

For each pixel format (1, 4, 8 bits as palette indexes in PGM files, 24 bits
as RGB in PPM files) and each odd width from 1 to 33 (every row-padding
remainder of the packed formats), a random 5-row source and numpy's idea of:
  flipv  top to bottom          fliph  left to right
  crop   (-2, -1, w + 1, h)     a frame: 2 left, 2 right, 1 above, 1 below
  cropr  (w // 3, 2, w + 2, 3)  rows 2 and 3 from column w // 3, reaching 3
                                columns past the right edge
  invert (24 bits) the rectangle (1, 1, w - 2, 3), corners included
  invert (1 bit)   every index complemented
Crops fill with the palette index FILL[bits] (24 bits: FILL_RGB).
"""
import sys

import numpy as np

HEIGHT = 5
WIDTHS = range(1, 34, 2)
FILL = {1: 1, 4: 14, 8: 200}
FILL_RGB = (12, 34, 56)


def write_pnm(path, pixels):
    h, w = pixels.shape[:2]
    magic = b"P6" if pixels.ndim == 3 else b"P5"
    with open(path, "wb") as f:
        f.write(b"%s\n%d %d\n255\n" % (magic, w, h))
        f.write(pixels.astype(np.uint8).tobytes())


def crop(pixels, x1, y1, x2, y2, fill):
    h, w = pixels.shape[:2]
    out = np.empty((y2 - y1 + 1, x2 - x1 + 1) + pixels.shape[2:], dtype=np.uint8)
    out[...] = fill
    for r in range(out.shape[0]):
        for c in range(out.shape[1]):
            if 0 <= y1 + r < h and 0 <= x1 + c < w:
                out[r, c] = pixels[y1 + r, x1 + c]
    return out


def main():
    out = sys.argv[1]
    rng = np.random.default_rng(20261210)
    for bits in (1, 4, 8, 24):
        for w in WIDTHS:
            if bits == 24:
                src = rng.integers(0, 256, size=(HEIGHT, w, 3))
                fill = FILL_RGB
            else:
                src = rng.integers(0, 1 << bits, size=(HEIGHT, w))
                fill = FILL[bits]
            name = f"{bits}_{w}"
            write_pnm(f"{out}/src_{name}.pnm", src)
            write_pnm(f"{out}/flipv_{name}.pnm", src[::-1])
            write_pnm(f"{out}/fliph_{name}.pnm", src[:, ::-1])
            write_pnm(f"{out}/crop_{name}.pnm", crop(src, -2, -1, w + 1, HEIGHT, fill))
            write_pnm(f"{out}/cropr_{name}.pnm", crop(src, w // 3, 2, w + 2, 3, fill))
            if bits == 24:
                inverted = src.copy()
                inverted[1:4, 1:w - 1] = 255 - inverted[1:4, 1:w - 1]
                write_pnm(f"{out}/invert_{name}.pnm", inverted)
            elif bits == 1:
                write_pnm(f"{out}/invert_{name}.pnm", 1 - src)


if __name__ == "__main__":
    main()
