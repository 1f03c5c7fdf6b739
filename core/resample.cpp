// The two passes share one contributor table per axis, built once before any
// pixel is touched; the pixel loops only multiply and add. The vertical pass
// pulls the rows of the work image from a small ring as it needs them, so the
// whole work image (destination width by source height) is never held.
#include "core/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Clamps to 0..255 and rounds halves to even: the innermost operation of both
// passes. SSE's conversion rounds by the current mode (to nearest, halves to
// even) in one instruction; without SSE, truncation and the exact fraction
// give the same result in any float precision.
uint8_t ClampToByte(float sum) {
  sum = std::min(std::max(sum, 0.0f), 255.0f);
#if defined(__SSE__)
  return static_cast<uint8_t>(_mm_cvtss_si32(_mm_set_ss(sum)));
#else
  auto whole = static_cast<int>(sum);
  const float fraction = sum - static_cast<float>(whole);
  if (fraction > 0.5f || (fraction == 0.5f && (whole & 1))) ++whole;
  return static_cast<uint8_t>(whole);
#endif
}

#if defined(__SSE2__)
// Four sums to bytes exactly as ClampToByte does each: clamped to 0..255, then
// converted by the current rounding mode (to nearest, halves to even).
__m128i ClampToBytes(__m128 sums) {
  sums = _mm_min_ps(_mm_max_ps(sums, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  return _mm_cvtps_epi32(sums);
}

// The blue, green and red of one 24-bit pixel as floats (the fourth lane 0).
// Four bytes are read where a fourth exists inside the row.
__m128 PixelFloats(const uint8_t* p, bool fourth_byte_readable) {
  uint32_t bytes = 0;
  std::memcpy(&bytes, p, fourth_byte_readable ? 4 : 3);
  bytes &= 0xFFFFFF;
  const __m128i zero = _mm_setzero_si128();
  const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes)), zero);
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
}
#endif

// One source row scaled to the destination width. Each pixel's three sums run
// over its contributors in list order; the vector form keeps the three side
// by side, with the same multiplications and additions in the same order, so
// its results are the scalar form's to the bit.
void ScaleRow(const uint8_t* src, uint8_t* dst, const ContributorTable& table, int width, int src_width) {
  for (int i = 0; i < width; ++i, dst += 3) {
#if defined(__SSE2__)
    __m128 sum = _mm_setzero_ps();
    for (size_t c = table.First[i]; c < table.First[i + 1]; ++c) {
      const int32_t j = table.Index[c];
      sum = _mm_add_ps(sum, _mm_mul_ps(PixelFloats(src + 3 * int64_t{j}, j + 1 < src_width), _mm_set1_ps(table.Weight[c])));
    }
    const uint32_t packed = static_cast<uint32_t>(
        _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(ClampToBytes(sum), _mm_setzero_si128()), _mm_setzero_si128())));
    dst[0] = static_cast<uint8_t>(packed);
    dst[1] = static_cast<uint8_t>(packed >> 8);
    dst[2] = static_cast<uint8_t>(packed >> 16);
#else
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
#endif
  }
}

// The rows of the work image (every source row scaled to the destination
// width), made when the vertical pass first asks for them. A destination row
// draws on source rows within a short span, and that span only moves down, so
// a ring of as many rows as the widest span holds everything still needed and
// each work row is made once; the work image never exists in full.
class WorkRows {
 public:
  // Every row of one destination row's contributors is held at once: they lie
  // within one span, so no two share a slot.
  WorkRows(const TBitmap& src, int width, const ContributorTable& columns, const ContributorTable& rows)
      : src_(src), width_(width), columns_(columns), bytes_(3 * static_cast<size_t>(width)) {
    size_t span = 1;
    for (size_t i = 0; i + 1 < rows.First.size(); ++i) {
      const auto first = rows.Index.begin() + static_cast<ptrdiff_t>(rows.First[i]);
      const auto last = rows.Index.begin() + static_cast<ptrdiff_t>(rows.First[i + 1]);
      if (first == last) continue;
      const auto [low, high] = std::minmax_element(first, last);
      span = std::max(span, static_cast<size_t>(*high - *low + 1));
    }
    held_.assign(span, -1);
    pixels_.resize(span * bytes_);
  }

  const uint8_t* Row(int32_t y) {
    const size_t slot = static_cast<size_t>(y) % held_.size();
    uint8_t* row = pixels_.data() + slot * bytes_;
    if (held_[slot] != y) {
      ScaleRow(src_.ScanLine(y), row, columns_, width_, src_.Width());
      held_[slot] = y;
    }
    return row;
  }

 private:
  const TBitmap& src_;
  const int width_;
  const ContributorTable& columns_;
  const size_t bytes_;
  std::vector<int32_t> held_;  // the source row each slot holds, -1 for none
  std::vector<uint8_t> pixels_;
};

// Every destination row as the weighted sum of its work rows. Each byte's sum
// runs over its work rows in ascending list order; sixteen bytes are summed
// side by side in vector registers, with the same operations in the same order
// as the scalar tail, so the results agree to the bit.
void VerticalPass(WorkRows& work, TBitmap& to, const ContributorTable& table) {
  const auto bytes = static_cast<size_t>(3 * int64_t{to.Width()});
  std::vector<const uint8_t*> sources;
  for (int y = 0; y < to.Height(); ++y) {
    sources.clear();
    for (size_t c = table.First[y]; c < table.First[y + 1]; ++c) sources.push_back(work.Row(table.Index[c]));
    const float* weights = table.Weight.data() + table.First[y];
    uint8_t* dst = to.ScanLine(y);
    size_t k = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; k + 16 <= bytes; k += 16) {
      __m128 sums[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
      for (size_t c = 0; c < sources.size(); ++c) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sources[c] + k));
        const __m128i low = _mm_unpacklo_epi8(v, zero), high = _mm_unpackhi_epi8(v, zero);
        const __m128 w = _mm_set1_ps(weights[c]);
        sums[0] = _mm_add_ps(sums[0], _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(low, zero)), w));
        sums[1] = _mm_add_ps(sums[1], _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(low, zero)), w));
        sums[2] = _mm_add_ps(sums[2], _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(high, zero)), w));
        sums[3] = _mm_add_ps(sums[3], _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(high, zero)), w));
      }
      const __m128i words_low = _mm_packs_epi32(ClampToBytes(sums[0]), ClampToBytes(sums[1]));
      const __m128i words_high = _mm_packs_epi32(ClampToBytes(sums[2]), ClampToBytes(sums[3]));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + k), _mm_packus_epi16(words_low, words_high));
    }
#endif
    for (; k < bytes; ++k) {
      float sum = 0.0f;
      for (size_t c = 0; c < sources.size(); ++c) sum += sources[c][k] * weights[c];
      dst[k] = ClampToByte(sum);
    }
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
  // Rows of Src are read while rows of Dst are written: one bitmap in both
  // roles is read from a copy.
  TBitmap alias_copy;
  const TBitmap* from = &Src;
  if (&Src == &Dst) {
    alias_copy.Assign(Src);
    from = &alias_copy;
  }
  if (Dst.GetPixelFormat() != PixelFormat::pf24bit) Dst = TBitmap(dst_width, dst_height, PixelFormat::pf24bit);
  if (dst_width == 0 || dst_height == 0) return;

  const ContributorTable columns = BuildContributors(dst_width, src_width, Filter, Support);
  const ContributorTable rows = BuildContributors(dst_height, src_height, Filter, Support);
  WorkRows work(*from, dst_width, columns, rows);
  VerticalPass(work, Dst, rows);
}

}  // namespace pk
