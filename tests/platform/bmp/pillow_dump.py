#!/usr/bin/python3
"""pillow_dump.py IMAGE OUT [IMAGE OUT ...]: writes what Pillow decodes each
IMAGE to as the tests' reference layout (little-endian width and height, 4
bytes each, then red, green, blue and alpha per pixel, top row first). One
process for the whole batch. Exits 2 without Pillow."""
import struct
import sys

try:
    from PIL import Image
except ImportError:
    sys.exit(2)

pairs = sys.argv[1:]
for image_path, out_path in zip(pairs[0::2], pairs[1::2]):
    with Image.open(image_path) as image:
        rgba = image.convert('RGBA')
    with open(out_path, 'wb') as out:
        out.write(struct.pack('<II', *rgba.size))
        out.write(rgba.tobytes())
