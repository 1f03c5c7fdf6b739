// Palette helpers over the platform bitmap's colour table. Every table read
// here covers the format's full 2, 16 or 256 entries, entries the bitmap lacks
// reading black, so callers never see a short palette.
#include "core/palette_helpers.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/numeric.h"
#include "platform/pixel_rows.h"

namespace pk {
namespace {

// Entries a palette of size code N holds; codes above 7 are held to the 256
// entries a colour map has.
size_t EntriesOfSizeCode(uint8_t N) { return N >= 7 ? 256 : size_t{2} << N; }

std::vector<TColor> FirstEntries(const TColourMap& Colours, uint8_t N) {
  // The top byte of a colour value is not part of a palette entry.
  std::vector<TColor> entries(Colours.begin(), Colours.begin() + EntriesOfSizeCode(N));
  for (TColor& c : entries) c &= 0xFFFFFF;
  return entries;
}

// 2 for 1-bit bitmaps, 16 for 4-bit ones, 256 for everything else.
uint16_t ColourTableLength(const TBitmap& Bitmap) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  return static_cast<uint16_t>(IsPaletted(format) ? PaletteCapacity(format) : 256);
}

}  // namespace

void GetPaletteColours(const TBitmap& Bitmap, TColourMap& Colours) {
  TRGBQuadArray table;
  const uint16_t count = ColourTableLength(Bitmap);
  ReadColourTable(Bitmap, 0, count, table);
  for (uint16_t i = 0; i < count; ++i) Colours[i] = RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
}

void ApplyPaletteColours(TBitmap& Bitmap, const TColourMap& Colours, uint8_t N) {
  const std::vector<TColor> entries = FirstEntries(Colours, N);
  // A paletted bitmap takes the entries as its colour table, which leaves the
  // pixel indexes alone; a direct-colour bitmap only keeps them as its palette.
  if (IsPaletted(Bitmap.GetPixelFormat()))
    Bitmap.SetColorTable(entries);
  else
    Bitmap.SetPalette(entries);
}

void SetPaletteColours(TBitmap& Bitmap, const TColourMap& Colours, uint8_t N) {
  Bitmap.SetPalette(FirstEntries(Colours, N));
}

void SplitColour(uint8_t& R, uint8_t& G, uint8_t& B, TColor Colour) {
  R = GetRValue(Colour);
  G = GetGValue(Colour);
  B = GetBValue(Colour);
}

void ReadColourTable(const TBitmap& Bitmap, uint16_t Start, uint16_t Count, TRGBQuadArray& Table) {
  Table.fill(TRGBQuad{});
  if (Bitmap.BitCount() > 8) return;
  const size_t count = std::min<size_t>(Count, Table.size());
  for (size_t i = 0; i < count; ++i) {
    const TColor c = Bitmap.ColorTableEntry(static_cast<int>(Start + i));
    Table[i] = TRGBQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0};
  }
}

bool HasGreyPalette(const TBitmap& Bitmap) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (!IsPaletted(format)) return false;
  for (int i = 0; i < PaletteCapacity(format); ++i) {
    const TColor c = Bitmap.ColorTableEntry(i);
    if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c)) return false;
  }
  return true;
}

int NearestPaletteColour(TColor Colour, TColor& Found, const TColourMap& Colours, uint8_t N) {
  // Just above the largest possible distance, sqrt(3 * 255^2) = 441.67, so the
  // first entry always becomes the best so far.
  float best = 442.0f;
  const size_t count = EntriesOfSizeCode(N);
  for (size_t i = 0; i < count; ++i) {
    const TColor entry = Colours[i];
    if (entry == Colour) {
      Found = Colour;
      return 0;
    }
    const double dr = int{GetRValue(entry)} - GetRValue(Colour);
    const double dg = int{GetGValue(entry)} - GetGValue(Colour);
    const double db = int{GetBValue(entry)} - GetBValue(Colour);
    const auto distance = static_cast<float>(std::sqrt(dr * dr + db * db + dg * dg));
    if (distance < best) {
      best = distance;
      Found = entry;
    }
  }
  return static_cast<int>(Round(best));
}

int PaletteIndexOf(const TBitmap& Bitmap, TColor Colour) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (!IsPaletted(format)) return -1;
  for (int i = 0; i < PaletteCapacity(format); ++i)
    if (Bitmap.ColorTableEntry(i) == Colour) return i;
  return -1;
}

std::array<bool, 256> UsedPaletteIndexes(const TBitmap& Bitmap) {
  std::array<bool, 256> used{};
  if (!IsPaletted(Bitmap.GetPixelFormat())) return used;
  std::vector<uint8_t> indexes(static_cast<size_t>(Bitmap.Width()));
  for (int y = 0; y < Bitmap.Height(); ++y) {
    ReadIndexes(Bitmap.ScanLine(y), Bitmap.GetPixelFormat(), 0, Bitmap.Width(), indexes.data());
    for (const uint8_t index : indexes) used[index] = true;
  }
  return used;
}

std::optional<std::vector<TColor>> PaletteWithColours(const TBitmap& Bitmap, std::span<const TColor> Colours) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (!IsPaletted(format)) return std::nullopt;
  std::vector<TColor> table(static_cast<size_t>(PaletteCapacity(format)));
  for (size_t i = 0; i < table.size(); ++i) table[i] = Bitmap.ColorTableEntry(static_cast<int>(i));
  // An entry given a colour here counts as used from then on.
  std::array<bool, 256> taken = UsedPaletteIndexes(Bitmap);
  bool changed = false;
  for (const TColor colour : Colours) {
    if (std::find(table.begin(), table.end(), colour) != table.end()) continue;
    const auto free_entry = std::find(taken.begin(), taken.begin() + table.size(), false);
    if (free_entry == taken.begin() + table.size()) break;
    *free_entry = true;
    table[static_cast<size_t>(free_entry - taken.begin())] = colour;
    changed = true;
  }
  if (!changed) return std::nullopt;
  return table;
}

void ReadPaletteEntries(const TBitmap& Bitmap, TPaletteEntries& Palette) {
  const PixelFormat format = Bitmap.GetPixelFormat();
  if (!IsPaletted(format)) return;
  for (int i = 0; i < PaletteCapacity(format); ++i) {
    const TColor c = Bitmap.ColorTableEntry(i);
    Palette[i] = TPaletteEntry{GetRValue(c), GetGValue(c), GetBValue(c), 0};
  }
}

}  // namespace pk
