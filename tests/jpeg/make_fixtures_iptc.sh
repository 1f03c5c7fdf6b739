#!/usr/bin/env bash
# IPTC fixtures from independent writers: a small JPEG from Pillow (the base
# our own APP13 segments are spliced into) and a copy that exiftool tags with
# record-2 datasets behind an envelope record of odd length, so the record-2
# datasets start at an odd offset of the resource data.
#
# Usage: make_fixtures_iptc.sh <output folder>
set -euo pipefail
out=$1

missing() {
  if [ "${CI:-}" = true ]; then
    echo "make_fixtures_iptc: $1 is missing" >&2
    exit 1
  fi
  echo "make_fixtures_iptc: $1 is missing, IPTC oracle fixtures skipped" >&2
  exit 0
}

/usr/bin/python3 -c 'import PIL' 2>/dev/null || missing "Pillow"
/usr/bin/python3 - "$out/base.jpg" <<'PY'
import sys
from PIL import Image
Image.new("RGB", (8, 8), (200, 120, 40)).save(sys.argv[1], quality=90)
PY

command -v exiftool >/dev/null || missing "exiftool"
# 1:05 Destination of 7 bytes makes the envelope record odd in length.
exiftool -q -o "$out/exiftool_iptc.jpg" -charset iptc=Latin \
  -IPTC:Destination=ABCDEFG \
  -IPTC:Caption-Abstract='Caption from exiftool, café' \
  -IPTC:ObjectName='Object name' \
  -IPTC:By-line='Photographer' \
  -IPTC:City='Lyon' \
  -IPTC:Keywords=one -IPTC:Keywords=two -IPTC:Keywords=three \
  -IPTC:DateCreated=2023:07:04 \
  -IPTC:TimeCreated=14:30:00+01:00 \
  -IPTC:Urgency=3 \
  -IPTC:LocalCaption='Local' \
  "$out/base.jpg"
