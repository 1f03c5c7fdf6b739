// Flips move whole rows (top to bottom) or mirror each row through one scratch
// row (left to right), bit by bit or nibble by nibble for the packed formats.
#include "core/flip.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/bit_helpers.h"
#include "core/row_pixel_bytes.h"

namespace pk {
namespace {

// Writes the mirror of the pixels in `from` to `to` (rows of equal width).
void MirrorRow(const uint8_t* from, uint8_t* to, int width, PixelFormat format) {
  switch (format) {
    case PixelFormat::pf1bit:
      for (int x = 0, from_x = width - 1; x < width; ++x, --from_x)
        SetPixelBit(to[x >> 3], BitPosition(x), GetPixelBit(from[from_x >> 3], BitPosition(from_x)));
      break;
    case PixelFormat::pf4bit:
      for (int x = 0, from_x = width - 1; x < width; ++x, --from_x)
        SetPixelNibble(to[x >> 1], x & 1, GetPixelNibble(from[from_x >> 1], from_x & 1));
      break;
    case PixelFormat::pf8bit: std::reverse_copy(from, from + width, to); break;
    case PixelFormat::pf24bit:
      for (int x = 0; x < width; ++x) std::memcpy(to + 3 * x, from + 3 * (width - 1 - x), 3);
      break;
    default: break;
  }
}

}  // namespace

void FlipTopToBottom(TBitmap& Bitmap) {
  const auto bytes = static_cast<size_t>(RowPixelBytes(Bitmap.Width(), Bitmap.GetPixelFormat()));
  if (bytes == 0) return;
  for (int top = 0, bottom = Bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(Bitmap.ScanLine(top), Bitmap.ScanLine(top) + bytes, Bitmap.ScanLine(bottom));
}

void FlipLeftToRight(TBitmap& Bitmap) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  const auto bytes = static_cast<size_t>(RowPixelBytes(Bitmap.Width(), format));
  if (bytes == 0) return;
  std::vector<uint8_t> original(bytes);
  for (int y = 0; y < Bitmap.Height(); ++y) {
    uint8_t* row = Bitmap.ScanLine(y);
    std::memcpy(original.data(), row, bytes);
    MirrorRow(original.data(), row, Bitmap.Width(), format);
  }
}

}  // namespace pk
