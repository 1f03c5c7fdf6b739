// MakeGreyscale: an 8-bit image with a palette of 256 greys (entry i = i, i,
// i) whose every pixel is the plain mean (B + G + R) div 3 of the source
// colour, truncated: not a weighted luminance. The alpha channel's resampled
// resize relies on it to turn a 24-bit channel back into grey.
#pragma once

#include "platform/bitmap.h"

namespace pk {

// Source may be Dest.
void MakeGreyscale(const TBitmap& Source, TBitmap& Dest);

}  // namespace pk
