// TCanvas: drawing on a TBitmap with a brush and a pen, as the raster code
// uses it: filled rectangles, border and surface flood fills, and rectangle
// copies between bitmaps. A copy into a palette bitmap gives every pixel the
// nearest entry of the destination's colour table; a copy between rectangles
// of different sizes stretches by the canvas's stretch mode.
#pragma once

#include "platform/color.h"
#include "platform/font_record.h"

namespace pk {

class TBitmap;

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

enum class TFillStyle { fsSurface, fsBorder };

// bsClear leaves the character cells of drawn text as they were.
enum class TBrushStyle { bsSolid, bsClear };

// How a shrinking copy combines the source pixels that fall onto one
// destination pixel.
enum class StretchMode {
  BlackOnWhite,  // 1-bit style: dark pixels win (AND of the colours)
  ColorOnColor,  // nearest pixel, palette indexes kept between equal tables
  Halftone,      // area average (24-bit destinations)
};

class TCanvas {
 public:
  explicit TCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

  struct Brush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
  } Brush;
  struct Pen { TColor Color = clBlack; } Pen;
  // The font text is drawn in; the text drawing reads it, the canvas's own
  // drawing does not.
  struct Font {
    TFontRecord Record;
    TColor Color = clBlack;
  } Font;
  StretchMode Mode = StretchMode::ColorOnColor;

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor colour);  // ignored outside the bitmap

  // Fills the rectangle (right and bottom exclusive, clipped) with the brush.
  void FillRect(const TRect& r);
  // A one-pixel pen outline with the brush inside.
  void Rectangle(const TRect& r);
  // fsBorder: fills the area around (x, y) bounded by colour; fsSurface: fills
  // the area of colour that contains (x, y). Four-connected, with the brush.
  void FloodFill(int x, int y, TColor colour, TFillStyle style);

  // Copies source's rectangle src onto dest of this canvas, clipped to both
  // bitmaps; stretches when the two rectangles differ in size.
  void CopyRect(const TRect& dest, const TBitmap& source, const TRect& src);
  void Draw(int x, int y, const TBitmap& source);
  void StretchDraw(const TRect& dest, const TBitmap& source);

 private:
  TBitmap& bitmap_;
};

}  // namespace pk
