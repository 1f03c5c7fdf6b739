// JPEG decoding and encoding over the libjpeg binding, as the image classes
// need them: the header facts without decoding, a decode into a bitmap with
// the library's output options, and an encode of a bitmap into JPEG bytes.
//
// Decoded bitmaps follow the platform's row order: 24-bit rows are blue,
// green, red (libjpeg gives red first, and we swap every row ourselves, RGB
// colour-space files and YCbCr ones alike), grey output is 8-bit with a
// palette of greys, quantised output is 8-bit with the library's colour map,
// and CMYK and YCCK files always come out 24-bit through CMYKToRGB.
//
// Declared dimensions are untrusted: the declared and the output size are
// checked against the decode limits before the library allocates its buffers
// or we allocate the pixels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/bitmap.h"
#include "platform/decode_limits.h"

namespace pk {

enum class JpegColourModel { grey, rgb, ycbcr, cmyk, ycck, unknown };

struct JpegHeader {
  int width = 0;
  int height = 0;
  int components = 0;  // of the frame header
  JpegColourModel colour_model = JpegColourModel::unknown;
  bool progressive = false;  // the file has several scans
  // The JFIF APP0 density, when a JFIF marker was seen.
  bool has_jfif = false;
  int density_unit = 0;
  int x_density = 0;
  int y_density = 0;
};

// Reads the markers up to the first scan; EJPEG when libjpeg refuses them.
JpegHeader ReadJpegHeader(std::span<const uint8_t> bytes);

enum class JpegDct { integer_slow, integer_fast, floating };
enum class JpegDither { none, ordered, floyd_steinberg };

struct JpegDecodeOptions {
  int scale_denominator = 1;  // 1, 2, 4 or 8
  JpegDct dct = JpegDct::integer_slow;
  bool block_smoothing = true;
  bool grey_output = false;
  // 0: no quantising; else the number of colours of an 8-bit output.
  int quantise_colours = 0;
  bool two_pass_quantise = true;
  JpegDither dither = JpegDither::floyd_steinberg;
};

// The output size at the options' scale, computed by the library without
// decoding.
struct JpegSize {
  int width = 0;
  int height = 0;
};
JpegSize JpegOutputSize(std::span<const uint8_t> bytes, const JpegDecodeOptions& options);

// Decodes into out (replaced only when the decode succeeds) and returns the
// header. EJPEG for data the library refuses, EOutOfResources for a picture
// above the limits, std::bad_alloc when memory runs out.
JpegHeader DecodeJpeg(std::span<const uint8_t> bytes, const JpegDecodeOptions& options, const TDecodeLimits& limits,
                      TBitmap& out);

struct JpegEncodeOptions {
  int quality = 90;  // 1..100
  bool force_baseline = false;
  JpegDct dct = JpegDct::integer_slow;
  // Grey output: from an 8-bit source whose indexes are its grey levels, else
  // by the library's conversion of the colours.
  bool grey = false;
  bool progressive = false;
  int density_unit = 0;
  int x_density = 1;
  int y_density = 1;
};

// Encodes a non-empty bitmap of any format (taken as 24-bit, or as grey
// levels when options.grey and the bitmap is 8-bit).
std::vector<uint8_t> EncodeJpeg(const TBitmap& source, const JpegEncodeOptions& options);

}  // namespace pk
