// Reading and writing the palettes of 1-, 4- and 8-bit bitmaps in the
// component's colour-value layout, and finding entries in them. The two
// writers differ exactly as the platform bitmap's two palette setters do:
// ApplyPaletteColours recolours the image (every pixel keeps its index),
// SetPaletteColours keeps the picture (pixels move to the nearest new entry).
// A palette size code N stands for 2^(N+1) entries, as in a GIF colour table.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/palette_types.h"
#include "platform/bitmap.h"

namespace pk {

// Entries 0 to 1, 15 or 255 (255 for every format but 1 and 4 bits) of the
// bitmap's colour table; a bitmap without one gives black entries. The rest of
// Colours is left as it was.
void GetPaletteColours(const TBitmap& Bitmap, TColourMap& Colours);

// A palette of 2^(N+1) entries from Colours; every pixel keeps its index.
void ApplyPaletteColours(TBitmap& Bitmap, const TColourMap& Colours, uint8_t N);

// A palette of 2^(N+1) entries from Colours; every pixel keeps its colour as
// nearly as the new palette allows.
void SetPaletteColours(TBitmap& Bitmap, const TColourMap& Colours, uint8_t N);

void SplitColour(uint8_t& R, uint8_t& G, uint8_t& B, TColor Colour);

// Table is zeroed, then Count entries from entry Start of the colour table are
// copied in (none for bitmaps of more than 8 bits per pixel).
void ReadColourTable(const TBitmap& Bitmap, uint16_t Start, uint16_t Count, TRGBQuadArray& Table);

// True for a 1-, 4- or 8-bit bitmap whose 2, 16 or 256 entries are all grey.
bool HasGreyPalette(const TBitmap& Bitmap);

// The entry of the first 2^(N+1) of Colours nearest to Colour goes to Found
// (the lowest index among equally near ones); the result is its distance,
// rounded.
int NearestPaletteColour(TColor Colour, TColor& Found, const TColourMap& Colours, uint8_t N);

// The lowest palette index whose colour is Colour; -1 when there is none or the
// bitmap has no palette format.
int PaletteIndexOf(const TBitmap& Bitmap, TColor Colour);

// Which of the 2, 16 or 256 palette indexes of a 1-, 4- or 8-bit bitmap some
// pixel uses; none for other formats.
std::array<bool, 256> UsedPaletteIndexes(const TBitmap& Bitmap);

// The colour table of a 1-, 4- or 8-bit bitmap after each of Colours that it
// lacks has taken an entry no pixel uses (the lowest such entries, in order,
// while any remain; a colour placed here is not placed twice, nor does a later
// one take its entry). Empty when the table stays as it is or the bitmap has
// no palette: painting a colour then takes the nearest entry.
std::optional<std::vector<TColor>> PaletteWithColours(const TBitmap& Bitmap, std::span<const TColor> Colours);

// The 2, 16 or 256 palette entries of a 1-, 4- or 8-bit bitmap, flags 0;
// other formats leave Palette as it was.
void ReadPaletteEntries(const TBitmap& Bitmap, TPaletteEntries& Palette);

}  // namespace pk
