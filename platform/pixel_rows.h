// Rows of any pixel format through two plain forms: one palette index a byte
// (the paletted formats) and blue, green, red triples (every format). The
// converter for a format is picked once, from a table described by the
// format's depth, and then runs over a whole span of a row, so no procedure
// switches on the format for every pixel.
//
// Spans are given as a first pixel x and a count; writes touch only the bits
// of the pixels in the span (a row's neighbouring pixels and its padding stay
// as they were).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/color.h"
#include "platform/palette.h"
#include "platform/pixel_format.h"

namespace pk {

class TBitmap;

// Pixels [x, x + count) of a 1-, 4- or 8-bit row as indexes, and back.
void ReadIndexes(const uint8_t* row, PixelFormat format, int x, int count, uint8_t* indexes);
void WriteIndexes(const uint8_t* indexes, PixelFormat format, int x, int count, uint8_t* row);

// Pixels [x, x + count) of a 16-, 24- or 32-bit row as triples, and back. A
// 16-bit pixel widens each 5-bit channel by repeating its top bits and keeps
// the top 5 bits of each channel written; a 32-bit pixel keeps its fourth byte.
void ReadDirectBgr(const uint8_t* row, PixelFormat format, int x, int count, uint8_t* bgr);
void WriteDirectBgr(const uint8_t* bgr, PixelFormat format, int x, int count, uint8_t* row);

// Copies count pixels from column from_x of one row to column to_x of another
// row of the same format, bit for bit.
void CopyPixels(const uint8_t* from, int from_x, uint8_t* to, int to_x, int count, PixelFormat format);

// Reads a bitmap's rows as triples: paletted pixels through the colour table
// (black past the entries held), direct-colour pixels as stored.
class BgrReader {
 public:
  BgrReader(PixelFormat format, std::span<const TColor> table);
  explicit BgrReader(const TBitmap& bitmap);

  void Read(const uint8_t* row, int x, int count, uint8_t* bgr) const;

 private:
  PixelFormat format_;
  std::array<uint8_t, 3 * 256> table_{};  // blue, green, red of every index
};

// Writes triples into a bitmap's rows: direct-colour formats store them, the
// paletted ones the nearest entry of the colour table.
class BgrWriter {
 public:
  BgrWriter(PixelFormat format, std::span<const TColor> table);
  explicit BgrWriter(const TBitmap& bitmap);

  void Write(const uint8_t* bgr, int x, int count, uint8_t* row);

 private:
  PixelFormat format_;
  ColorMatcher matcher_;
};

}  // namespace pk
