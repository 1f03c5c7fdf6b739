// Whether two bitmaps hold the same picture: size, pixel format, colour table
// and the bits of every pixel (row padding carries nothing and is not
// compared). Rows are compared as bytes, so large pictures compare fast.
#pragma once

#include "platform/bitmap.h"

namespace pk::fuzz {

bool SamePicture(const TBitmap& a, const TBitmap& b);

}  // namespace pk::fuzz
