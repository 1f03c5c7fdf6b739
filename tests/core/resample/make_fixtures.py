#!/usr/bin/python3
"""Zone-plate fixtures for the resampling kernels.

Writes zone.ppm (a colour zone plate whose rings approach the Nyquist limit
towards the corners) and, for every kernel, ImageMagick's enlargement of it by
3 with the same kernel: im_<Name>.ppm. An enlargement by an odd factor is the
one case where ImageMagick's pixel-centre mapping and ours (first and last
pixels on each other) sample the same source positions: ImageMagick's pixel
x + 1 of the 3 W wide image sits where our pixel x of the 3 (W - 1) + 1 wide
one does.
"""
import subprocess
import sys

import numpy as np

SIZE = 64
# Our kernel names and ImageMagick's names for the same kernels.
FILTERS = {
    "Box": "Box",
    "Triangle": "Triangle",
    "Hermite": "Hermite",
    "Bell": "Quadratic",
    "B-Spline": "Spline",
    "Lanczos3": "Lanczos",
    "Mitchell": "Mitchell",
}


def zone_plate():
    y, x = np.mgrid[0:SIZE, 0:SIZE].astype(np.float64)
    r2 = (x - SIZE / 2 + 0.5) ** 2 + (y - SIZE / 2 + 0.5) ** 2
    r_max = np.sqrt(2) * SIZE / 2
    # Local frequency k r / pi cycles per pixel: 0.45 at the corners.
    k = 0.45 * np.pi / r_max
    red = 127.5 + 127.5 * np.cos(k * r2)
    green = 127.5 + 127.5 * np.cos(0.6 * k * r2 + 1.0)
    blue = 255.0 * x / (SIZE - 1)
    return np.clip(np.rint(np.dstack([red, green, blue])), 0, 255).astype(np.uint8)


def write_ppm(path, pixels):
    h, w, _ = pixels.shape
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        f.write(pixels.tobytes())


def main():
    out = sys.argv[1]
    write_ppm(f"{out}/zone.ppm", zone_plate())
    for ours, theirs in FILTERS.items():
        subprocess.run(["convert", f"{out}/zone.ppm", "-filter", theirs, "-resize",
                        f"{3 * SIZE}x{3 * SIZE}!", "-depth", "8", f"{out}/im_{ours}.ppm"], check=True)


if __name__ == "__main__":
    main()
