#include "core/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/messages.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

// The contributors of every destination index of one axis, computed once per
// pass: destination i draws on Index[First[i] .. First[i + 1]) with the
// matching Weight entries, in ascending source order.
struct ContributorTable {
  std::vector<size_t> First;
  std::vector<int32_t> Index;
  std::vector<float> Weight;
};

// Destination pixels per source pixel, with the first and last pixels of the
// two mapping onto each other. A one-pixel source or destination has no such
// span and scales by the plain size ratio.
float AxisScale(int dst_size, int src_size) {
  if (src_size == 1 || dst_size == 1) return static_cast<float>(double(dst_size) / src_size);
  return static_cast<float>(double(dst_size - 1) / (src_size - 1));
}

// Indexes before the first or after the last source pixel mirror back inside;
// a source narrower than the kernel can still mirror outside, so the result is
// clamped to the nearest edge pixel as well.
int32_t MirroredIndex(int64_t j, int src_size) {
  if (j < 0) j = -j;
  else if (j >= src_size) j = 2 * int64_t{src_size} - j - 1;
  return static_cast<int32_t>(std::clamp<int64_t>(j, 0, src_size - 1));
}

ContributorTable BuildContributors(int dst_size, int src_size, TFilterProc filter, float support) {
  const float scale = AxisScale(dst_size, src_size);
  ContributorTable table;
  table.First.reserve(static_cast<size_t>(dst_size) + 1);
  const auto per_index = static_cast<size_t>(2 * std::ceil(support) + 2);
  table.Index.reserve(per_index * dst_size);
  table.Weight.reserve(per_index * dst_size);
  for (int i = 0; i < dst_size; ++i) {
    table.First.push_back(table.Index.size());
    const auto center = static_cast<float>(i / double{scale});
    // The kernel is not stretched when shrinking, so only the source pixels
    // within its support of the centre can weigh anything: a shrink's wider
    // window would add only zero weights.
    const auto left = static_cast<int64_t>(std::floor(double{center} - support));
    const auto right = static_cast<int64_t>(std::ceil(double{center} + support));
    for (int64_t j = left; j <= right; ++j) {
      const float weight = filter(static_cast<float>(double{center} - static_cast<double>(j)));
      if (weight == 0.0f) continue;
      table.Index.push_back(MirroredIndex(j, src_size));
      table.Weight.push_back(weight);
    }
  }
  table.First.push_back(table.Index.size());
  return table;
}

uint8_t ClampToByte(float sum) {
  if (sum > 255.0f) return 255;
  if (sum < 0.0f) return 0;
  return static_cast<uint8_t>(std::lrint(sum));  // the default rounding: halves to even
}

// Every row of `from` scaled to the width of `to` (same height).
void HorizontalPass(const TBitmap& from, TBitmap& to, const ContributorTable& table) {
  const int width = to.Width();
  for (int y = 0; y < from.Height(); ++y) {
    const uint8_t* src = from.ScanLine(y);
    uint8_t* dst = to.ScanLine(y);
    for (int i = 0; i < width; ++i, dst += 3) {
      float b = 0.0f, g = 0.0f, r = 0.0f;
      for (size_t c = table.First[i]; c < table.First[i + 1]; ++c) {
        const uint8_t* p = src + 3 * int64_t{table.Index[c]};
        const float w = table.Weight[c];
        b += p[0] * w;
        g += p[1] * w;
        r += p[2] * w;
      }
      dst[0] = ClampToByte(b);
      dst[1] = ClampToByte(g);
      dst[2] = ClampToByte(r);
    }
  }
}

// Every column of `from` scaled to the height of `to` (same width). A whole
// destination row is summed at once, contributor by contributor, so each
// pixel's sum still runs over its source rows in ascending order.
void VerticalPass(const TBitmap& from, TBitmap& to, const ContributorTable& table) {
  const auto bytes = static_cast<size_t>(3 * int64_t{to.Width()});
  std::vector<float> sums(bytes);
  for (int y = 0; y < to.Height(); ++y) {
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (size_t c = table.First[y]; c < table.First[y + 1]; ++c) {
      const uint8_t* src = from.ScanLine(table.Index[c]);
      const float w = table.Weight[c];
      for (size_t k = 0; k < bytes; ++k) sums[k] += src[k] * w;
    }
    uint8_t* dst = to.ScanLine(y);
    for (size_t k = 0; k < bytes; ++k) dst[k] = ClampToByte(sums[k]);
  }
}

}  // namespace

void ResampleTwoPass(TBitmap& Src, TBitmap& Dst, TFilterProc Filter, float Support) {
  const int dst_width = Dst.Width();
  const int dst_height = Dst.Height();
  const int src_width = Src.Width();
  const int src_height = Src.Height();
  if (src_width < 1 || src_height < 1) throw Exception(msg::kSourceBitmapTooSmall);

  Src.SetPixelFormat(PixelFormat::pf24bit);
  // A fresh 24-bit destination unless it already is one; Src may be Dst, in
  // which case the sizes agree and the horizontal pass reads all of Src before
  // the vertical pass writes a byte.
  if (Dst.GetPixelFormat() != PixelFormat::pf24bit) Dst.Assign(TBitmap(dst_width, dst_height, PixelFormat::pf24bit));
  if (dst_width == 0 || dst_height == 0) return;

  TBitmap work(dst_width, src_height, PixelFormat::pf24bit);
  HorizontalPass(Src, work, BuildContributors(dst_width, src_width, Filter, Support));
  VerticalPass(work, Dst, BuildContributors(dst_height, src_height, Filter, Support));
}

}  // namespace pk
