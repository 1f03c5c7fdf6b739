// The exact copy rides on the platform bitmap's deep assignment; only 1- and
// 4-bit copies differ, carrying the full 2 or 16 palette entries.
#include "core/bitmap_copy.h"

#include <utility>

#include "core/palette_helpers.h"

namespace pk {
namespace {

bool IsBitOrNibbleFormat(PixelFormat format) {
  return format == PixelFormat::pf1bit || format == PixelFormat::pf4bit;
}

// Dest's colour table becomes the full 2 or 16 entries of Source's.
void CopyFullSmallTable(const TBitmap& Source, TBitmap& Dest) {
  TColourMap colours{};
  GetPaletteColours(Source, colours);
  Dest.SetColorTable(std::span<const TColor>(colours.data(), PaletteCapacity(Source.GetPixelFormat())));
}

}  // namespace

void CopyBitmapExact(const TBitmap& Source, TBitmap& Dest) {
  Dest.Assign(Source);
  if (IsBitOrNibbleFormat(Source.GetPixelFormat())) CopyFullSmallTable(Source, Dest);
}

void CopyBitmapLayout(const TBitmap& Source, TBitmap& Dest, int Width, int Height) {
  // Built aside first: Source may be Dest.
  TBitmap fresh(Width, Height, Source.GetPixelFormat());
  if (IsBitOrNibbleFormat(Source.GetPixelFormat()))
    CopyFullSmallTable(Source, fresh);
  else if (IsPaletted(Source.GetPixelFormat()))
    fresh.SetColorTable(Source.ColorTable());
  else
    fresh.SetPalette(Source.Palette());
  Dest = std::move(fresh);
}

}  // namespace pk
