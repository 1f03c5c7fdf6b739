// The rectangle copy behind every canvas copy and stretch. Each axis is turned
// into a table of taps first (which source pixels, with which weights, make
// each destination pixel), once per call; the pixel loops then only combine:
//  - ColorOnColor, and any copy between rectangles of one size: the nearest
//    source pixel, by index when the two colour tables agree;
//  - BlackOnWhite: the AND of the colours of the block of source pixels that
//    falls onto a destination pixel, so black wins when shrinking;
//  - Halftone: the average of the source area under a destination pixel,
//    weighted by how much of each source pixel it covers.
// Source pixels outside the source bitmap are dropped (an area average then
// covers what is left); destination pixels outside the target are not drawn.
#include "platform/stretch_blt.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "platform/bitmap.h"
#include "platform/palette.h"

namespace pk {
namespace {

struct Tap {
  int Coord;     // source column or row
  float Weight;  // share of the destination pixel (area averaging only)
};

// One axis of the copy. Sizes are absolute; a negative rectangle size in the
// call runs that rectangle backwards, which mirrors the copy when only one of
// the two runs backwards.
struct Axis {
  int DestFrom, DestSize, DestStep;
  int SrcFrom, SrcSize, SrcStep;
  int SrcLimit;

  int DestCoord(int i) const { return DestStep > 0 ? DestFrom + i : DestFrom - 1 - i; }
  int SrcCoord(int64_t k) const { return static_cast<int>(SrcStep > 0 ? SrcFrom + k : SrcFrom - 1 - k); }
};

Axis MakeAxis(int dest_from, int dest_to, int src_from, int src_to, int src_limit) {
  return {dest_from, std::abs(dest_to - dest_from), dest_to >= dest_from ? 1 : -1,
          src_from,  std::abs(src_to - src_from),   src_to >= src_from ? 1 : -1, src_limit};
}

enum class Sampling { Nearest, Block, Area };

class TapTable {
 public:
  TapTable(const Axis& axis, Sampling sampling) {
    first_.reserve(static_cast<size_t>(axis.DestSize) + 1);
    const int64_t s = axis.SrcSize;
    const int64_t d = axis.DestSize;
    for (int64_t i = 0; i < d; ++i) {
      first_.push_back(taps_.size());
      const int64_t start = i * s / d;
      switch (sampling) {
        case Sampling::Nearest: Add(axis, start, 1.0f); break;
        case Sampling::Block:
          for (int64_t k = start; k < std::max(start + 1, (i + 1) * s / d); ++k) Add(axis, k, 1.0f);
          break;
        case Sampling::Area: AddArea(axis, double(i) * s / d, double(i + 1) * s / d); break;
      }
    }
    first_.push_back(taps_.size());
  }

  std::span<const Tap> Of(int i) const { return {taps_.data() + first_[i], taps_.data() + first_[i + 1]}; }

  // The range of source coordinates any tap reads, [Low, High]; empty when
  // High < Low.
  int Low() const { return low_; }
  int High() const { return high_; }

 private:
  void Add(const Axis& axis, int64_t k, float weight) {
    const int coord = axis.SrcCoord(k);
    if (coord < 0 || coord >= axis.SrcLimit) return;
    taps_.push_back({coord, weight});
    low_ = std::min(low_, coord);
    high_ = std::max(high_, coord);
  }

  // The source pixels under [lo, hi), each weighted by the part it covers,
  // normalised over the pixels that exist.
  void AddArea(const Axis& axis, double lo, double hi) {
    const size_t begin = taps_.size();
    for (auto k = static_cast<int64_t>(std::floor(lo)); k < hi; ++k) {
      const double covered = std::min(hi, double(k + 1)) - std::max(lo, double(k));
      if (covered > 0) Add(axis, k, static_cast<float>(covered));
    }
    float total = 0;
    for (size_t t = begin; t < taps_.size(); ++t) total += taps_[t].Weight;
    for (size_t t = begin; t < taps_.size(); ++t) taps_[t].Weight /= total;
  }

