// The native text renderer: FreeType outlines of the face fontconfig resolves,
// rasterised straight into the target as clipped coverage runs (no glyph
// bitmap is ever allocated, however large the text), laid out as GDI lays out
// text: the origin is the top-left of the first character cell, the pen moves
// by whole-pixel advances, and an escapement turns the line about its origin.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/bitmap.h"
#include "platform/freetype_face_linux.h"
#include "platform/text_coverage.h"
#include "platform/text_layout.h"
#include "platform/text_renderer.h"

namespace pk {
namespace {

// The unit vector of an escapement in tenths of a degree, exact at the
// quarter turns.
void Direction(int32_t escapement, double& cos, double& sin) {
  const int32_t tenths = escapement % 3600;
  if (tenths % 900 == 0) {
    static constexpr double kCos[] = {1, 0, -1, 0};
    const int quarter = ((tenths / 900) + 4) % 4;
    cos = kCos[quarter];
    sin = kCos[(quarter + 3) % 4];
    return;
  }
  const double radians = tenths * (M_PI / 1800.0);
  cos = std::cos(radians);
  sin = std::sin(radians);
}

struct TSpanSink {
  ICoverageTarget* target;
  int64_t left;    // device column of raster column 0
  int64_t bottom;  // device row just below raster row 0
  bool antialias;
};

void SpansToTarget(int y, int count, const FT_Span* spans, void* user) {
  const auto& sink = *static_cast<const TSpanSink*>(user);
  for (int i = 0; i < count; ++i) {
    uint8_t coverage = spans[i].coverage;
    if (!sink.antialias) coverage = coverage >= 128 ? 255 : 0;
    EmitSpan(*sink.target, sink.left + spans[i].x, sink.bottom - 1 - y, spans[i].len, coverage);
  }
}

// Renders the outline in the glyph slot with its origin at the device point
// (pen_x, pen_y): only the part inside the target's bounds is rasterised.
void RasteriseOutline(FT_Library library, FT_Outline& outline, double pen_x, double pen_y, ICoverageTarget& target,
                      bool antialias) {
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const TRect bounds = target.Bounds();
  const int64_t left = std::max<int64_t>(bounds.Left, static_cast<int64_t>(std::floor(pen_x + box.xMin / 64.0)));
  const int64_t right = std::min<int64_t>(bounds.Right, static_cast<int64_t>(std::ceil(pen_x + box.xMax / 64.0)));
  const int64_t top = std::max<int64_t>(bounds.Top, static_cast<int64_t>(std::floor(pen_y - box.yMax / 64.0)));
  const int64_t bottom = std::min<int64_t>(bounds.Bottom, static_cast<int64_t>(std::ceil(pen_y - box.yMin / 64.0)));
  if (left >= right || top >= bottom) return;
  // Raster space: x from the left edge of the visible part, y upwards from its
  // bottom edge, so every span coordinate stays small.
  FT_Outline_Translate(&outline, std::llround((pen_x - left) * 64), std::llround((bottom - pen_y) * 64));
  TSpanSink sink{&target, left, bottom, antialias};
  FT_Raster_Params params{};
  params.source = &outline;
  params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
  params.gray_spans = SpansToTarget;
  params.user = &sink;
  params.clip_box = {0, 0, static_cast<FT_Pos>(right - left), static_cast<FT_Pos>(bottom - top)};
  FT_Outline_Render(library, &outline, &params);
}

class TFreeTypeTextRenderer final : public ITextRenderer {
 public:
  void MeasureLine(const TFontRecord& font, std::u16string_view text, int32_t& width, int32_t& height) override {
    TFreeTypeFace& face = Face(font);
    width = static_cast<int32_t>(std::min<int64_t>(face.Extent(text), INT32_MAX));
    height = face.Metrics().height;
  }

  TTextMask RenderLine(const TFontRecord& font, std::u16string_view text) override {
    TFontRecord upright = font;
    upright.escapement = 0;
    TTextMask mask;
    MeasureLine(upright, text, mask.width, mask.height);
    CheckedBitmapBytes(mask.width, mask.height, PixelFormat::pf8bit);
    if (mask.width <= 0 || mask.height <= 0) return TTextMask{};
    mask.coverage.assign(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height), 0);
    TMaskCoverage target(mask);
    Paint(Face(upright), text, 0, 0, target);
    return mask;
  }

