// Mirror images of a bitmap, pixel-exact: palette images keep their palette
// and move their indexes, so no colour is ever re-matched. Only the 1-, 4-, 8-
// and 24-bit formats are mirrored; other formats are left as they are.
#pragma once

#include "platform/bitmap.h"

namespace pk {

// Row r becomes row height - 1 - r.
void FlipTopToBottom(TBitmap& Bitmap);

// Pixel x of every row becomes pixel width - 1 - x; the padding bits after the
// last pixel of a 1- or 4-bit row stay out of the picture.
void FlipLeftToRight(TBitmap& Bitmap);

}  // namespace pk
