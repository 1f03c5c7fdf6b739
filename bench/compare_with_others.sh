#!/usr/bin/env bash
# ColorDepth := 8 and Resize to 800 wide through the object, next to
# ImageMagick (-colors 256 -dither None; -resize 800x with its Triangle
# filter), one thread each, and Pillow (quantize(256, FASTOCTREE); resize with
# BILINEAR) on the same 12-megapixel photograph: one of the libjpeg-turbo test
# photographs enlarged to 4000 x 3000 with noise on top. Times exclude reading
# the file (ImageMagick's read is timed alone and subtracted); the peak memory
# is each whole process's.
#   bench/compare_with_others.sh <build dir holding object_bench>
set -euo pipefail
build=${1:?build dir}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deps=${PIXMARL_DEPS:-$HOME/.cache/pixmarlkit}
source_photo=$(ls "$deps"/src/libjpeg-turbo-*/testimages/nightshot_iso_100.bmp | head -n 1)
photo=$work/photo.bmp
convert "$source_photo" -resize 4000x3000! -attenuate 0.5 +noise Gaussian -type TrueColor "BMP3:$photo"

peak() {  # command... -> prints "<output> | peak <MiB>"
  local out
  out=$( { /usr/bin/time -f 'peak %M' "$@" 2>&1 1>&3 3>&-; } 3>&1 )
  echo "$out" | tr '\n' ' ' | sed -E 's/peak ([0-9]+)/| peak \1 KiB/'
  echo
}

im_time() {  # imagemagick operation... -> ms of the operation alone
  local t0 t1 t2
  t0=$(date +%s%N)
  convert -limit thread 1 "$photo" null:
  t1=$(date +%s%N)
  convert -limit thread 1 "$photo" "$@" "$work/out.bmp"
  t2=$(date +%s%N)
  echo "$(( (t2 - t1 - (t1 - t0)) / 1000000 )) ms"
}

echo "== ColorDepth := 8"
peak "$build/bench/object_bench" "$photo" colordepth
echo "ImageMagick: $(im_time -dither None -colors 256)"
echo -n "ImageMagick process: "; peak convert -limit thread 1 "$photo" -dither None -colors 256 "$work/out.bmp"
peak /usr/bin/python3 - "$photo" <<'PY'
import sys, time
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB"); im.load()
t = time.perf_counter(); im.quantize(256, method=Image.Quantize.FASTOCTREE, dither=Image.Dither.NONE)
print("Pillow: %.0f ms" % ((time.perf_counter() - t) * 1000))
PY
echo "== Resize to 800 wide"
peak "$build/bench/object_bench" "$photo" resize
echo "ImageMagick: $(im_time -filter Triangle -resize 800x)"
echo -n "ImageMagick process: "; peak convert -limit thread 1 "$photo" -filter Triangle -resize 800x "$work/out.bmp"
peak /usr/bin/python3 - "$photo" <<'PY'
import sys, time
from PIL import Image
im = Image.open(sys.argv[1]).convert("RGB"); im.load()
t = time.perf_counter(); im.resize((800, 600), Image.Resampling.BILINEAR, reducing_gap=None)
print("Pillow: %.0f ms" % ((time.perf_counter() - t) * 1000))
PY
