#include "platform/text_coverage.h"

#include <algorithm>
#include <cmath>

#include "platform/bitmap.h"
#include "platform/text_renderer.h"

namespace pk {

void EmitSpan(ICoverageTarget& target, int64_t x, int64_t y, int64_t length, uint8_t coverage) {
  const TRect b = target.Bounds();
  if (coverage == 0 || y < b.Top || y >= b.Bottom) return;
  const int64_t left = std::max<int64_t>(x, b.Left);
  const int64_t right = std::min<int64_t>(x + length, b.Right);
  if (left < right) {
    target.Span(static_cast<int32_t>(left), static_cast<int32_t>(y), static_cast<int32_t>(right - left), coverage);
  }
}

TBitmapCoverage::TBitmapCoverage(TBitmap& bitmap, TColor colour, bool antialias, const TRect* clip)
    : bitmap_(bitmap),
      colour_(colour & 0xFFFFFF),
      blend_(antialias && bitmap.GetPixelFormat() == PixelFormat::pf24bit),
      bounds_{0, 0, bitmap.Width(), bitmap.Height()} {
  if (clip) {
    bounds_ = {std::max(bounds_.Left, clip->Left), std::max(bounds_.Top, clip->Top),
               std::min(bounds_.Right, clip->Right), std::min(bounds_.Bottom, clip->Bottom)};
  }
}

void TBitmapCoverage::Span(int32_t x, int32_t y, int32_t length, uint8_t coverage) {
  if (!blend_) {
    if (coverage < 128) return;
    for (int32_t i = 0; i < length; ++i) bitmap_.SetPixelColor(x + i, y, colour_);
    return;
  }
  const uint8_t ink[3] = {GetBValue(colour_), GetGValue(colour_), GetRValue(colour_)};
  uint8_t* pixel = bitmap_.ScanLine(y) + static_cast<int64_t>(x) * 3;
  for (int32_t i = 0; i < length; ++i, pixel += 3) {
    for (int c = 0; c < 3; ++c) {
      pixel[c] = static_cast<uint8_t>((ink[c] * coverage + pixel[c] * (255 - coverage) + 127) / 255);
    }
  }
}

TRect TMaskCoverage::Bounds() const { return {0, 0, mask_.width, mask_.height}; }

void TMaskCoverage::Span(int32_t x, int32_t y, int32_t length, uint8_t coverage) {
  uint8_t* row = mask_.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(mask_.width);
  for (int32_t i = x; i < x + length; ++i) row[i] = std::max(row[i], coverage);
}

void FillTurnedRect(ICoverageTarget& target, const TTurnedRect& r) {
  if (!(r.u1 > r.u0 && r.v1 > r.v0)) return;
  // The corners in pixel space give the rows and columns to visit; each pixel
  // centre is then mapped back onto the line's axes.
  double left = HUGE_VAL, right = -HUGE_VAL, top = HUGE_VAL, bottom = -HUGE_VAL;
  for (const double u : {r.u0, r.u1}) {
    for (const double v : {r.v0, r.v1}) {
      const double px = r.ox + u * r.cos + v * r.sin;
      const double py = r.oy - u * r.sin + v * r.cos;
      left = std::min(left, px), right = std::max(right, px);
      top = std::min(top, py), bottom = std::max(bottom, py);
    }
  }
  const TRect b = target.Bounds();
  const int64_t y0 = std::max<int64_t>(b.Top, static_cast<int64_t>(std::floor(std::max(top, -1e12))));
  const int64_t y1 = std::min<int64_t>(b.Bottom, static_cast<int64_t>(std::ceil(std::min(bottom, 1e12))));
  const int64_t x0 = std::max<int64_t>(b.Left, static_cast<int64_t>(std::floor(std::max(left, -1e12))));
  const int64_t x1 = std::min<int64_t>(b.Right, static_cast<int64_t>(std::ceil(std::min(right, 1e12))));
  for (int64_t y = y0; y < y1; ++y) {
    int64_t run = -1;
    for (int64_t x = x0; x <= x1; ++x) {
      bool inside = false;
      if (x < x1) {
        const double dx = x + 0.5 - r.ox;
        const double dy = y + 0.5 - r.oy;
        const double u = dx * r.cos - dy * r.sin;
        const double v = dx * r.sin + dy * r.cos;
        inside = u >= r.u0 && u < r.u1 && v >= r.v0 && v < r.v1;
      }
      if (inside && run < 0) run = x;
      if (!inside && run >= 0) {
        EmitSpan(target, run, y, x - run, 255);
        run = -1;
      }
    }
  }
}

}  // namespace pk
