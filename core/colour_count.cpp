// CountColours with a bit set over every possible value instead of a hash
// table: the count is the same and a 12-megapixel image costs one pass.
#include "core/colour_count.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "platform/pixel_rows.h"

namespace pk {
namespace {

// One bit per possible value: a 24-bit image needs 2 MiB, which is cheaper than
// hashing every pixel of a large photograph and gives the same count.
class ValueSet {
 public:
  explicit ValueSet(uint32_t values) : bits_((values + 63) / 64, 0) {}
  void Insert(uint32_t value) { bits_[value >> 6] |= uint64_t{1} << (value & 63); }
  int Count() const {
    int n = 0;
    for (const uint64_t word : bits_) n += std::popcount(word);
    return n;
  }

 private:
  std::vector<uint64_t> bits_;
};

}  // namespace

int CountColours(const TBitmap& Bitmap) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  const bool counted = format == PixelFormat::pf24bit || IsPaletted(format);
  if (Bitmap.Empty() || !counted) return -1;
  ValueSet seen(format == PixelFormat::pf24bit ? 1u << 24 : 256u);
  if (format == PixelFormat::pf24bit) {
    for (int y = 0; y < Bitmap.Height(); ++y) {
      const uint8_t* row = Bitmap.ScanLine(y);
      for (int x = 0; x < Bitmap.Width(); ++x, row += 3)
        seen.Insert(row[2] | (uint32_t{row[1]} << 8) | (uint32_t{row[0]} << 16));
    }
    return seen.Count();
  }
  std::vector<uint8_t> indexes(static_cast<size_t>(Bitmap.Width()));
  for (int y = 0; y < Bitmap.Height(); ++y) {
    ReadIndexes(Bitmap.ScanLine(y), format, 0, Bitmap.Width(), indexes.data());
    for (const uint8_t index : indexes) seen.Insert(index);
  }
  return seen.Count();
}

}  // namespace pk
