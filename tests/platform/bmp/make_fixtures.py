#!/usr/bin/python3
"""Writes the BMP fixtures of the platform codec tests into the folder given.

Every <name>.bmp comes with <name>.rgba, the pixels it should decode to: a
little-endian width and height (4 bytes each), then red, green, blue and alpha
per pixel, top row first. Files written by ImageMagick, netpbm and Pillow take
their reference from Pillow's decoder; files built here byte by byte (the
variants no tool writes: top-down rows, short colour tables, bit-field layouts,
RLE4, RLE deltas) take it from the picture they were built from, and Pillow
must agree with it wherever Pillow reads the variant.
"""
import os
import struct
import subprocess
import sys

from PIL import Image

OUT = sys.argv[1]


def path(name):
    return os.path.join(OUT, name)


def write_reference(stem, image):
    rgba = image.convert('RGBA')
    with open(path(stem + '.rgba'), 'wb') as f:
        f.write(struct.pack('<II', *rgba.size))
        f.write(rgba.tobytes())


def pillow_reference(name):
    with Image.open(path(name)) as image:
        image.load()
        write_reference(name[:-4], image)


def rgb_picture(width, height):
    image = Image.new('RGB', (width, height))
    image.putdata([((x * 37 + y * 11) % 256, (x * 13 + y * 53) % 256, (x * y * 7 + 90) % 256)
                   for y in range(height) for x in range(width)])
    return image


def rgba_picture(width, height):
    image = rgb_picture(width, height).convert('RGBA')
    image.putalpha(Image.frombytes('L', (width, height),
                                   bytes((x * 40 + y * 25) % 256 for y in range(height) for x in range(width))))
    return image


# ---- files written by the tools -------------------------------------------

def run(command):
    subprocess.run(command, shell=True, check=True, stderr=subprocess.DEVNULL)


def imagemagick_fixtures():
    rgb_picture(13, 7).save(path('src_rgb.ppm'))
    rgba_picture(11, 5).save(path('src_rgba.png'))
    made = {
        'im_bmp2_rgb24.bmp': 'src_rgb.ppm -define bmp:format=bmp2',
        'im_bmp3_rgb24.bmp': 'src_rgb.ppm -define bmp:format=bmp3 -type truecolor',
        'im_bmp4_rgb24.bmp': 'src_rgb.ppm -define bmp:format=bmp4 -type truecolor',
        'im_bmp4_rgba32.bmp': 'src_rgba.png -define bmp:format=bmp4',
        'im_rgb565.bmp': 'src_rgb.ppm -define bmp:subtype=RGB565',
        'im_bmp2_pal4.bmp': 'src_rgb.ppm -colors 12 -define bmp:format=bmp2 -type palette',
        'im_bmp3_pal4.bmp': 'src_rgb.ppm -colors 12 -define bmp:format=bmp3 -type palette',
        'im_bmp3_pal8.bmp': 'src_rgb.ppm -define bmp:format=bmp3 -type palette',
        'im_bmp3_mono.bmp': 'src_rgb.ppm -define bmp:format=bmp3 -monochrome',
        'im_bmp3_rle8.bmp': 'src_rgb.ppm -define bmp:format=bmp3 -type palette -compress RLE',
    }
    for name, arguments in made.items():
        source, options = arguments.split(' ', 1)
        run(f'convert {path(source)} {options} {path(name)}')
        pillow_reference(name)


def netpbm_fixtures():
    source = path('src_rgb.ppm')
    for bpp in (1, 4, 8, 24):
        quantised = source
        if bpp < 24:
            quantised = path(f'src_q{bpp}.ppm')
            run(f'pnmquant {2 ** bpp} {source} > {quantised}')
        for kind in ('windows', 'os2'):
            name = f'pbm_{kind}_{bpp}.bmp'
            run(f'ppmtobmp -{kind} -bpp {bpp} {quantised} > {path(name)}')
            pillow_reference(name)


