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
#include <cstring>
#include <span>
#include <vector>

#include "platform/bitmap.h"
#include "platform/palette.h"
#include "platform/pixel_rows.h"

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

// The destination steps of one axis that draw: those whose pixel lies inside
// the target and whose taps are not empty. Source coordinates move with the
// step in one direction, so the steps whose taps fall outside the source sit
// at the two ends and the drawn steps form one run: each destination row is
// one span of target pixels, written in one go.
struct Run {
  int First = 0;  // steps First .. Last; none when Last < First
  int Last = -1;
  int Left = 0;   // the leftmost target pixel they draw
  int Count() const { return Last - First + 1; }
  // Position of step i's pixel within the span.
  int Slot(const Axis& axis, int i) const { return axis.DestCoord(i) - Left; }
};

Run DrawnRun(const Axis& axis, const TapTable& taps, int target_size) {
  Run run{axis.DestSize, -1, 0};
  for (int i = 0; i < axis.DestSize; ++i) {
    const int t = axis.DestCoord(i);
    if (t < 0 || t >= target_size || taps.Of(i).empty()) continue;
    run.First = std::min(run.First, i);
    run.Last = i;
  }
  if (run.Count() > 0) run.Left = std::min(axis.DestCoord(run.First), axis.DestCoord(run.Last));
  return run;
}

// Whether destination row j draws, and which target row it is.
bool DrawnRow(const Axis& axis, const TapTable& taps, int target_height, int j, int& ty) {
  ty = axis.DestCoord(j);
  return ty >= 0 && ty < target_height && !taps.Of(j).empty();
}

void CopyNearest(TBitmap& target, const TBitmap& source, const Axis& ax, const Axis& ay) {
  const TapTable xs(ax, Sampling::Nearest);
  const TapTable ys(ay, Sampling::Nearest);
  const Run run = DrawnRun(ax, xs, target.Width());
  if (run.Count() <= 0) return;
  const int low = xs.Low();
  const auto span = static_cast<size_t>(xs.High() - low + 1);
  if (IsPaletted(target.GetPixelFormat()) && SameTable(source, target)) {
    const PixelFormat format = target.GetPixelFormat();
    std::vector<uint8_t> from(span), to(static_cast<size_t>(run.Count()));
    for (int j = 0, ty; j < ay.DestSize; ++j) {
      if (!DrawnRow(ay, ys, target.Height(), j, ty)) continue;
      ReadIndexes(source.ScanLine(ys.Of(j)[0].Coord), format, low, static_cast<int>(span), from.data());
      for (int i = run.First; i <= run.Last; ++i) to[run.Slot(ax, i)] = from[xs.Of(i)[0].Coord - low];
      WriteIndexes(to.data(), format, run.Left, run.Count(), target.ScanLine(ty));
    }
    return;
  }
  const BgrReader reader(source);
  BgrWriter writer(target);
  std::vector<uint8_t> from(3 * span), to(3 * static_cast<size_t>(run.Count()));
  for (int j = 0, ty; j < ay.DestSize; ++j) {
    if (!DrawnRow(ay, ys, target.Height(), j, ty)) continue;
    reader.Read(source.ScanLine(ys.Of(j)[0].Coord), low, static_cast<int>(span), from.data());
    for (int i = run.First; i <= run.Last; ++i)
      std::memcpy(&to[3 * size_t(run.Slot(ax, i))], &from[3 * size_t(xs.Of(i)[0].Coord - low)], 3);
    writer.Write(to.data(), run.Left, run.Count(), target.ScanLine(ty));
  }
}

void CopyBlackOnWhite(TBitmap& target, const TBitmap& source, const Axis& ax, const Axis& ay) {
  const TapTable xs(ax, Sampling::Block);
  const TapTable ys(ay, Sampling::Block);
  const Run run = DrawnRun(ax, xs, target.Width());
  if (run.Count() <= 0) return;
  const int low = xs.Low();
  const auto span = static_cast<size_t>(xs.High() - low + 1);
  const BgrReader reader(source);
  BgrWriter writer(target);
  std::vector<uint8_t> row(3 * span), anded(3 * span), to(3 * static_cast<size_t>(run.Count()));
  for (int j = 0, ty; j < ay.DestSize; ++j) {
    if (!DrawnRow(ay, ys, target.Height(), j, ty)) continue;
    std::fill(anded.begin(), anded.end(), 0xFF);
    for (const Tap& tap : ys.Of(j)) {
      reader.Read(source.ScanLine(tap.Coord), low, static_cast<int>(span), row.data());
      for (size_t k = 0; k < anded.size(); ++k) anded[k] &= row[k];
    }
    for (int i = run.First; i <= run.Last; ++i) {
      uint8_t* pixel = &to[3 * size_t(run.Slot(ax, i))];
      pixel[0] = pixel[1] = pixel[2] = 0xFF;
      for (const Tap& col : xs.Of(i))
        for (int c = 0; c < 3; ++c) pixel[c] &= anded[3 * size_t(col.Coord - low) + c];
    }
    writer.Write(to.data(), run.Left, run.Count(), target.ScanLine(ty));
  }
}

uint8_t RoundedByte(float v) { return static_cast<uint8_t>(std::lrint(std::clamp(v, 0.0f, 255.0f))); }

// Area averaging, separable: the source rows under a destination row are
// summed at the source's width first, then the columns under each destination
// pixel, so every source pixel is read about once when shrinking.
void CopyHalftone(TBitmap& target, const TBitmap& source, const Axis& ax, const Axis& ay) {
  const TapTable xs(ax, Sampling::Area);
  const TapTable ys(ay, Sampling::Area);
  const Run run = DrawnRun(ax, xs, target.Width());
  if (run.Count() <= 0) return;
  const int low = xs.Low();
  const auto span = static_cast<size_t>(xs.High() - low + 1);
  const BgrReader reader(source);
  BgrWriter writer(target);
  std::vector<float> sums(3 * span);
  std::vector<uint8_t> row(3 * span), to(3 * static_cast<size_t>(run.Count()));
  for (int j = 0, ty; j < ay.DestSize; ++j) {
    if (!DrawnRow(ay, ys, target.Height(), j, ty)) continue;
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (const Tap& tap : ys.Of(j)) {
      reader.Read(source.ScanLine(tap.Coord), low, static_cast<int>(span), row.data());
      for (size_t k = 0; k < 3 * span; ++k) sums[k] += row[k] * tap.Weight;
    }
    for (int i = run.First; i <= run.Last; ++i) {
      float b = 0, g = 0, r = 0;
      for (const Tap& col : xs.Of(i)) {
        const float* p = &sums[3 * static_cast<size_t>(col.Coord - low)];
        b += p[0] * col.Weight;
        g += p[1] * col.Weight;
        r += p[2] * col.Weight;
      }
      uint8_t* pixel = &to[3 * size_t(run.Slot(ax, i))];
      pixel[0] = RoundedByte(b);
      pixel[1] = RoundedByte(g);
      pixel[2] = RoundedByte(r);
    }
    writer.Write(to.data(), run.Left, run.Count(), target.ScanLine(ty));
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
