// The bytes of a bitmap row that hold pixels, padding excluded: the span the
// pixel-exact procedures move, flip and invert. Formats those procedures leave
// alone have none.
#pragma once

#include <cstdint>

#include "platform/pixel_format.h"

namespace pk {

// ceil(width/8), ceil(width/2), width or 3 × width for 1, 4, 8 and 24 bits per
// pixel; 0 for the 16- and 32-bit formats.
constexpr int64_t RowPixelBytes(int64_t width, PixelFormat format) {
  const int bits = BitsPerPixel(format);
  return bits == 16 || bits == 32 ? 0 : (width * bits + 7) / 8;
}

// The bit position (1 to 8, most significant first) of pixel x of a 1-bit row
// within its byte x div 8.
constexpr uint8_t BitPosition(int x) { return static_cast<uint8_t>((x & 7) + 1); }

}  // namespace pk
