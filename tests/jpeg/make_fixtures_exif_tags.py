#!/usr/bin/python3
"""Independent lists of EXIF tags, to check the component's tag table against:

- exiftool's own tag table (exiftool -listx), as exiftool names and types each
  tag of IFD0, the EXIF directory, the GPS directory and IFD1;
- JPEGs made by ImageMagick into which exiv2 writes every one of those tags by
  its number, each with the type exiv2 gives it, read back with exiv2.

Writes exif_tags.txt, one tag a line: tool, directory (IFD0, ExifIFD, GPS or
IFD1), code as 0xNNNN, the tool's name and the TIFF type number (0 for a tag
exiftool reads but neither writes nor types). Tags a tool does not know are not
listed for it. Without the tools nothing is written;
under CI that is a failure.

Usage: make_fixtures_exif_tags.py <output folder>
"""
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

EXIFTOOL_TYPES = {"int8u": 1, "string": 2, "int16u": 3, "int32u": 4, "rational64u": 5,
                  "int8s": 6, "undef": 7, "int16s": 8, "int32s": 9, "rational64s": 10,
                  "float": 11, "double": 12}
EXIV2_TYPES = {"Byte": 1, "Ascii": 2, "Short": 3, "Long": 4, "Rational": 5, "SByte": 6,
               "Undefined": 7, "SShort": 8, "SLong": 9, "SRational": 10, "Float": 11,
               "Double": 12}
# Directory names as exiftool groups them, and exiv2's group for each.
EXIV2_GROUPS = {"IFD0": "Image", "ExifIFD": "Photo", "GPS": "GPSInfo", "IFD1": "Thumbnail"}
DIRECTORY_OF_GROUP = {group: directory for directory, group in EXIV2_GROUPS.items()}
TOOLS = ("exiftool", "exiv2", "convert")
BATCH = 100


def exiftool_tags():
    """(directory, code) -> (name, type) from exiftool's EXIF and GPS tables."""
    listing = subprocess.run(["exiftool", "-listx", "-EXIF:All"], check=True,
                             capture_output=True).stdout
    tags = {}
    for table in ElementTree.fromstring(listing).iter("table"):
        if table.get("name") not in ("Exif::Main", "GPS::Main"):
            continue
        for tag in table.iter("tag"):
            directory = tag.get("g1", table.get("g1"))
            kind = EXIFTOOL_TYPES.get(tag.get("type"), 0)
            if directory in EXIV2_GROUPS and tag.get("id").isdigit():
                tags.setdefault((directory, int(tag.get("id"))), (tag.get("name"), kind))
    return tags


def exiv2_modify(path, keys, value):
    """Sets each key to value; returns the keys whose type refused the value."""
    commands = path + ".cmd"
    with open(commands, "w") as f:
        f.writelines("set %s %s\n" % (key, value) for key in keys)
    result = subprocess.run(["exiv2", "-m", commands, path], capture_output=True, text=True)
    os.remove(commands)
    return re.findall(r"(Exif\.\w+\.0x[0-9a-f]+): Failed to read", result.stderr)


def exiv2_tags(base, codes):
    """Writes every (directory, code) with exiv2 into copies of the JPEG, a
    batch to a copy (exiv2 reads no directory of more than 256 entries), and
    reads them back."""
    keys = ["Exif.%s.0x%04x" % (EXIV2_GROUPS[d], code) for d, code in sorted(codes)]
    tags = {}
    for start in range(0, len(keys), BATCH):
        path = "%s_%d.jpg" % (os.path.splitext(base)[0], start // BATCH)
        shutil.copyfile(base, path)
        refused = exiv2_modify(path, keys[start:start + BATCH], "1")
        exiv2_modify(path, refused, "1/1")
        listing = subprocess.run(["exiv2", "-pv", "-u", path], capture_output=True, text=True).stdout
        for line in listing.splitlines():
            fields = line.split()
            if len(fields) < 4 or fields[1] not in DIRECTORY_OF_GROUP or fields[2].startswith("0x"):
                continue
            tags[(DIRECTORY_OF_GROUP[fields[1]], int(fields[0], 16))] = (fields[2], EXIV2_TYPES[fields[3]])
    return tags


def main(out):
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        message = "EXIF tag lists not written: missing %s" % ", ".join(missing)
        if os.environ.get("CI") == "true":
            sys.exit(message)
        print(message)
        return
    by_exiftool = exiftool_tags()
    jpeg = os.path.join(out, "exif_tags.jpg")
    subprocess.run(["convert", "-size", "8x8", "xc:gray", jpeg], check=True)
    by_exiv2 = exiv2_tags(jpeg, by_exiftool.keys())
    with open(os.path.join(out, "exif_tags.txt"), "w") as f:
        for tool, tags in (("exiftool", by_exiftool), ("exiv2", by_exiv2)):
            for (directory, code), (name, kind) in sorted(tags.items()):
                f.write("%s %s 0x%04X %s %d\n" % (tool, directory, code, name, kind))


if __name__ == "__main__":
    main(sys.argv[1])
