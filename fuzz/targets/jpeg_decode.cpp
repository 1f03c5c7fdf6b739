// The JPEG decoder with every output option the image classes set: the first
// two bytes choose the scale, DCT, smoothing, grey output and quantising, the
// rest is the file. A decoded picture has the scaled size of its header, the
// pixel format the options and the file's colours call for, and a quantised
// picture uses only entries of its colour table.
#include <algorithm>

#include "fuzz/fuzz_limits.h"
#include "fuzz/fuzz_target.h"
#include "jpeg/jpeg_codec.h"
#include "platform/exceptions.h"

namespace pk::fuzz {
namespace {

JpegDecodeOptions OptionsFrom(uint8_t flags, uint8_t colours) {
  JpegDecodeOptions options;
  options.scale_denominator = 1 << (flags & 3);
  options.dct = static_cast<JpegDct>((flags >> 2) % 3);
  options.block_smoothing = flags & 0x10;
  options.grey_output = flags & 0x20;
  options.quantise_colours = (flags & 0x40) ? colours : 0;
  options.two_pass_quantise = flags & 0x80;
  options.dither = static_cast<JpegDither>(colours % 3);
  return options;
}

PixelFormat ExpectedFormat(const JpegHeader& header, const JpegDecodeOptions& options) {
  if (header.colour_model == JpegColourModel::cmyk || header.colour_model == JpegColourModel::ycck)
    return PixelFormat::pf24bit;
  const bool paletted =
      options.grey_output || options.quantise_colours > 0 || header.colour_model == JpegColourModel::grey;
  return paletted ? PixelFormat::pf8bit : PixelFormat::pf24bit;
}

bool IndexesWithinTable(const TBitmap& bitmap) {
  const size_t entries = bitmap.ColorTable().size();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    if (std::any_of(row, row + bitmap.Width(), [&](uint8_t index) { return index >= entries; })) return false;
  }
  return true;
}

}  // namespace

void FuzzJpegDecode(std::span<const uint8_t> data) {
  const uint8_t flags = TakeU8(data);
  const JpegDecodeOptions options = OptionsFrom(flags, TakeU8(data));
  TBitmap bitmap;
  JpegHeader header;
  try {
    header = DecodeJpeg(data, options, FuzzDecodeLimits(), bitmap);
  } catch (const EInvalidGraphic&) {
    return;
  } catch (const EOutOfResources&) {
    return;
  }
  const int scale = options.scale_denominator;
  FuzzRequire(bitmap.Width() == (header.width + scale - 1) / scale &&
                  bitmap.Height() == (header.height + scale - 1) / scale,
              "a decoded JPEG has the scaled size of its header");
  FuzzRequire(bitmap.GetPixelFormat() == ExpectedFormat(header, options),
              "a decoded JPEG has the pixel format its options and colours call for");
  if (bitmap.GetPixelFormat() != PixelFormat::pf8bit) return;
  const size_t most = options.quantise_colours > 0 ? static_cast<size_t>(options.quantise_colours) : 256;
  FuzzRequire(!bitmap.ColorTable().empty() && bitmap.ColorTable().size() <= most,
              "an 8-bit JPEG has a colour table of at most the colours asked for");
  FuzzRequire(IndexesWithinTable(bitmap), "an 8-bit JPEG uses only entries of its colour table");
}

}  // namespace pk::fuzz
