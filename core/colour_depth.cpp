// The reductions read every source through its colour table as triples, so one
// nearest-colour blit serves every source format. Sums of whole images are
// kept in 64 bits and rounded halves to even in integers.
#include "core/colour_depth.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/bitmap_copy.h"
#include "core/colour_quantizer.h"
#include "core/messages.h"
#include "core/palette_helpers.h"
#include "core/simple_hash.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"
#include "platform/pixel_rows.h"

namespace pk {
namespace {

TColor QuadColour(const TRGBQuad& quad) { return RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue); }

std::vector<TColor> FirstColours(const TRGBQuadArray& table, int count) {
  std::vector<TColor> colours(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) colours[i] = QuadColour(table[i]);
  return colours;
}

// Calls visit(y, bgr, width) for every row of the source as triples, top row first.
template <typename Visit>
void ForEachBgrRow(const TBitmap& source, Visit visit) {
  const int width = source.Width();
  if (width == 0) return;  // rows without pixels: nothing to read or write
  const BgrReader reader(source);
  std::vector<uint8_t> bgr(3 * static_cast<size_t>(width));
  for (int y = 0; y < source.Height(); ++y) {
    reader.Read(source.ScanLine(y), 0, width, bgr.data());
    visit(y, bgr.data(), width);
  }
}

// The plain blit of source onto a palette bitmap of the same size: every pixel
// takes the nearest entry of dest's colour table.
void BlitNearest(const TBitmap& source, TBitmap& dest) {
  BgrWriter writer(dest);
  ForEachBgrRow(source, [&](int y, const uint8_t* bgr, int width) { writer.Write(bgr, 0, width, dest.ScanLine(y)); });
}

// A new palette bitmap of the source's size, taking the entries as its colour table.
TBitmap PaletteBitmap(const TBitmap& source, PixelFormat format, const std::vector<TColor>& entries) {
  TBitmap bitmap(source.Width(), source.Height(), format);
  bitmap.SetColorTable(entries);
  return bitmap;
}

struct ColourGroup {
  uint64_t count = 0;
  uint64_t red = 0;
  uint64_t green = 0;
  uint64_t blue = 0;

  TColor Mean() const {
    if (count == 0) return clBlack;
    const auto mean = [this](uint64_t sum) { return static_cast<uint8_t>(RoundedQuotient(sum, count)); };
    return RGB(mean(red), mean(green), mean(blue));
  }
};

// The two mean colours: the threshold is the image's mean brightness, each
// pixel's brightness its truncated channel mean.
std::vector<TColor> TwoMeanColours(const TBitmap& source) {
  uint64_t brightness_sum = 0;
  ForEachBgrRow(source, [&](int, const uint8_t* bgr, int width) {
    for (int x = 0; x < 3 * width; ++x) brightness_sum += bgr[x];
  });
  const uint64_t pixels = uint64_t(source.Width()) * uint64_t(source.Height());
  const auto threshold = static_cast<int>(RoundedQuotient(brightness_sum, 3 * pixels));
  ColourGroup groups[2];
  ForEachBgrRow(source, [&](int, const uint8_t* bgr, int width) {
    for (int x = 0; x < width; ++x, bgr += 3) {
      ColourGroup& group = groups[(bgr[0] + bgr[1] + bgr[2]) / 3 < threshold ? 0 : 1];
      ++group.count;
      group.blue += bgr[0];
      group.green += bgr[1];
      group.red += bgr[2];
    }
  });
  return {groups[0].Mean(), groups[1].Mean()};
}

// The 4- or 8-bit reduction through the octree.
TBitmap QuantisedCopy(const TBitmap& source, PixelFormat format) {
  const int max_colors = format == PixelFormat::pf8bit ? 256 : 16;
  TRGBQuadArray table{};
  TColorQuantizer quantizer(max_colors, format == PixelFormat::pf8bit ? 8 : 4);
  quantizer.ProcessImage(source);
  quantizer.GetColorTable(table);
  TBitmap result = PaletteBitmap(source, format, FirstColours(table, max_colors));
  BlitNearest(source, result);
  RemapToPalette(source, result, table, static_cast<uint16_t>(max_colors));
  return result;
}

}  // namespace

