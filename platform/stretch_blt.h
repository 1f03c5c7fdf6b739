// The platform's rectangle copy between bitmaps, with or without stretching.
#pragma once

#include "platform/canvas.h"

namespace pk {

class TBitmap;

// Copies src of source onto dest of target; a rectangle given right to left or
// bottom to top runs backwards, so opposite directions mirror the copy. Equal
// sizes copy pixel for pixel; different sizes stretch by mode: ColorOnColor
// takes the nearest pixel, BlackOnWhite the AND of the colours of the pixels
// that fall onto one (black wins), Halftone the area average. Pixels are
// clipped to both bitmaps. A palette target takes the nearest entry of its own
// colour table for every colour, and copies nearest pixels by index when the
// two colour tables agree.
void StretchBlt(TBitmap& target, const TRect& dest, const TBitmap& source, const TRect& src, StretchMode mode);

}  // namespace pk
