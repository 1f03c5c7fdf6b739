// CopyBitmapExact, the copy every raster procedure makes of a bitmap: format,
// size, palette and pixel indexes are all kept, so a palette that repeats a
// colour still tells its pixels apart. 1- and 4-bit copies carry their full 2
// or 16 entries (entries the source lacked read black).
#pragma once

#include "platform/bitmap.h"

namespace pk {

// Dest becomes an independent copy of Source (Source and Dest may be one).
void CopyBitmapExact(const TBitmap& Source, TBitmap& Dest);

// Dest becomes a Width × Height bitmap of Source's pixel format and palette,
// as CopyBitmapExact would give them, with every pixel 0: the start of a copy
// whose pixels are all drawn afresh.
void CopyBitmapLayout(const TBitmap& Source, TBitmap& Dest, int Width, int Height);

}  // namespace pk
