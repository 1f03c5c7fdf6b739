#include "platform/canvas.h"

#include <algorithm>
#include <vector>

#include "platform/bitmap.h"
#include "platform/palette.h"
#include "platform/pixel_rows.h"
#include "platform/stretch_blt.h"

namespace pk {
namespace {

bool Inside(const TBitmap& b, int x, int y) { return x >= 0 && y >= 0 && x < b.Width() && y < b.Height(); }

TRect Clip(const TRect& r, const TBitmap& b) {
  return {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, b.Width()), std::min(r.Bottom, b.Height())};
}

// The colour a pixel would show after being painted with colour: the nearest
// table entry for palette bitmaps, the colour itself otherwise.
TColor Realised(const TBitmap& b, TColor colour) {
  if (!IsPaletted(b.GetPixelFormat())) return colour & 0xFFFFFF;
  return b.ColorTableEntry(NearestColorIndex(b.ColorTable(), colour));
}

}  // namespace

TColor TCanvas::Pixel(int x, int y) const { return Inside(bitmap_, x, y) ? bitmap_.PixelColor(x, y) : clBlack; }

void TCanvas::SetPixel(int x, int y, TColor colour) {
  if (Inside(bitmap_, x, y)) bitmap_.SetPixelColor(x, y, colour);
}

void TCanvas::FillRect(const TRect& r) {
  const TRect c = Clip(r, bitmap_);
  if (c.Width() <= 0 || c.Height() <= 0) return;
  const PixelFormat format = bitmap_.GetPixelFormat();
  const auto width = static_cast<size_t>(c.Width());
  if (IsPaletted(format)) {
    const auto index = static_cast<uint8_t>(NearestColorIndex(bitmap_.ColorTable(), Brush.Color));
    const std::vector<uint8_t> indexes(width, index);
    for (int y = c.Top; y < c.Bottom; ++y) WriteIndexes(indexes.data(), format, c.Left, c.Width(), bitmap_.ScanLine(y));
    return;
  }
  std::vector<uint8_t> bgr(3 * width);
  for (size_t x = 0; x < width; ++x) {
    bgr[3 * x] = GetBValue(Brush.Color);
    bgr[3 * x + 1] = GetGValue(Brush.Color);
    bgr[3 * x + 2] = GetRValue(Brush.Color);
  }
  for (int y = c.Top; y < c.Bottom; ++y) WriteDirectBgr(bgr.data(), format, c.Left, c.Width(), bitmap_.ScanLine(y));
}

void TCanvas::Rectangle(const TRect& r) {
  const TColor brush = Brush.Color;
  Brush.Color = Pen.Color;
  FillRect(r);
  Brush.Color = brush;
  FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
}

void TCanvas::FloodFill(int x, int y, TColor colour, TFillStyle style) {
  if (!Inside(bitmap_, x, y)) return;
  const TColor target = Realised(bitmap_, colour);
  const auto fillable = [&](int px, int py) {
    const bool same = bitmap_.PixelColor(px, py) == target;
    return style == TFillStyle::fsBorder ? !same : same;
  };
  if (!fillable(x, y)) return;
  const int w = bitmap_.Width();
  std::vector<uint8_t> done(static_cast<size_t>(w) * bitmap_.Height(), 0);
  const auto visit = [&](int px, int py) {
    return !done[static_cast<size_t>(py) * w + px] && fillable(px, py);
  };
  // Scan-line fill: each popped seed fills its whole run, then seeds the rows
  // above and below. The visited map keeps a fill colour that is itself
  // fillable from looping.
  std::vector<std::pair<int, int>> seeds{{x, y}};
  while (!seeds.empty()) {
    auto [sx, sy] = seeds.back();
    seeds.pop_back();
    if (!visit(sx, sy)) continue;
    int left = sx;
    while (left > 0 && visit(left - 1, sy)) --left;
    int right = sx;
    while (right + 1 < w && visit(right + 1, sy)) ++right;
    for (int px = left; px <= right; ++px) {
      done[static_cast<size_t>(sy) * w + px] = 1;
      bitmap_.SetPixelColor(px, sy, Brush.Color);
    }
    for (const int ny : {sy - 1, sy + 1}) {
      if (ny < 0 || ny >= bitmap_.Height()) continue;
      for (int px = left; px <= right; ++px)
        if (visit(px, ny) && (px == left || !visit(px - 1, ny))) seeds.emplace_back(px, ny);
    }
  }
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& src) {
  StretchBlt(bitmap_, dest, source, src, Mode);
}

void TCanvas::Draw(int x, int y, const TBitmap& source) {
  CopyRect({x, y, x + source.Width(), y + source.Height()}, source, {0, 0, source.Width(), source.Height()});
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& source) {
  CopyRect(dest, source, {0, 0, source.Width(), source.Height()});
}

}  // namespace pk
