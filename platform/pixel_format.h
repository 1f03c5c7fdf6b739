// Pixel formats of the platform bitmap and the row layout they imply.
#pragma once

#include <cstdint>

namespace pk {

// Row layouts (top row first, each row padded to 4 bytes):
//   pf1bit  8 pixels a byte, leftmost pixel in the most significant bit
//   pf4bit  2 pixels a byte, left pixel in the high nibble
//   pf8bit  1 palette index a byte
//   pf16bit 5-5-5 little-endian words, red in bits 10-14, blue in bits 0-4
//   pf24bit blue, green, red
//   pf32bit blue, green, red, alpha
enum class PixelFormat { pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit };

constexpr int BitsPerPixel(PixelFormat f) {
  switch (f) {
    case PixelFormat::pf1bit: return 1;
    case PixelFormat::pf4bit: return 4;
    case PixelFormat::pf8bit: return 8;
    case PixelFormat::pf16bit: return 16;
    case PixelFormat::pf24bit: return 24;
    case PixelFormat::pf32bit: return 32;
  }
  return 24;
}

// The format of a colour depth as clients give it: 1, 4 or 8 bits, and 24
// bits for every other value.
constexpr PixelFormat FormatOfDepth(int bits) {
  switch (bits) {
    case 1: return PixelFormat::pf1bit;
    case 4: return PixelFormat::pf4bit;
    case 8: return PixelFormat::pf8bit;
    default: return PixelFormat::pf24bit;
  }
}

constexpr bool IsPaletted(PixelFormat f) {
  return f == PixelFormat::pf1bit || f == PixelFormat::pf4bit || f == PixelFormat::pf8bit;
}

// 2, 16 or 256 for the paletted formats, 0 for the others.
constexpr int PaletteCapacity(PixelFormat f) { return IsPaletted(f) ? 1 << BitsPerPixel(f) : 0; }

// Bytes of one padded row: the bits rounded up to a multiple of 32.
constexpr int64_t RowBytes(int64_t width, PixelFormat f) {
  return ((width * BitsPerPixel(f) + 31) / 32) * 4;
}

}  // namespace pk
