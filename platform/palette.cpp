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

namespace {

// Tables up to this many distinct colours are searched whole: a cell would not
// save much.
constexpr size_t kCellSearchFrom = 32;

// The smallest and the largest squared distance from a colour to a box of the
// colour cube.
int ChannelGap(int value, int low, int high) { return value < low ? low - value : value > high ? value - high : 0; }
int ChannelFar(int value, int low, int high) { return std::max(value - low, high - value); }

}  // namespace

ColorMatcher::ColorMatcher(std::span<const TColor> table)
    : cache_(table.empty() ? 0 : size_t{1} << kCacheBits, ~uint64_t{0}) {
  for (size_t i = 0; i < table.size(); ++i) {
    const TColor c = table[i] & 0xFFFFFF;
    if (std::find(colours_.begin(), colours_.end(), c) != colours_.end()) continue;
    colours_.push_back(c);
    indexes_.push_back(static_cast<int>(i));
  }
  if (colours_.size() >= kCellSearchFrom) {
    cells_.assign(kCells, kCellUnbuilt);
    candidates_ = std::make_unique_for_overwrite<uint16_t[]>(kCells * colours_.size());
  }
}

void ColorMatcher::BuildCell(uint32_t cell) {
  constexpr int kSide = 1 << kCellShift;
  const int bits = 8 - kCellShift;
  const int low[3] = {static_cast<int>(cell >> (2 * bits)) << kCellShift,
                      static_cast<int>((cell >> bits) & ((1 << bits) - 1)) << kCellShift,
                      static_cast<int>(cell & ((1 << bits) - 1)) << kCellShift};
  // Every colour of the cell is within the smallest farthest distance of some
  // entry, so an entry whose nearest distance to the cell is beyond it can
  // neither be nearest nor tie.
  int bound = INT_MAX;
  for (const TColor c : colours_) {
    const int channels[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    int far = 0;
    for (int k = 0; k < 3; ++k) {
      const int d = ChannelFar(channels[k], low[k], low[k] + kSide - 1);
      far += d * d;
    }
    bound = std::min(bound, far);
  }
  const size_t start = candidates_used_;
  for (size_t i = 0; i < colours_.size(); ++i) {
    const TColor c = colours_[i];
    const int channels[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    int gap = 0;
    for (int k = 0; k < 3; ++k) {
      const int d = ChannelGap(channels[k], low[k], low[k] + kSide - 1);
      gap += d * d;
    }
    if (gap <= bound) candidates_[candidates_used_++] = static_cast<uint16_t>(i);
  }
  cells_[cell] = static_cast<uint32_t>(start << 9 | (candidates_used_ - start));
}

size_t ColorMatcher::NearestInCell(TColor colour) {
  const int bits = 8 - kCellShift;
  const uint32_t cell = (uint32_t{GetRValue(colour)} >> kCellShift) << (2 * bits) |
                        (uint32_t{GetGValue(colour)} >> kCellShift) << bits | GetBValue(colour) >> kCellShift;
  if (cells_[cell] == kCellUnbuilt) BuildCell(cell);
  const uint16_t* candidate = candidates_.get() + (cells_[cell] >> 9);
  const uint16_t* end = candidate + (cells_[cell] & 0x1FF);
  // Candidates are in table order: the strict comparison keeps the lowest index.
  size_t best = *candidate;
  int best_distance = ColorDistance(colours_[best], colour);
  for (++candidate; candidate != end && best_distance != 0; ++candidate) {
    const int d = ColorDistance(colours_[*candidate], colour);
    if (d < best_distance) {
      best_distance = d;
      best = *candidate;
    }
  }
  return best;
}

int ColorMatcher::Match(TColor colour) {
  colour &= 0xFFFFFF;
  if (cache_.empty()) return 0;
  uint64_t& slot = cache_[(colour * 0x9E3779B1u) >> (32 - kCacheBits)];
  if (slot >> 32 == colour) return static_cast<int>(slot & 0xFFFFFFFF);
  const size_t nearest = cells_.empty() ? static_cast<size_t>(NearestColorIndex(colours_, colour))
                                        : NearestInCell(colour);
  const int index = indexes_[nearest];
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
