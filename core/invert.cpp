// InvertBitmap by format: pixel bits for 1 bit, the palette for 4 and 8 bits
// (indexes kept), the bytes of a clipped rectangle for 24 bits.
#include "core/invert.h"

#include <algorithm>
#include <vector>

#include "core/row_pixel_bytes.h"

namespace pk {
namespace {

void InvertBits(TBitmap& Bitmap) {
  const int64_t bytes = RowPixelBytes(Bitmap.Width(), Bitmap.GetPixelFormat());
  for (int y = 0; y < Bitmap.Height(); ++y) {
    uint8_t* row = Bitmap.ScanLine(y);
    for (int64_t i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(~row[i]);
  }
}

// SetColorTable keeps the pixel indexes, so each pixel shows the complement of
// its old colour.
void InvertPalette(TBitmap& Bitmap) {
  std::vector<TColor> table(static_cast<size_t>(PaletteCapacity(Bitmap.GetPixelFormat())));
  for (size_t i = 0; i < table.size(); ++i) table[i] = ~Bitmap.ColorTableEntry(static_cast<int>(i)) & 0xFFFFFF;
  Bitmap.SetColorTable(table);
}

void InvertRectangle(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2) {
  const int64_t left = std::max(X1, 0);
  const int64_t right = std::min(X2, Bitmap.Width() - 1);
  const int top = std::max(Y1, 0);
  const int bottom = std::min(Y2, Bitmap.Height() - 1);
  if (left > right) return;
  for (int y = top; y <= bottom; ++y) {
    uint8_t* row = Bitmap.ScanLine(y);
    for (int64_t i = 3 * left; i < 3 * (right + 1); ++i) row[i] = static_cast<uint8_t>(255 - row[i]);
  }
}

}  // namespace

void InvertBitmap(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, bool UseRect) {
  switch (Bitmap.GetPixelFormat()) {
    case PixelFormat::pf1bit: InvertBits(Bitmap); break;
    case PixelFormat::pf4bit:
    case PixelFormat::pf8bit: InvertPalette(Bitmap); break;
    case PixelFormat::pf24bit:
      if (UseRect)
        InvertRectangle(Bitmap, X1, Y1, X2, Y2);
      else
        InvertRectangle(Bitmap, 0, 0, Bitmap.Width() - 1, Bitmap.Height() - 1);
      break;
    default: break;
  }
}

}  // namespace pk
