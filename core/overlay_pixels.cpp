// Pixels of 1-bit rows run most significant bit first and of 4-bit rows high
// half first, the layout the bit helpers read.
#include "core/overlay_pixels.h"

#include "core/bit_helpers.h"
#include "core/overlay_placement.h"

namespace pk {
namespace {

bool Inside(const TBitmap& Bitmap, int Row, int Column) {
  return Row >= 0 && Row < Bitmap.Height() && Column >= 0 && Column < Bitmap.Width();
}

}  // namespace

int ReadPixelRGB(const TBitmap& Bitmap, const TColourMap& Palette, int Row, int Column, TPixelRGB& Pixel) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (!IsPaletted(format) && format != PixelFormat::pf24bit) return 1;
  if (!Inside(Bitmap, Row, Column)) return 2;
  const uint8_t* line = Bitmap.ScanLine(Row);
  if (format == PixelFormat::pf24bit) {
    const uint8_t* bgr = line + int64_t{Column} * 3;
    Pixel = TPixelRGB{bgr[2], bgr[1], bgr[0], 0};
    return 0;
  }
  uint8_t index = 0;
  if (format == PixelFormat::pf1bit)
    index = GetPixelBit(line[Column / 8], static_cast<uint8_t>(Column % 8 + 1));
  else if (format == PixelFormat::pf4bit)
    index = GetPixelNibble(line[Column / 2], static_cast<uint8_t>(Column % 2));
  else
    index = line[Column];
  const TColor colour = Palette[index];
  Pixel = TPixelRGB{GetRValue(colour), GetGValue(colour), GetBValue(colour), index};
  return 0;
}

void SetPixelIndex(TBitmap& Bitmap, int Row, int Column, uint8_t Index) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (!IsPaletted(format) || !Inside(Bitmap, Row, Column)) return;
  uint8_t* line = Bitmap.ScanLine(Row);
  if (format == PixelFormat::pf1bit)
    SetPixelBit(line[Column / 8], static_cast<uint8_t>(Column % 8 + 1), Index & 1);
  else if (format == PixelFormat::pf4bit)
    SetPixelNibble(line[Column / 2], static_cast<uint8_t>(Column % 2), Index);
  else
    line[Column] = Index;
}

bool OverlayPixelAt(const TBitmap& Target, const TBitmap& Overlay, const TColourMap& OverlayPalette, int Y, int X,
                    TWMStyle Style, int Row, int Column, TPixelRGB& Pixel) {
  int ox = 0;
  int oy = 0;
  if (!TOverlayPlacement(Target, Overlay, Y, X, Style).OverlayPoint(Column, Row, ox, oy)) return false;
  return ReadPixelRGB(Overlay, OverlayPalette, oy, ox, Pixel) == 0;
}

uint8_t NearestPaletteIndex(const TColourMap& Palette, int Count, uint8_t Red, uint8_t Green, uint8_t Blue) {
  const TColor wanted = RGB(Red, Green, Blue);
  int best = 20000000;
  uint8_t found = 0;
  for (int i = 0; i < Count && i < 256; ++i) {
    const int distance = ColorDistance(Palette[i], wanted);
    if (distance < best) {
      best = distance;
      found = static_cast<uint8_t>(i);
    }
  }
  return found;
}

}  // namespace pk