  void DrawLine(TBitmap& bitmap, const TTextPaint& paint, int32_t x, int32_t y, std::u16string_view text) override {
    DrawClipped(bitmap, paint, x, y, text, nullptr);
  }

  int32_t DrawInRect(TBitmap& bitmap, const TTextPaint& paint, const TRect& rect, uint32_t format,
                     std::u16string_view text) override {
    TFreeTypeFace& face = Face(paint.font);
    const auto extent = [&face](std::u16string_view piece) { return face.Extent(piece); };
    const auto lines = LayOutLines(text, (format & kTextWordBreak) != 0, rect.Width(), extent);
    const int64_t line_height = face.Metrics().height;
    const TRect* clip = (format & kTextNoClip) ? nullptr : &rect;
    for (size_t k = 0; k < lines.size(); ++k) {
      int64_t x = rect.Left;
      if (format & kTextCentre) {
        x += (static_cast<int64_t>(rect.Width()) - lines[k].width) / 2;
      } else if (format & kTextRight) {
        x = rect.Right - lines[k].width;
      }
      const int64_t y = rect.Top + static_cast<int64_t>(k) * line_height;
      if (y > INT32_MAX) break;
      DrawClipped(bitmap, paint, static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
                  static_cast<int32_t>(y), lines[k].text, clip);
    }
    return static_cast<int32_t>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(lines.size()) * line_height));
  }

 private:
  TFreeTypeFace& Face(const TFontRecord& font) {
    if (!face_ || !(face_->Font() == font)) {
      face_.reset();
      face_ = std::make_unique<TFreeTypeFace>(library_.Get(), font);
    }
    return *face_;
  }

  void DrawClipped(TBitmap& bitmap, const TTextPaint& paint, int32_t x, int32_t y, std::u16string_view text,
                   const TRect* clip) {
    TFreeTypeFace& face = Face(paint.font);
    if (paint.opaque) {
      double cos = 1, sin = 0;
      Direction(paint.font.escapement, cos, sin);
      TBitmapCoverage cell(bitmap, paint.brush_color, false, clip);
      FillTurnedRect(cell, {double(x), double(y), cos, sin, 0, double(face.Extent(text)), 0,
                            double(face.Metrics().height)});
    }
    TBitmapCoverage ink(bitmap, paint.color, paint.font.quality >= 4, clip);
    Paint(face, text, x, y, ink);
  }

  // The glyphs and the underline and strike-out strokes of a line whose first
  // cell has its top-left at (x, y).
  void Paint(TFreeTypeFace& face, std::u16string_view text, double x, double y, ICoverageTarget& target) {
    double cos = 1, sin = 0;
    Direction(face.Font().escapement, cos, sin);
    FT_Matrix turn{std::lround(cos * 0x10000), std::lround(-sin * 0x10000), std::lround(sin * 0x10000),
                   std::lround(cos * 0x10000)};
    const bool antialias = face.Font().quality >= 4;
    const TFaceMetrics& metrics = face.Metrics();
    const double base_x = x + metrics.ascent * sin;
    const double base_y = y + metrics.ascent * cos;
    int64_t pen = 0;
    for (const char32_t c : CodePoints(text)) {
      if (face.LoadGlyph(c)) {
        FT_Outline& outline = face.Slot()->outline;
        if (!(cos == 1 && sin == 0)) FT_Outline_Transform(&outline, &turn);
        RasteriseOutline(library_.Get(), outline, base_x + pen * cos, base_y - pen * sin, target, antialias);
      }
      pen += face.Advance();
    }
    const auto stroke = [&](int32_t top) {
      FillTurnedRect(target, {x, y, cos, sin, 0, double(pen), double(top), double(top + metrics.stroke)});
    };
    if (face.Font().underline) stroke(metrics.underline_top);
    if (face.Font().strike_out) stroke(metrics.strike_out_top);
  }

  TFreeTypeLibrary library_;
  std::unique_ptr<TFreeTypeFace> face_;
};

}  // namespace

std::unique_ptr<ITextRenderer> CreateSystemTextRenderer() { return std::make_unique<TFreeTypeTextRenderer>(); }

}  // namespace pk
