#!/usr/bin/python3
"""Writes the seed inputs of every fuzz target into <out>/<target>/.

usage: make_seeds.py OUT FIXTURES

Image targets start from the project's generated image fixtures (FIXTURES, the
folder tools/make-fixtures fills), small pictures that ImageMagick and Pillow
write here, and headers built byte by byte for the variants no tool writes.
JPEG targets get files Pillow and cjpeg write in their variants (progressive,
grey, CMYK, restart intervals, arithmetic coding). The text targets get texts
of the forms their parsers read; the targets whose first bytes are parameters
(packbits, stream_text, exif_value, jpeg_decode) get those bytes in front.
"""
import base64
import glob
import io
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image

OUT, FIXTURES = sys.argv[1], sys.argv[2]
MAX_SEED = 16 * 1024  # small seeds keep the mutations fast


def write(target, name, data):
    folder = os.path.join(OUT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def utf16(text):
    return text.encode('utf-16-le', 'surrogatepass')


# ---- BMP ------------------------------------------------------------------

def pillow_bmps():
    for mode in ('1', 'L', 'P', 'RGB', 'RGBA'):
        image = Image.new(mode, (5, 3))
        image.putdata([(x * 3 + y * 50) % 256 if mode in ('L', 'P') else
                       (x + y) % 2 if mode == '1' else
                       ((x * 60) % 256, (y * 90) % 256, 77, 200)[:len(mode)]
                       for y in range(3) for x in range(5)])
        buffer = io.BytesIO()
        image.save(buffer, 'BMP')
        yield f'pillow_{mode}.bmp', buffer.getvalue()


def imagemagick_bmps():
    variants = {
        'im_rle8.bmp': ['-colors', '16', '-type', 'Palette', '-compress', 'RLE', 'BMP3:{}'],
        'im_rle4.bmp': ['-colors', '8', '-type', 'Palette', '-depth', '4', '-compress', 'RLE', 'BMP3:{}'],
        'im_v2.bmp': ['BMP2:{}'],
        'im_v5_alpha.bmp': ['-alpha', 'on', 'BMP:{}'],
        'im_mono.bmp': ['-monochrome', 'BMP3:{}'],
    }
    with tempfile.TemporaryDirectory() as tmp:
        for name, options in variants.items():
            target = os.path.join(tmp, name)
            command = ['convert', '-size', '7x5', 'gradient:red-blue'] + options[:-1] + [options[-1].format(target)]
            subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
            with open(target, 'rb') as f:
                yield name, f.read()


def built_bmp(header_size, width, height, bits, compression=0, masks=b'', palette=b'', pixels=b''):
    info = struct.pack('<IiiHHIIiiII', header_size, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, len(palette) // 4, 0)
    info = (info + b'\0' * header_size)[:header_size] if header_size >= 40 else \
        struct.pack('<IHHHH', 12, width, height, 1, bits)
    offset = 14 + len(info) + len(masks) + len(palette)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + info + masks + palette + pixels


def built_bmps():
    grey = b''.join(bytes((i, i, i, 0)) for i in range(0, 256, 17))
    yield 'core_header.bmp', built_bmp(12, 2, 2, 24, pixels=b'\x10\x20\x30' * 2 + b'\0\0' + b'\x40\x50\x60' * 2 + b'\0\0')
    yield 'top_down_8.bmp', built_bmp(40, 3, -2, 8, palette=grey, pixels=bytes([1, 2, 3, 0, 4, 5, 6, 0]))
    yield 'bitfields_565.bmp', built_bmp(40, 2, 1, 16, compression=3, masks=struct.pack('<III', 0xF800, 0x7E0, 0x1F),
                                         pixels=b'\x1f\x00\xe0\x07')
    yield 'bitfields_32.bmp', built_bmp(40, 1, 1, 32, compression=3,
                                        masks=struct.pack('<III', 0xFF0000, 0xFF00, 0xFF), pixels=b'\1\2\3\4')
    yield 'rle8_delta.bmp', built_bmp(40, 4, 3, 8, compression=1, palette=grey,
                                      pixels=bytes([2, 5, 0, 2, 1, 1, 0, 3, 1, 2, 3, 0, 0, 0, 1]))
    yield 'rle4.bmp', built_bmp(40, 5, 1, 4, compression=2, palette=grey, pixels=bytes([5, 0x12, 0, 1]))
    # A header claiming a picture far larger than its data.
    yield 'huge_claim.bmp', built_bmp(40, 60000, 60000, 24)


def small_fixtures(pattern):
    for path in sorted(glob.glob(os.path.join(FIXTURES, '**', pattern), recursive=True)):
        if os.path.getsize(path) <= MAX_SEED:
            with open(path, 'rb') as f:
                yield 'fixture_' + os.path.basename(path), f.read()


def bmp_seeds():
    yield from small_fixtures('*.bmp')
    yield from pillow_bmps()
    yield from imagemagick_bmps()
    yield from built_bmps()


# ---- JPEG -----------------------------------------------------------------

def gradient(mode, size=(24, 16)):
    image = Image.new('RGB', size)
    image.putdata([((x * 10) % 256, (y * 15) % 256, (x * y) % 256) for y in range(size[1]) for x in range(size[0])])
    return image.convert(mode)


def pillow_jpegs():
    variants = {
        'pillow_baseline.jpg': ('RGB', {'quality': 80}),
        'pillow_progressive.jpg': ('RGB', {'progressive': True}),
        'pillow_grey.jpg': ('L', {}),
        'pillow_cmyk.jpg': ('CMYK', {}),
        'pillow_dpi.jpg': ('RGB', {'dpi': (300, 150)}),
        'pillow_444.jpg': ('RGB', {'subsampling': 0}),
    }
    for name, (mode, options) in variants.items():
        buffer = io.BytesIO()
        gradient(mode).save(buffer, 'JPEG', **options)
        yield name, buffer.getvalue()


def cjpeg_jpegs():
    variants = {
        'cjpeg_restart.jpg': ['-restart', '1'],
        'cjpeg_arithmetic.jpg': ['-arithmetic'],
        'cjpeg_optimised_grey.jpg': ['-optimize', '-grayscale'],
        'cjpeg_smooth_progressive.jpg': ['-smooth', '20', '-progressive'],
    }
    buffer = io.BytesIO()
    gradient('RGB', (13, 9)).save(buffer, 'PPM')
    for name, options in variants.items():
        result = subprocess.run(['cjpeg'] + options, input=buffer.getvalue(), capture_output=True, check=True)
        yield name, result.stdout


def jpeg_seeds():
    yield from small_fixtures('*.jpg')
    yield from pillow_jpegs()
    yield from cjpeg_jpegs()


def jpeg_decode_seeds(jpegs):
    # Option bytes: full size; half size with grey output; a quarter, fast DCT,
    # quantised to 16 colours in two passes, ordered dither.
    for flags, colours in ((0, 0), (0x21, 0), (0xC6, 16)):
        for name, data in jpegs:
            yield f'{flags:02x}_{name}', bytes([flags, colours]) + data


# ---- the other parsers ----------------------------------------------------

def packbits_seeds():
    packed = [bytes([2, 1, 2, 3, 0xFE, 9]), bytes([0x80, 0, 7]), bytes([0x81, 0xAA, 127]) + bytes(range(128))]
    for i, data in enumerate(packed):
        yield f'packed_{i}', struct.pack('<I', 200) + data


def rmeta_seeds():
    def payload(order, items):
        body = b''.join(bytes([len(item) + 1]) + item for item in items) + b'\0\0'
        # The items start 17 bytes past the length field's value: right after
        # the 23-byte header for a length of 6.
        length = struct.pack('<H' if order == b'II' else '>H', 6)
        return b'RMETA\0' + order + b'\0' * 7 + length + b'\x05ASCII' + body + b'\0'
    yield 'little_endian', payload(b'II', [b'Camera model', b'Serial 1234'])
    yield 'big_endian', payload(b'MM', [b'Lens', b'\xe9t\xe9 caf\xe9'])


def stream_text_seeds():
    for i, text in enumerate([b'plain ASCII', 'caf\u00e9 \u20ac \U0001F600'.encode(), b'Latin-1 caf\xe9']):
        yield f'text_{i}', struct.pack('<i', len(text)) + text
    yield 'negative_count', struct.pack('<i', -1) + b'abc'


def text_seeds(texts):
    for i, text in enumerate(texts):
        yield f'text_{i}', utf16(text)


def exif_seeds():
    from_table = {'ImageDescription': 'A picture', 'Make': 'Maker', 'XResolution': '72/1',
                  'ExposureTime': '0.004', 'ExifVersion': '30 32 32 30', 'GPSLatitude': '51/1,30/1,1234/100',
                  'ShutterSpeedValue': '-3.5', 'ISOSpeedRatings': '100,200', 'UserComment': 'ASCII\0\0\0hello'}
    names = subprocess.run(['grep', '-o', 'u"[A-Za-z0-9]*"', os.path.join(os.path.dirname(__file__), '..', 'jpeg',
                                                                          'exif_tag_table.cpp')],
                           capture_output=True, text=True, check=True).stdout.split()
    rows = [name.strip('u"') for name in names]
    for name, value in from_table.items():
        if name in rows:
            yield f'{name}', bytes([rows.index(name)]) + utf16(value)


def iptc_datasets():
    datasets = [(5, b'Object name'), (80, b'Photographer'), (25, b'one'), (25, b'two'), (55, b'20230704'),
                (60, b'143000+0100'), (10, b'3'), (120, b'Caption, caf\xe9')]
    return bytes([0x1C, 2, 0, 0, 2, 0, 4]) + b''.join(bytes([0x1C, 2, n]) + struct.pack('>H', len(t)) + t
                                                       for n, t in datasets)


def resource(identifier, data, name=b''):
    pascal = bytes([len(name)]) + name
    pascal += b'\0' * (len(pascal) % 2)
    return b'8BIM' + struct.pack('>H', identifier) + pascal + struct.pack('>I', len(data)) + data + \
        b'\0' * (len(data) % 2)


def app13_payloads():
    """APP13 payloads: ones exiftool wrote (from the IPTC fixture) and built ones."""
    for path in sorted(glob.glob(os.path.join(FIXTURES, '**', '*.jpg'), recursive=True)):
        with open(path, 'rb') as f:
            data = f.read()
        at = 2
        while at + 4 <= len(data) and data[at] == 0xFF and data[at + 1] not in (0xDA, 0xD9):
            length = struct.unpack('>H', data[at + 2:at + 4])[0]
            if data[at + 1] == 0xED:
                yield 'exiftool_' + os.path.basename(path), data[at + 4:at + 2 + length]
            at += 2 + length
    resources = resource(0x0404, iptc_datasets()) + resource(0x040A, b'\1') + resource(0x040B, b'http://x.org/', b'url')
    yield 'built', b'Photoshop 3.0\0' + resources


def photoshop_seeds():
    for name, payload in app13_payloads():
        yield 'app13_' + name, b'\0' + payload
        if payload.startswith(b'Photoshop 3.0\0'):
            yield 'bare_' + name, b'\1' + payload[len(b'Photoshop 3.0\0'):]


def file_info_seeds():
    url = b'http://x.org/'
    header = bytes([0, 0, 1, 0, 0, 0, len(url) + 1]) + b''.join(b'\0' + bytes([c]) for c in url) + b'\0\0'
    yield 'with_url', header + iptc_datasets()
    yield 'empty', bytes(9)


def base64_seeds():
    sample = bytes(range(200))
    encoded = base64.b64encode(sample).decode()
    yield from text_seeds([
        base64.encodebytes(sample).decode().replace('\n', '\r\n'),  # 76 letters a line
        'data:image/png;base64,' + encoded,
        encoded[:-2],  # padding missing
        'QQ', 'QUI', 'QUJD', '=', 'Q\u00e9UJ\uffffD'])


def main():
    targets = {
        'bmp_decode': list(bmp_seeds()),
        'packbits': list(packbits_seeds()),
        'rmeta': list(rmeta_seeds()),
        'stream_text': list(stream_text_seeds()),
        'http_date': list(text_seeds(['Sun, 06 Nov 1994 08:49:37 GMT', 'Fri, 31 May 2024 13:05:09',
                                      'Mon, 29 Feb 2000 23:59:59 GMT', 'Tue, 01 Jan 0001 00:00:00 GMT'])),
        'colour_text': list(text_seeds(['#ff0000', '$FF0000', 'o0o0FF', '12', 'FFFFFF', '#', 'zz'])),
        'graphics_format': [(f'byte_{b:02x}', bytes([b])) for b in b'BGP\x89\xff\x00\x0a8I%'],
        'exif_value': list(exif_seeds()),
        'photoshop_resources': list(photoshop_seeds()),
        'file_info': list(file_info_seeds()),
        'base64': list(base64_seeds()),
    }
    jpegs = list(jpeg_seeds())
    targets['jpeg_markers'] = jpegs
    targets['jpeg_decode'] = list(jpeg_decode_seeds(jpegs))
    targets['bmp_probe'] = targets['bmp_decode']
    targets['object_load'] = targets['image_codecs'] = targets['bmp_decode'] + jpegs
    for target, seeds in targets.items():
        for name, data in seeds:
            write(target, name, data)


main()