void SetColourDepth(const TBitmap& Source, TBitmap& Dest, PixelFormat Format) {
  if (Format == PixelFormat::pf1bit) {
    if (Source.GetPixelFormat() != PixelFormat::pf24bit) return ReduceToTwoColours(Source, Dest);
    TBitmap sixteen_colours;
    SetColourDepth(Source, sixteen_colours, PixelFormat::pf4bit);
    return ReduceToTwoColours(sixteen_colours, Dest);
  }
  if (Format != PixelFormat::pf4bit && Format != PixelFormat::pf8bit) return;
  if (BitsPerPixel(Source.GetPixelFormat()) < BitsPerPixel(Format)) return Dest.SetPixelFormat(Format);
  Dest = QuantisedCopy(Source, Format);
}

void ReduceToTwoColours(const TBitmap& Source, TBitmap& Dest) {
  if (Source.GetPixelFormat() == PixelFormat::pf1bit) return CopyBitmapExact(Source, Dest);
  // An empty image has no mean brightness: both entries stay black.
  const std::vector<TColor> entries = Source.Empty() ? std::vector<TColor>{clBlack, clBlack} : TwoMeanColours(Source);
  TBitmap result = PaletteBitmap(Source, PixelFormat::pf1bit, entries);
  BlitNearest(Source, result);
  Dest = std::move(result);
}

void ChangePixelFormat(const TBitmap& Source, TBitmap& Dest, PixelFormat Format) {
  const int target_count = PaletteCapacity(Format);
  if (target_count == 0) {
    TBitmap copy;
    CopyBitmapExact(Source, copy);
    copy.SetPixelFormat(Format);
    Dest = std::move(copy);
    return;
  }
  // A 24-bit source has no table: its entries read black.
  TRGBQuadArray table;
  const int source_count = IsPaletted(Source.GetPixelFormat()) ? PaletteCapacity(Source.GetPixelFormat()) : 256;
  ReadColourTable(Source, 0, static_cast<uint16_t>(source_count), table);
  TBitmap result = PaletteBitmap(Source, Format, FirstColours(table, target_count));
  BlitNearest(Source, result);
  RemapToPalette(Source, result, table, static_cast<uint16_t>(target_count));
  Dest = std::move(result);
}

void RemapToPalette(const TBitmap& Source, TBitmap& Dest, const TRGBQuadArray& Colors, uint16_t MaxColors) {
  const PixelFormat from = Source.GetPixelFormat();
  const PixelFormat to = Dest.GetPixelFormat();
  const bool remapped = (to == PixelFormat::pf4bit && (from == PixelFormat::pf8bit || from == PixelFormat::pf24bit)) ||
                        (to == PixelFormat::pf8bit && from == PixelFormat::pf24bit);
  if (!remapped) return;
  if (Source.Width() != Dest.Width() || Source.Height() != Dest.Height())
    throw EInvalidGraphicOperation(msg::kRemapSizesDiffer);
  // Never more entries than the table holds or the destination can index.
  const int count = std::min<int>({MaxColors, static_cast<int>(Colors.size()), PaletteCapacity(to)});
  TSimpleHash hash;
  for (int i = 0; i < count; ++i) hash.Insert(static_cast<int32_t>(QuadColour(Colors[i])), i);

  const int width = Source.Width();
  std::vector<uint8_t> indexes(static_cast<size_t>(width));
  ForEachBgrRow(Source, [&](int y, const uint8_t* bgr, int) {
    uint8_t* row = Dest.ScanLine(y);
    ReadIndexes(row, to, 0, width, indexes.data());
    for (int x = 0; x < width; ++x, bgr += 3) {
      const int32_t found = hash.GetIndex(static_cast<int32_t>(RGB(bgr[2], bgr[1], bgr[0])));
      if (found >= 0) indexes[x] = static_cast<uint8_t>(found);
    }
    WriteIndexes(indexes.data(), to, 0, width, row);
  });
}

}  // namespace pk
