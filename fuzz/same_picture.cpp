#include "fuzz/same_picture.h"

#include <algorithm>

namespace pk::fuzz {
namespace {

bool SameColors(const TBitmap& a, const TBitmap& b) {
  for (int i = 0; i < PaletteCapacity(a.GetPixelFormat()); ++i) {
    if (a.ColorTableEntry(i) != b.ColorTableEntry(i)) return false;
  }
  return true;
}

}  // namespace

bool SamePicture(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.GetPixelFormat() != b.GetPixelFormat()) return false;
  if (!SameColors(a, b)) return false;
  const int64_t bits = int64_t{a.Width()} * a.BitCount();
  const auto whole = static_cast<size_t>(bits / 8);
  const int spare = static_cast<int>(bits % 8);
  const auto mask = static_cast<uint8_t>(0xFF00 >> spare);
  for (int y = 0; y < a.Height(); ++y) {
    const uint8_t* ra = a.ScanLine(y);
    const uint8_t* rb = b.ScanLine(y);
    if (!std::equal(ra, ra + whole, rb)) return false;
    if (spare && (ra[whole] & mask) != (rb[whole] & mask)) return false;
  }
  return true;
}

}  // namespace pk::fuzz