  std::vector<size_t> first_;
  std::vector<Tap> taps_;
  int low_ = INT32_MAX;
  int high_ = -1;
};

// Entries a table lacks read black, so a short table equals its padded copy.
bool SameTable(const TBitmap& a, const TBitmap& b) {
  if (a.GetPixelFormat() != b.GetPixelFormat()) return false;
  for (int i = 0; i < PaletteCapacity(a.GetPixelFormat()); ++i)
    if (a.ColorTableEntry(i) != b.ColorTableEntry(i)) return false;
  return true;
}

// Puts colours into the target: straight into a 24-bit row, as the nearest
// colour-table entry into a palette bitmap, through SetPixelColor otherwise.
class PixelWriter {
 public:
  explicit PixelWriter(TBitmap& target) : target_(target), matcher_(target.ColorTable()) {}

  void Put(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
    switch (target_.GetPixelFormat()) {
      case PixelFormat::pf24bit: {
        uint8_t* p = target_.ScanLine(y) + 3 * int64_t{x};
        p[0] = b;
        p[1] = g;
        p[2] = r;
        break;
      }
      case PixelFormat::pf1bit:
      case PixelFormat::pf4bit:
      case PixelFormat::pf8bit: target_.SetPixelIndex(x, y, matcher_.Match(RGB(r, g, b))); break;
      default: target_.SetPixelColor(x, y, RGB(r, g, b)); break;
    }
  }
  void Put(int x, int y, TColor c) { Put(x, y, GetBValue(c), GetGValue(c), GetRValue(c)); }

