// InvertBitmap: the colour negative of a bitmap. Palette images are inverted
// through their palette (4 and 8 bits: every entry complemented, every pixel
// keeping its index) or their pixel bits (1 bit: the palette stays); only
// 24-bit images can be inverted within a rectangle.
#pragma once

#include "platform/bitmap.h"

namespace pk {

// With UseRect, a 24-bit image is inverted from (X1, Y1) to (X2, Y2), corners
// included and clipped to the image; otherwise, and for every other format,
// the whole image. 16- and 32-bit images are left unchanged.
void InvertBitmap(TBitmap& Bitmap, int X1, int Y1, int X2, int Y2, bool UseRect);

}  // namespace pk
