// Flips move whole rows (top to bottom) or mirror each row in place (left to
// right), the paletted formats through a row of indexes.
#include "core/flip.h"

#include <algorithm>
#include <vector>

#include "core/row_pixel_bytes.h"
#include "platform/pixel_rows.h"

namespace pk {

void FlipTopToBottom(TBitmap& Bitmap) {
  const auto bytes = static_cast<size_t>(RowPixelBytes(Bitmap.Width(), Bitmap.GetPixelFormat()));
  if (bytes == 0) return;
  for (int top = 0, bottom = Bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(Bitmap.ScanLine(top), Bitmap.ScanLine(top) + bytes, Bitmap.ScanLine(bottom));
}

void FlipLeftToRight(TBitmap& Bitmap) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  const int width = Bitmap.Width();
  if (RowPixelBytes(width, format) == 0) return;
  if (IsPaletted(format)) {
    std::vector<uint8_t> indexes(static_cast<size_t>(width));
    for (int y = 0; y < Bitmap.Height(); ++y) {
      uint8_t* row = Bitmap.ScanLine(y);
      ReadIndexes(row, format, 0, width, indexes.data());
      std::reverse(indexes.begin(), indexes.end());
      WriteIndexes(indexes.data(), format, 0, width, row);
    }
    return;
  }
  const size_t bytes = static_cast<size_t>(BitsPerPixel(format) / 8);
  for (int y = 0; y < Bitmap.Height(); ++y) {
    uint8_t* row = Bitmap.ScanLine(y);
    for (size_t left = 0, right = width - 1; left < right; ++left, --right)
      std::swap_ranges(row + bytes * left, row + bytes * (left + 1), row + bytes * right);
  }
}

}  // namespace pk