def pillow_fixtures():
    picture = rgb_picture(9, 6)
    variants = {
        'pil_1.bmp': picture.convert('1'),
        'pil_l.bmp': picture.convert('L'),
        'pil_p.bmp': picture.quantize(7),
        'pil_rgb.bmp': picture,
        'pil_rgba.bmp': rgba_picture(9, 6),
    }
    for name, image in variants.items():
        image.save(path(name))
        pillow_reference(name)


# ---- files built byte by byte -----------------------------------------------

def stride(width, bpp):
    return (width * bpp + 31) // 32 * 4


def pack_rows(rows, width, bpp):
    """rows: lists of pixel values, stored in the order given."""
    data = b''
    for row in rows:
        if bpp < 8:
            bits = ''.join(format(v, f'0{bpp}b') for v in row)
            bits += '0' * (-len(bits) % 8)
            raw = int(bits, 2).to_bytes(len(bits) // 8, 'big') if bits else b''
        else:
            raw = b''.join(v.to_bytes(bpp // 8, 'little') for v in row)
        data += raw + b'\0' * (stride(width, bpp) - len(raw))
    return data


def build_bmp(width, height, bpp, pixels, compression=0, table=(), clr_used=0, header_size=40,
              masks=None, trailing_masks=None):
    """height < 0 stores the rows top-down; pixels are the stored bytes."""
    table_bytes = b''.join(bytes((b, g, r, 0)) for (r, g, b) in table)
    info = struct.pack('<IiiHHIIiiII', header_size, width, height, 1, bpp, compression, len(pixels),
                       2835, 3780, clr_used, 0)
    if header_size > 40:
        info += struct.pack('<4I', *(masks or (0, 0, 0, 0)))[:header_size - 40]
        info += b'\0' * (header_size - len(info))
    extra = struct.pack(f'<{len(trailing_masks)}I', *trailing_masks) if trailing_masks else b''
    offset = 14 + len(info) + len(extra) + len(table_bytes)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + extra + table_bytes + pixels


def pillow_decode(name):
    try:
        with Image.open(path(name)) as image:
            image.load()
            return image.convert('RGBA').tobytes()
    except OSError:
        return None  # a variant Pillow does not read


def imagemagick_decode(name):
    return subprocess.run(['convert', path(name), '-depth', '8', 'rgba:-'], check=True, capture_output=True).stdout


def save_built(name, data, picture, oracle=pillow_decode, tolerance=1):
    """Writes a built file and its picture as the reference, after checking
    that an independent decoder agrees (Pillow misreads RLE4 literal runs of odd
    length, so the RLE files are checked with ImageMagick, as are the variants
    Pillow does not read)."""
    with open(path(name), 'wb') as f:
        f.write(data)
    write_reference(name[:-4], picture)
    decoded = oracle(name)
    if decoded is None:  # Pillow reads neither 52- and 56-byte headers nor 10-bit fields
        oracle = imagemagick_decode
        decoded = oracle(name)
    expected = picture.convert('RGBA').tobytes()
    if picture.mode != 'RGBA':
        decoded = bytes(255 if i % 4 == 3 else v for i, v in enumerate(decoded))
    # The decoders widen narrow components by scaling or shifting, not by
    # repeating bits: Pillow may differ by 1 on 5 and 6 bits, ImageMagick by up
    # to 15 on 4 bits.
    if len(decoded) != len(expected) or any(abs(a - b) > tolerance for a, b in zip(decoded, expected)):
        raise SystemExit(f'{name}: {oracle.__name__} decodes something else than the picture it was built from')


def paletted_picture(indexes, table):
    image = Image.new('RGB', (len(indexes[0]), len(indexes)))
    image.putdata([table[i] for row in indexes for i in row])
    return image


def index_rows(width, height, count):
    return [[(x + 2 * y) % count for x in range(width)] for y in range(height)]


def grey_table(count):
    return [(i * 255 // max(count - 1, 1),) * 3 for i in range(count)]


def colour_table(count):
    return [((i * 53) % 256, (i * 97 + 40) % 256, (255 - i * 31) % 256) for i in range(count)]


def uncompressed_fixtures():
    picture = rgb_picture(7, 5)
    top_first = [[picture.getpixel((x, y)) for x in range(7)] for y in range(5)]
    as_bgr = [[b | g << 8 | r << 16 for (r, g, b) in row] for row in top_first]
    save_built('hand_topdown_rgb24.bmp', build_bmp(7, -5, 24, pack_rows(as_bgr, 7, 24)), picture)

    table = colour_table(5)
    indexes = index_rows(6, 4, 5)
    save_built('hand_topdown_pal8.bmp',
               build_bmp(6, -4, 8, pack_rows(indexes, 6, 8), table=table, clr_used=5),
               paletted_picture(indexes, table))
    save_built('hand_clrused5_pal8.bmp',
               build_bmp(6, 4, 8, pack_rows(indexes[::-1], 6, 8), table=table, clr_used=5),
               paletted_picture(indexes, table))
    table3 = colour_table(3)
    indexes3 = index_rows(9, 3, 3)
    save_built('hand_clrused3_pal4.bmp',
               build_bmp(9, 3, 4, pack_rows(indexes3[::-1], 9, 4), table=table3, clr_used=3),
               paletted_picture(indexes3, table3))


def bitfield_picture(width, height, layout):
    """The picture a bit-field layout can hold exactly: every component takes
    one of its values, widened by repeating its bits. layout: (mask, shift,
    bits) for red, green, blue and alpha (None when absent)."""
    def widen(value, bits):
        if bits >= 8:
            return value >> (bits - 8)
        wide = value << (8 - bits)
        filled = bits
        while filled < 8:
            wide |= wide >> filled
            filled *= 2
        return wide & 0xFF

    values, colours = [], []
    for y in range(height):
        for x in range(width):
            pixel, colour = 0, []
            for i, channel in enumerate(layout):
                if channel is None:
                    colour.append(255)
                    continue
                shift, bits = channel
                v = (x * (5 + 3 * i) + y * (11 + i) + i * 7) % (1 << bits)
                pixel |= v << shift
                colour.append(widen(v, bits))
            values.append(pixel)
            colours.append(tuple(colour))
    image = Image.new('RGBA', (width, height))
    image.putdata(colours)
    rows = [values[y * width:(y + 1) * width] for y in range(height)]
    return rows[::-1], image if layout[3] else image.convert('RGB')


def masks_of(layout):
    return tuple(((1 << c[1]) - 1) << c[0] if c else 0 for c in layout)


def bitfield_fixtures():
    cases = [
        # name, bpp, header size, (red, green, blue, alpha) as (shift, bits)
        ('hand_bf_rgb565.bmp', 16, 40, ((11, 5), (5, 6), (0, 5), None)),
        ('hand_bf_rgb555.bmp', 16, 40, ((10, 5), (5, 5), (0, 5), None)),
        ('hand_v3_rgb565.bmp', 16, 56, ((11, 5), (5, 6), (0, 5), None)),
        ('hand_v3_argb4444.bmp', 16, 56, ((8, 4), (4, 4), (0, 4), (12, 4))),
        ('hand_v2_bgrx32.bmp', 32, 52, ((16, 8), (8, 8), (0, 8), None)),
        ('hand_v4_rgba32.bmp', 32, 108, ((24, 8), (16, 8), (8, 8), (0, 8))),
        ('hand_v5_bgra32.bmp', 32, 124, ((16, 8), (8, 8), (0, 8), (24, 8))),
        ('hand_bf_r10g10b10.bmp', 32, 40, ((20, 10), (10, 10), (0, 10), None)),
    ]
    for name, bpp, header_size, layout in cases:
        width = 7 if bpp == 16 else 5
        rows, picture = bitfield_picture(width, 4, layout)
        masks = masks_of(layout)
        if header_size == 40:
            data = build_bmp(width, 4, bpp, pack_rows(rows, width, bpp), compression=3, trailing_masks=masks[:3])
        else:
            data = build_bmp(width, 4, bpp, pack_rows(rows, width, bpp), compression=3, header_size=header_size,
                             masks=masks)
        save_built(name, data, picture, tolerance=15 if layout[0][1] == 4 else 1)


def rle_encode(rows, nibbles):
    """Encoded runs for repeats, literal runs for the rest; a row ends with an
    end-of-line, the picture with an end-of-bitmap."""
    data = b''
    for row in rows:
        x = 0
        while x < len(row):
            run = 1
            if nibbles:
                while x + run < len(row) and run < 255 and row[x + run] == row[x + run % 2]:
                    run += 1
            else:
                while x + run < len(row) and run < 255 and row[x + run] == row[x]:
                    run += 1
            if run >= 3 or len(row) - x < 3:
                value = (row[x] << 4 | row[x + 1 if run > 1 else x]) if nibbles else row[x]
                data += bytes((run, value))
                x += run
                continue
            literal = row[x:x + min(len(row) - x, 3 + (x % 5))]
            if nibbles:
                packed = bytes((literal[i] << 4 | (literal[i + 1] if i + 1 < len(literal) else 0))
                               for i in range(0, len(literal), 2))
            else:
                packed = bytes(literal)
            data += bytes((0, len(literal))) + packed + b'\0' * (len(packed) % 2)
            x += len(literal)
        data += b'\0\0'
    return data + b'\0\1'


def rle_fixtures():
    for name, bpp, width, height, count in (('hand_rle4.bmp', 4, 13, 6, 9), ('hand_rle8_odd.bmp', 8, 11, 5, 40)):
        table = colour_table(count)
        indexes = [[(x // 3 + y) % count if x < 7 else (x * y + x) % count for x in range(width)] for y in range(height)]
        compression = 2 if bpp == 4 else 1
        data = rle_encode(indexes[::-1], bpp == 4)
        save_built(name, build_bmp(width, height, bpp, data, compression=compression, table=table, clr_used=count),
                   paletted_picture(indexes, table), imagemagick_decode)

    # A delta jump and short rows: the pixels skipped keep index 0.
    table = colour_table(4)
    width, height = 8, 4
    indexes = [[0] * width for _ in range(height)]
    stored = (b'\x03\x01' + b'\x00\x02\x02\x01'   # row 0 (bottom): 3 × 1, then 2 right and 1 up
              + b'\x02\x02' + b'\x00\x00'         # row 1: from x 5, 2 × 2, end of line
              + b'\x00\x03\x03\x02\x01\x00' + b'\x00\x00'  # row 2: literal 3, 2, 1, end of line
              + b'\x08\x03' + b'\x00\x01')        # row 3: 8 × 3, end of bitmap
    indexes[3][0:3] = [1, 1, 1]
    indexes[2][5:7] = [2, 2]
    indexes[1][0:3] = [3, 2, 1]
    indexes[0] = [3] * width
    save_built('hand_rle8_delta.bmp', build_bmp(width, height, 8, stored, compression=1, table=table, clr_used=4),
               paletted_picture(indexes, table), imagemagick_decode)


def os2_v2_fixture():
    table = colour_table(16)
    indexes = index_rows(5, 3, 16)
    data = build_bmp(5, 3, 4, pack_rows(indexes[::-1], 5, 4), table=table, header_size=64)
    save_built('hand_os2v2_pal4.bmp', data, paletted_picture(indexes, table))


def main():
    os.makedirs(OUT, exist_ok=True)
    imagemagick_fixtures()
    netpbm_fixtures()
    pillow_fixtures()
    uncompressed_fixtures()
    bitfield_fixtures()
    rle_fixtures()
    os2_v2_fixture()
    for source in ('src_rgb.ppm', 'src_rgba.png', 'src_q1.ppm', 'src_q4.ppm', 'src_q8.ppm'):
        os.remove(path(source))


main()