 private:
  TBitmap& target_;
  ColorMatcher matcher_;
};

// Row y of source as blue, green, red bytes: the row itself for a 24-bit
// bitmap, a conversion into scratch otherwise.
const uint8_t* ColourRow(const TBitmap& source, int y, std::vector<uint8_t>& scratch) {
  if (source.GetPixelFormat() == PixelFormat::pf24bit) return source.ScanLine(y);
  scratch.resize(3 * static_cast<size_t>(source.Width()));
  for (int x = 0; x < source.Width(); ++x) {
    const TColor c = source.PixelColor(x, y);
    scratch[3 * x] = GetBValue(c);
    scratch[3 * x + 1] = GetGValue(c);
    scratch[3 * x + 2] = GetRValue(c);
  }
  return scratch.data();
}

void CopyNearest(TBitmap& target, const TBitmap& source, const Axis& ax, const Axis& ay) {
  const TapTable xs(ax, Sampling::Nearest);
  const TapTable ys(ay, Sampling::Nearest);
  const bool by_index = IsPaletted(target.GetPixelFormat()) && SameTable(source, target);
  PixelWriter writer(target);
  for (int j = 0; j < ay.DestSize; ++j) {
    const int ty = ay.DestCoord(j);
    if (ty < 0 || ty >= target.Height() || ys.Of(j).empty()) continue;
    const int sy = ys.Of(j)[0].Coord;
    for (int i = 0; i < ax.DestSize; ++i) {
      const int tx = ax.DestCoord(i);
      if (tx < 0 || tx >= target.Width() || xs.Of(i).empty()) continue;
      const int sx = xs.Of(i)[0].Coord;
      if (by_index)
        target.SetPixelIndex(tx, ty, source.PixelIndex(sx, sy));
      else
        writer.Put(tx, ty, source.PixelColor(sx, sy));
    }
  }
}

void CopyBlackOnWhite(TBitmap& target, const TBitmap& source, const Axis& ax, const Axis& ay) {
  const TapTable xs(ax, Sampling::Block);
  const TapTable ys(ay, Sampling::Block);
  if (xs.High() < xs.Low()) return;
  std::vector<TColor> anded(static_cast<size_t>(xs.High() - xs.Low() + 1));
  PixelWriter writer(target);
  for (int j = 0; j < ay.DestSize; ++j) {
    const int ty = ay.DestCoord(j);
    if (ty < 0 || ty >= target.Height() || ys.Of(j).empty()) continue;
    std::fill(anded.begin(), anded.end(), 0xFFFFFF);
    for (const Tap& row : ys.Of(j))
      for (int x = xs.Low(); x <= xs.High(); ++x) anded[x - xs.Low()] &= source.PixelColor(x, row.Coord);
    for (int i = 0; i < ax.DestSize; ++i) {
      const int tx = ax.DestCoord(i);
      if (tx < 0 || tx >= target.Width() || xs.Of(i).empty()) continue;
      TColor c = 0xFFFFFF;
      for (const Tap& col : xs.Of(i)) c &= anded[col.Coord - xs.Low()];
      writer.Put(tx, ty, c);
    }
  }
}

uint8_t RoundedByte(float v) { return static_cast<uint8_t>(std::lrint(std::clamp(v, 0.0f, 255.0f))); }

// Area averaging, separable: the source rows under a destination row are
// summed at the source's width first, then the columns under each destination
// pixel, so every source pixel is read about once when shrinking.
void CopyHalftone(TBitmap& target, const TBitmap& source, const Axis& ax, const Axis& ay) {
  const TapTable xs(ax, Sampling::Area);
  const TapTable ys(ay, Sampling::Area);
  if (xs.High() < xs.Low()) return;
  const int low = xs.Low();
  const auto span = static_cast<size_t>(xs.High() - low + 1);
  std::vector<float> sums(3 * span);
  std::vector<uint8_t> scratch;
  PixelWriter writer(target);
  for (int j = 0; j < ay.DestSize; ++j) {
    const int ty = ay.DestCoord(j);
    if (ty < 0 || ty >= target.Height() || ys.Of(j).empty()) continue;
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (const Tap& row : ys.Of(j)) {
      const uint8_t* pixels = ColourRow(source, row.Coord, scratch) + 3 * int64_t{low};
      for (size_t k = 0; k < 3 * span; ++k) sums[k] += pixels[k] * row.Weight;
    }
    for (int i = 0; i < ax.DestSize; ++i) {
      const int tx = ax.DestCoord(i);
      if (tx < 0 || tx >= target.Width() || xs.Of(i).empty()) continue;
      float b = 0, g = 0, r = 0;
      for (const Tap& col : xs.Of(i)) {
        const float* p = &sums[3 * static_cast<size_t>(col.Coord - low)];
        b += p[0] * col.Weight;
        g += p[1] * col.Weight;
        r += p[2] * col.Weight;
      }
      writer.Put(tx, ty, RoundedByte(b), RoundedByte(g), RoundedByte(r));
    }
  }
}

}  // namespace

void StretchBlt(TBitmap& target, const TRect& dest, const TBitmap& source, const TRect& src, StretchMode mode) {
  if (dest.Width() == 0 || dest.Height() == 0 || src.Width() == 0 || src.Height() == 0 || source.Empty() ||
      target.Empty())
    return;
  const TBitmap* from = &source;
  TBitmap alias_copy;
  if (&source == &target) {
    alias_copy.Assign(source);
    from = &alias_copy;
  }
  const Axis ax = MakeAxis(dest.Left, dest.Right, src.Left, src.Right, from->Width());
  const Axis ay = MakeAxis(dest.Top, dest.Bottom, src.Top, src.Bottom, from->Height());
  const bool same_size = ax.DestSize == ax.SrcSize && ay.DestSize == ay.SrcSize;
  if (same_size || mode == StretchMode::ColorOnColor)
    CopyNearest(target, *from, ax, ay);
  else if (mode == StretchMode::BlackOnWhite)
    CopyBlackOnWhite(target, *from, ax, ay);
  else
    CopyHalftone(target, *from, ax, ay);
}

}  // namespace pk
