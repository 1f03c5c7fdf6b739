#!/usr/bin/python3
"""pillow_dump.py IMAGE OUT: writes what Pillow decodes IMAGE to as the tests'
reference layout (little-endian width and height, 4 bytes each, then red,
green, blue and alpha per pixel, top row first). Exits 2 without Pillow."""
import struct
import sys

try:
    from PIL import Image
except ImportError:
    sys.exit(2)

with Image.open(sys.argv[1]) as image:
    rgba = image.convert('RGBA')
with open(sys.argv[2], 'wb') as out:
    out.write(struct.pack('<II', *rgba.size))
    out.write(rgba.tobytes())
