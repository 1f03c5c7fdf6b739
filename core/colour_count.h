// CountColours: how many distinct pixel values an image holds. For palette
// images that is the number of distinct indexes in use, not of distinct
// colours (two equal entries both in use count twice); for 24-bit images it is
// the number of distinct RGB colours.
#pragma once

#include "platform/bitmap.h"

namespace pk {

// -1 for an empty bitmap or a pixel format other than 1, 4, 8 or 24 bits.
int CountColours(const TBitmap& Bitmap);

}  // namespace pk
