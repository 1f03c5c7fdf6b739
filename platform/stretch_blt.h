// The platform's rectangle copy between bitmaps, with or without stretching.
#pragma once

#include "platform/canvas.h"

namespace pk {

class TBitmap;

// Copies src of source onto dest of target. Equal sizes copy pixel for pixel;
// different sizes stretch by mode. Pixels are clipped to both bitmaps. A palette
// target takes the nearest entry of its own colour table for every pixel, so
// equal tables keep their indexes.
void StretchBlt(TBitmap& target, const TRect& dest, const TBitmap& source, const TRect& src, StretchMode mode);

}  // namespace pk
