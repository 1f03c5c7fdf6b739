#include "core/text_drawing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "platform/numeric.h"
#include "platform/text_renderer.h"

namespace pk {
namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

TTextPaint CanvasPaint(TBitmap& bitmap) {
  const TCanvas& canvas = bitmap.Canvas();
  return {canvas.Font.Record, canvas.Font.Color, canvas.Brush.Color, canvas.Brush.Style == TBrushStyle::bsSolid};
}

// The share of the image as it was, 0 to 1; see DrawTextBlock for the range.
Extended KeptShare(double percent) {
  if (!std::isfinite(percent) || percent <= 0) return 0;
  return static_cast<Extended>(std::min(percent, 100.0)) / 100;
}

// Draws with draw onto the bitmap, or, when a share of the image is to be
// kept, onto a copy whose changed pixels then mix into the bitmap: each
// channel becomes Trunc(t·before + (1 − t)·drawn + 0.5).
void DrawBlended(TBitmap& bitmap, double percent, const std::function<void(TBitmap&)>& draw) {
  const Extended t = KeptShare(percent);
  if (t == 0 || bitmap.GetPixelFormat() != PixelFormat::pf24bit) {
    draw(bitmap);
    return;
  }
  TBitmap drawn(bitmap);
  draw(drawn);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* before = bitmap.ScanLine(y);
    const uint8_t* after = drawn.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, before += 3, after += 3) {
      if (before[0] == after[0] && before[1] == after[1] && before[2] == after[2]) continue;
      for (int c = 0; c < 3; ++c) {
        before[c] = static_cast<uint8_t>(Trunc(t * before[c] + (1 - t) * after[c] + Extended(0.5)));
      }
    }
  }
}

// Offset of a line along the block; an unknown justification keeps the
// offset of the line before.
int64_t JustifiedOffset(TTextJustification justification, int64_t width, int64_t extent, int64_t previous) {
  switch (justification) {
    case TTextJustification::tjLeft: return 0;
    case TTextJustification::tjCentre: return (width - extent) / 2;
    case TTextJustification::tjRight: return width - extent;
  }
  return previous;
}

}  // namespace

TWideStringList SplitTextBlock(std::u16string_view Text) {
  TWideStringList lines;
  const size_t n = Text.size();
  size_t start = 0;  // positions from 0 here
  size_t i = 0;
  while (i + 1 < n || (n == 1 && i == 0)) {
    if (!IsBreak(Text[i])) {
      ++i;
      continue;
    }
    if (i + 1 == n) break;
    const bool pair = IsBreak(Text[i + 1]) && Text[i + 1] != Text[i];
    lines.Add(std::u16string(Text.substr(start, i - start)));
    i += pair ? 2 : 1;
    start = i;
  }
  const size_t end = (n > 0 && IsBreak(Text[n - 1])) ? n - 1 : n;  // past the last line's characters
  // A text ending in a two-character break leaves start past end: the last
  // line is then empty, never a negative count of characters.
  if (end > 0) lines.Add(std::u16string(Text.substr(std::min(start, end), end - std::min(start, end))));
  return lines;
}

void DrawTextBlock(TBitmap& Bitmap, std::u16string_view Text, int32_t X, int32_t Y, int32_t& Width,
                   int32_t& Height, bool Draw, TTextJustification Justification, double TransparencyPct) {
  if (Text.empty()) return;
  const TWideStringList lines = SplitTextBlock(Text);
  const TTextPaint paint = CanvasPaint(Bitmap);
  auto renderer = CreateSystemTextRenderer();

  int32_t line_height = 0;
  int32_t unused = 0;
  renderer->MeasureLine(paint.font, u"", unused, line_height);
  std::vector<int32_t> extents(static_cast<size_t>(lines.Count()));
  int32_t widest = 0;
  for (int32_t k = 0; k < lines.Count(); ++k) {
    renderer->MeasureLine(paint.font, lines.GetItem(k), extents[k], unused);
    widest = std::max(widest, extents[k]);
  }
  Width = widest;
  Height = ClampToInt32(static_cast<int64_t>(lines.Count()) * line_height);
  if (!Draw) return;

  const Extended angle = static_cast<Extended>(paint.font.escapement) / 10 * std::numbers::pi_v<Extended> / 180;
  const Extended sin = std::sin(angle);
  const Extended cos = std::cos(angle);
  DrawBlended(Bitmap, TransparencyPct, [&](TBitmap& target) {
    int64_t offset = 0;
    for (int32_t k = 0; k < lines.Count(); ++k) {
      offset = JustifiedOffset(Justification, widest, extents[k], offset);
      const Extended down = static_cast<Extended>(k) * line_height;
      const int64_t x = X + Round(sin * down + cos * static_cast<Extended>(offset));
      const int64_t y = Y + Round(cos * down - sin * static_cast<Extended>(offset));
      renderer->DrawLine(target, paint, ClampToInt32(x), ClampToInt32(y), lines.GetItem(k));
    }
  });
}

void DrawTextBlockAt(TBitmap& Bitmap, std::u16string_view Text, int32_t X, int32_t Y,
                     TTextJustification Justification, double TransparencyPct) {
  int32_t width = 0;
  int32_t height = 0;
  DrawTextBlock(Bitmap, Text, X, Y, width, height, true, Justification, TransparencyPct);
}

void DrawTextBlockSolid(TBitmap& Bitmap, std::u16string_view Text, int32_t X, int32_t Y,
                        TTextJustification Justification) {
  DrawTextBlockAt(Bitmap, Text, X, Y, Justification, 0);
}

void MeasureTextBlock(TBitmap& Bitmap, std::u16string_view Text, int32_t& Width, int32_t& Height) {
  DrawTextBlock(Bitmap, Text, 0, 0, Width, Height, false, TTextJustification::tjLeft, 0);
}

void DrawTextInRect(TBitmap& Bitmap, std::u16string_view Text, const TRect& Rect, uint32_t Format,
                    double TransparencyPct) {
  const std::u16string_view text = Text.substr(0, Text.find(u'\0'));
  const TTextPaint paint = CanvasPaint(Bitmap);
  auto renderer = CreateSystemTextRenderer();
  DrawBlended(Bitmap, TransparencyPct,
              [&](TBitmap& target) { renderer->DrawInRect(target, paint, Rect, Format, text); });
}

}  // namespace pk
