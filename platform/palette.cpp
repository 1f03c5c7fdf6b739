#include "platform/palette.h"

#include <algorithm>
#include <climits>

namespace pk {

int NearestColorIndex(std::span<const TColor> table, TColor colour) {
  int best = 0;
  int best_distance = INT_MAX;
  for (size_t i = 0; i < table.size(); ++i) {
    const int d = ColorDistance(table[i], colour & 0xFFFFFF);
    if (d < best_distance) {
      best_distance = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

ColorMatcher::ColorMatcher(std::span<const TColor> table)
    : cache_(table.empty() ? 0 : size_t{1} << kCacheBits, ~uint64_t{0}) {
  for (size_t i = 0; i < table.size(); ++i) {
    const TColor c = table[i] & 0xFFFFFF;
    if (std::find(colours_.begin(), colours_.end(), c) != colours_.end()) continue;
    colours_.push_back(c);
    indexes_.push_back(static_cast<int>(i));
  }
}

int ColorMatcher::Match(TColor colour) {
  colour &= 0xFFFFFF;
  if (cache_.empty()) return 0;
  uint64_t& slot = cache_[(colour * 0x9E3779B1u) >> (32 - kCacheBits)];
  if (slot >> 32 == colour) return static_cast<int>(slot & 0xFFFFFFFF);
  const int index = indexes_[NearestColorIndex(colours_, colour)];
  slot = uint64_t{colour} << 32 | static_cast<uint32_t>(index);
  return index;
}

std::vector<TColor> DefaultPalette(PixelFormat format) {
  static constexpr TColor kVga[16] = {
      RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
      RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
      RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
      RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
  switch (format) {
    case PixelFormat::pf1bit: return {clBlack, clWhite};
    case PixelFormat::pf4bit: return {std::begin(kVga), std::end(kVga)};
    case PixelFormat::pf8bit: {
      std::vector<TColor> p(std::begin(kVga), std::end(kVga));
      p.resize(256, clBlack);
      return p;
    }
    default: return {};
  }
}

std::vector<TColor> GreyPalette() {
  std::vector<TColor> p(256);
  for (int i = 0; i < 256; ++i) p[i] = RGB(i, i, i);
  return p;
}

}  // namespace pk
