#!/usr/bin/python3
"""Photographs for the colour-reduction quality check.

Three real photographs from the test images of the libjpeg-turbo source
package (which tools/setup fetches), each written as a 24-bit BMP
(photo_<name>.bmp) and as ImageMagick's own 256-colour reduction of it without
dithering (im256_<name>.ppm), the independent quantiser our octree is measured
against.
"""
import glob
import os
import subprocess
import sys

PHOTOS = {
    "nightshot": "nightshot_iso_100.bmp",
    "vgl5674": "vgl_5674_0098.bmp",
    "vgl6434": "vgl_6434_0018a.bmp",
}


def test_images():
    deps = os.environ.get("PIXMARL_DEPS") or os.path.expanduser("~/.cache/pixmarlkit")
    found = sorted(glob.glob(f"{deps}/src/libjpeg-turbo-*/testimages"))
    if not found:
        sys.exit("make_fixtures: no libjpeg-turbo source under " + deps + "/src (run tools/setup)")
    return found[-1]


def main():
    out = sys.argv[1]
    images = test_images()
    for name, file in PHOTOS.items():
        source = f"{images}/{file}"
        subprocess.run(["convert", source, "-type", "TrueColor", f"BMP3:{out}/photo_{name}.bmp"], check=True)
        subprocess.run(["convert", source, "-dither", "None", "-colors", "256", "-depth", "8",
                        f"{out}/im256_{name}.ppm"], check=True)


if __name__ == "__main__":
    main()
