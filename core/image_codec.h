// The one interface every image format offers, whichever road an image takes:
// decode (bytes and a request with the limits record → a decoded image),
// encode (an image and options → the file's bytes) and probe (bytes → the
// picture's size, reading headers only). Formats are entries of one registry
// (formats/image_codecs.h); the automation object's channels keep their own
// rules (extensions, type names, what a load changes) as tables over it.
//
// A decoded image states only the facts its format carries: a fact left unset
// (an empty optional) is one the format says nothing about, and whoever takes
// the image keeps its own value for it. The pixels arrive in a TBitmap that
// the decoder built in place and the taker moves out, so a decoded picture is
// never copied on its way to the object.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/alpha.h"
#include "core/graphics_format.h"
#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/decode_limits.h"

namespace pk {

class TStream;

// Dots per inch, horizontal and vertical; 0 for unknown.
struct TResolution {
  int32_t x = 0;
  int32_t y = 0;
};

// A colour that is or is not there: a single transparent colour, a background.
struct TColourFact {
  bool present = false;
  TColor colour = 0;  // meaningful when present
};

struct TDecodeOptions {
  TDecodeLimits limits;
  // 1-based: the GIF frame, TIFF page or PDF image to decode.
  int32_t image_number = 1;
  // The faster, rougher decoding where the format has one (JPEG).
  bool higher_speed = false;
};

struct TDecodedImage {
  // The pixels: 1, 4, 8, 16, 24 or 32 bits per pixel, paletted formats with
  // their colour table.
  TBitmap bitmap;
  // Every format that stores a resolution (or stands for 0 without one) sets it.
  std::optional<TResolution> resolution;
  // The transparency record; null for none. A ttAlpha record's channel has the
  // bitmap's size.
  std::unique_ptr<TAlpha> alpha;
  // Whether the picture has one transparent colour, and which (GIF frames,
  // PNG files with a single transparent colour).
  std::optional<TColourFact> transparent;
  // The background colour the data names (PNG).
  std::optional<TColourFact> background;
  // Format flags: stored in grey (JPEG), progressive (JPEG), converted from
  // CMYK data (JPEG, TIFF, PSD).
  std::optional<bool> grey;
  std::optional<bool> progressive;
  bool cmyk = false;
  // The format's own compression code as its files store it (TIFF: the
  // Compression tag's value).
  std::optional<int32_t> compression;
};

struct TEncodeOptions {
  TResolution resolution;
  // JPEG quality, 0 to 255 as the format's writer takes it.
  int32_t quality = 90;
  bool grey = false;         // JPEG
  bool progressive = false;  // JPEG
  // The format's own compression code (TIFF: 1, 4 or 32773); 0 for its default.
  int32_t compression = 0;
  // The image's transparency record (PNG), or null for none.
  const TAlpha* alpha = nullptr;
  // One transparent colour (PNG, GIF).
  TColourFact transparent;
  // Alpha per palette index of a loaded PNG, or null.
  const TTransparentArray* transparent_array = nullptr;
};

// The size a header declares (for BMP top-down data the row count, positive).
struct TImageDimensions {
  uint32_t width = 0;
  uint32_t height = 0;
};

// Raise the format's error for data it cannot read (EInvalidGraphic for most)
// and EOutOfResources for a claim above the limits; the probe reads headers
// only and allocates no pixels.
using TDecodeFunction = TDecodedImage (*)(std::span<const uint8_t> bytes, const TDecodeOptions& options);
using TEncodeFunction = std::vector<uint8_t> (*)(const TBitmap& image, const TEncodeOptions& options);
using TProbeFunction = TImageDimensions (*)(std::span<const uint8_t> bytes, int32_t image_number);
// The same decoding from the stream's position and encoding to the stream's
// position, for formats that need no more of the file in memory than the
// picture itself: a file is then read straight into the picture's rows, and
// written from them straight into the file.
using TReadFunction = TDecodedImage (*)(TStream& stream, const TDecodeOptions& options);
using TWriteFunction = void (*)(const TBitmap& image, const TEncodeOptions& options, TStream& stream);

struct TImageCodec {
  TGraphicsFormat format;
  // Upper case, as messages name the format ("BMP").
  std::u16string_view name;
  // Null while the format's codec is not available.
  TDecodeFunction decode;
  TEncodeFunction encode;
  TProbeFunction probe;
  // Null where the format decodes and encodes only whole files in memory.
  TReadFunction read = nullptr;
  TWriteFunction write = nullptr;
};

// The entry of the format in codecs, or null.
const TImageCodec* FindImageCodec(std::span<const TImageCodec> codecs, TGraphicsFormat format);

}  // namespace pk
