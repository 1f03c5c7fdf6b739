#!/usr/bin/python3
"""JPEG codec fixtures, made by the tools of the library we link and by
ImageMagick, with djpeg's decodes as pixel references.

photo.ppm (101 x 75, smooth colour ramps) and blocks.ppm (four 16 x 16 flat
blocks: red, green, blue, white) are the sources. cjpeg writes the baseline,
progressive, grey and RGB-colour-space files; djpeg decodes them with the DCT
each class uses; ImageMagick writes the CMYK file and the unit-2 density one;
cmyk_writer.c (ours, over libjpeg) writes the YCCK file and a progressive CMYK
file whose first scan holds one component.
"""
import os
import struct
import subprocess
import sys

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))


def write_ppm(path, pixels):
    h, w, _ = pixels.shape
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        f.write(pixels.astype(np.uint8).tobytes())


def photo():
    y, x = np.mgrid[0:75, 0:101].astype(np.float64)
    red = 255 * x / 100
    green = 255 * y / 74
    blue = 127.5 + 127.5 * np.sin((x + y) / 9.0)
    return np.clip(np.rint(np.dstack([red, green, blue])), 0, 255)


def blocks():
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
    return np.concatenate([np.tile(np.array(c, dtype=np.float64), (16, 16, 1)) for c in colours], axis=1)


def run(args, out=None):
    if out is None:
        subprocess.run(args, check=True)
    else:
        with open(out, "wb") as f:
            subprocess.run(args, check=True, stdout=f)


def jfif_density(path):
    data = open(path, "rb").read()
    assert data[2:4] == b"\xff\xe0" and data[6:11] == b"JFIF\0", path
    return data[13], struct.unpack(">H", data[14:16])[0], struct.unpack(">H", data[16:18])[0]


def main():
    out = sys.argv[1]
    p = lambda name: os.path.join(out, name)
    write_ppm(p("photo.ppm"), photo())
    write_ppm(p("blocks.ppm"), blocks())
    write_ppm(p("red.ppm"), np.tile(np.array([255.0, 0, 0]), (16, 16, 1)))

    run(["cjpeg", "-quality", "75", "-outfile", p("photo_q75.jpg"), p("photo.ppm")])
    run(["cjpeg", "-quality", "85", "-progressive", "-outfile", p("photo_progressive.jpg"), p("photo.ppm")])
    run(["cjpeg", "-quality", "90", "-grayscale", "-outfile", p("photo_grey.jpg"), p("photo.ppm")])
    run(["cjpeg", "-outfile", p("red_ycbcr.jpg"), p("red.ppm")])
    run(["cjpeg", "-rgb", "-outfile", p("red_rgb.jpg"), p("red.ppm")])

    run(["djpeg", "-dct", "int", "-pnm", p("photo_q75.jpg")], p("photo_q75_islow.ppm"))
    run(["djpeg", "-dct", "float", "-pnm", p("photo_q75.jpg")], p("photo_q75_float.ppm"))
    run(["djpeg", "-dct", "int", "-scale", "1/2", "-pnm", p("photo_q75.jpg")], p("photo_q75_half.ppm"))
    run(["djpeg", "-dct", "int", "-pnm", p("photo_progressive.jpg")], p("photo_progressive_islow.ppm"))
    run(["djpeg", "-dct", "int", "-pnm", p("photo_grey.jpg")], p("photo_grey_islow.pgm"))

    run(["convert", p("blocks.ppm"), "-colorspace", "CMYK", "-quality", "95", p("blocks_cmyk_im.jpg")])
    run(["convert", p("photo.ppm"), "-units", "PixelsPerCentimeter", "-density", "28", p("density28.jpg")])
    assert jfif_density(p("density28.jpg")) == (2, 28, 28)

    writer = p("cmyk_writer")
    run(["cc", "-O1", "-o", writer, os.path.join(HERE, "cmyk_writer.c"), "-ljpeg"])
    run([writer, p("blocks.ppm"), "ycck", p("blocks_ycck.jpg")])
    run([writer, p("blocks.ppm"), "progressive", p("blocks_cmyk_progressive.jpg")])
    os.remove(writer)


if __name__ == "__main__":
    main()
