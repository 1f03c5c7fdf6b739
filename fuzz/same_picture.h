// Whether two bitmaps hold the same picture: size, pixel format, the colour
// every index of a paletted format shows, and the bits of every pixel (row
// padding carries nothing and is not compared). Rows are compared as bytes,
// so large pictures compare fast.
//
// Colour tables are compared as colours, not as lists: an entry a table does
// not hold reads as black, so a bitmap without a table and one with a table of
// black entries show the same picture. A BMP whose pixel data begins where its
// headers end stores no table, and the writer gives such a bitmap a black
// table of full size, since a count of 0 in the header means all entries.
#pragma once

#include "platform/bitmap.h"

namespace pk::fuzz {

bool SamePicture(const TBitmap& a, const TBitmap& b);

}  // namespace pk::fuzz
