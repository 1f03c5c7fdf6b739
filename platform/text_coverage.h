// Where rasterised text lands: runs of pixels with a coverage (0 none, 255
// full) go either onto a bitmap in one colour or into a coverage mask. The
// bitmap target mixes partial coverage into 24-bit pixels when antialiasing is
// asked for; every other case paints a pixel covered at least half in the
// colour itself (the nearest colour-table entry on a paletted bitmap), so a
// paletted image only ever receives indexes of its own table.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "platform/color.h"

namespace pk {

class TBitmap;
struct TTextMask;

class ICoverageTarget {
 public:
  virtual ~ICoverageTarget() = default;
  // The pixels the target accepts; runs are cut to it before Span is called.
  virtual TRect Bounds() const = 0;
  // length pixels from (x, y) rightwards, all within Bounds.
  virtual void Span(int32_t x, int32_t y, int32_t length, uint8_t coverage) = 0;
};

// Clips a run to the target's bounds and hands on what is left.
void EmitSpan(ICoverageTarget& target, int64_t x, int64_t y, int64_t length, uint8_t coverage);

class TBitmapCoverage final : public ICoverageTarget {
 public:
  // clip, when given, narrows the bitmap's own bounds.
  TBitmapCoverage(TBitmap& bitmap, TColor colour, bool antialias, const TRect* clip = nullptr);
  TRect Bounds() const override { return bounds_; }
  void Span(int32_t x, int32_t y, int32_t length, uint8_t coverage) override;

 private:
  TBitmap& bitmap_;
  TColor colour_;
  bool blend_;
  TRect bounds_;
};

class TMaskCoverage final : public ICoverageTarget {
 public:
  explicit TMaskCoverage(TTextMask& mask) : mask_(mask) {}
  TRect Bounds() const override;
  void Span(int32_t x, int32_t y, int32_t length, uint8_t coverage) override;

 private:
  TTextMask& mask_;
};

// A rectangle in the coordinates of a turned line: u along the line from the
// origin (ox, oy), v across it (downwards for an unturned line). A pixel is
// filled when its centre lies inside.
struct TTurnedRect {
  double ox = 0;
  double oy = 0;
  double cos = 1;  // of the angle, anticlockwise
  double sin = 0;
  double u0 = 0;
  double u1 = 0;
  double v0 = 0;
  double v1 = 0;
};

void FillTurnedRect(ICoverageTarget& target, const TTurnedRect& rect);

}  // namespace pk
