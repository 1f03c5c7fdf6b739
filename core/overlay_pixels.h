// Single-pixel access for the merges: a pixel's colour and palette index read
// through a palette the caller fetched once, an index written into a paletted
// row, the overlay pixel lying on a target pixel, and the palette entry
// nearest to a colour.
#pragma once

#include <cstdint>

#include "core/palette_types.h"
#include "core/wm_style.h"
#include "platform/bitmap.h"

namespace pk {

struct TPixelRGB {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  uint8_t Index = 0;  // 0 for 24-bit bitmaps

  bool SameColour(TColor Colour) const {
    return Red == GetRValue(Colour) && Green == GetGValue(Colour) && Blue == GetBValue(Colour);
  }
};

// A 1-, 4- or 8-bit pixel's index with the colour of that entry of Palette, or
// a 24-bit pixel's colour. Result 0 read, 1 any other pixel format, 2 a
// coordinate outside the bitmap (Pixel untouched for 1 and 2).
int ReadPixelRGB(const TBitmap& Bitmap, const TColourMap& Palette, int Row, int Column, TPixelRGB& Pixel);

// Writes Index into a 1-, 4- or 8-bit pixel (only the bits the format holds);
// other formats and coordinates outside the bitmap are left alone.
void SetPixelIndex(TBitmap& Bitmap, int Row, int Column, uint8_t Index);

// The overlay pixel lying on target pixel (Column, Row) under the placement;
// false (Pixel untouched) where there is none or it cannot be read.
bool OverlayPixelAt(const TBitmap& Target, const TBitmap& Overlay, const TColourMap& OverlayPalette, int Y, int X,
                    TWMStyle Style, int Row, int Column, TPixelRGB& Pixel);

// The index among the first Count entries of Palette nearest to the colour by
// squared distance; the lowest index wins a tie.
uint8_t NearestPaletteIndex(const TColourMap& Palette, int Count, uint8_t Red, uint8_t Green, uint8_t Blue);

}  // namespace pk
