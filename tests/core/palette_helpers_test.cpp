// Palette helpers, the colour count and the grey-scale conversion: the worked
// examples, and the difference between recolouring a palette (indexes kept)
// and replacing it (picture kept).
#include "core/palette_helpers.h"

#include <gtest/gtest.h>

#include "core/colour_count.h"
#include "core/greyscale.h"
#include "platform/palette.h"

namespace pk {
namespace {

TEST(PaletteHelpers, NearestPaletteColourTakesTheNearestAndTheLowestOfEquals) {
  TColourMap colours{};
  colours.fill(clWhite);
  colours[0] = RGB(250, 0, 0);
  colours[1] = RGB(255, 10, 0);
  TColor found = 0;
  EXPECT_EQ(NearestPaletteColour(RGB(255, 0, 0), found, colours, 0), 5);
  EXPECT_EQ(found, RGB(250, 0, 0));

  // Entries 2 and 3 both lie 10 away; only the first 2^(N+1) entries count.
  colours[2] = RGB(10, 0, 0);
  colours[3] = RGB(0, 10, 0);
  EXPECT_EQ(NearestPaletteColour(RGB(0, 0, 0), found, colours, 0), 250);
  EXPECT_EQ(NearestPaletteColour(RGB(0, 0, 0), found, colours, 1), 10);
  EXPECT_EQ(found, RGB(10, 0, 0));
  // An exact entry ends the search; sqrt(3 * 3^2) = 5.196 rounds to 5; a size
  // code above 7 stays within the 256 entries.
  EXPECT_EQ(NearestPaletteColour(clWhite, found, colours, 9), 0);
  EXPECT_EQ(found, clWhite);
  colours[5] = clBlack;
  EXPECT_EQ(NearestPaletteColour(RGB(3, 3, 3), found, colours, 3), 5);
  EXPECT_EQ(found, clBlack);
}

TEST(PaletteHelpers, PaletteIndexOfGivesTheLowestIndex) {
  TBitmap b(1, 1, PixelFormat::pf8bit);
  std::vector<TColor> table(8, clBlack);
  table[3] = table[7] = RGB(1, 2, 3);
  b.SetColorTable(table);
  EXPECT_EQ(PaletteIndexOf(b, RGB(1, 2, 3)), 3);
  EXPECT_EQ(PaletteIndexOf(b, RGB(1, 2, 4)), -1);
  EXPECT_EQ(PaletteIndexOf(TBitmap(1, 1, PixelFormat::pf24bit), clBlack), -1);
}

TEST(PaletteHelpers, ApplyKeepsIndexesSetKeepsThePicture) {
  TBitmap b(3, 1, PixelFormat::pf8bit);
  b.SetColorTable(std::vector<TColor>{clBlack, clWhite, RGB(255, 0, 0)});
  b.SetPixelIndex(1, 0, 1);
  b.SetPixelIndex(2, 0, 2);
  TColourMap colours{};
  colours[0] = clWhite;
  colours[1] = RGB(250, 0, 0);
  colours[2] = clBlack;

  TBitmap applied(b);
  ApplyPaletteColours(applied, colours, 7);
  EXPECT_EQ(applied.PixelIndex(1, 0), 1);
  EXPECT_EQ(applied.PixelColor(1, 0), RGB(250, 0, 0));
  EXPECT_EQ(applied.ColorTable().size(), 256u);

  TBitmap set(b);
  SetPaletteColours(set, colours, 7);
  EXPECT_EQ(set.PixelColor(0, 0), clBlack);
  EXPECT_EQ(set.PixelColor(1, 0), clWhite);
  EXPECT_EQ(set.PixelColor(2, 0), RGB(250, 0, 0));
  EXPECT_EQ(set.PixelIndex(1, 0), 0);

  // N = 0 on a 1-bit image: two entries.
  TBitmap mono(9, 1, PixelFormat::pf1bit);
  mono.SetPixelIndex(8, 0, 1);
  ApplyPaletteColours(mono, colours, 0);
  EXPECT_EQ(mono.PixelColor(8, 0), RGB(250, 0, 0));
  EXPECT_EQ(mono.ColorTable().size(), 2u);
}

TEST(PaletteHelpers, ReadingPalettes) {
  TBitmap b(1, 1, PixelFormat::pf4bit);
  b.SetColorTable(std::vector<TColor>{RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)});
  TColourMap colours;
  colours.fill(0x123456);
  GetPaletteColours(b, colours);
  EXPECT_EQ(colours[1], RGB(4, 5, 6));
  EXPECT_EQ(colours[15], clBlack);     // not in the table: black
  EXPECT_EQ(colours[16], 0x123456u);   // beyond 16 entries: untouched

  TRGBQuadArray quads;
  ReadColourTable(b, 1, 2, quads);
  EXPECT_EQ(quads[0].rgbBlue, 6);
  EXPECT_EQ(quads[0].rgbRed, 4);
  EXPECT_EQ(quads[1].rgbGreen, 8);
  EXPECT_EQ(quads[2].rgbGreen, 0);
  ReadColourTable(TBitmap(1, 1, PixelFormat::pf24bit), 0, 256, quads);
  EXPECT_EQ(quads[0].rgbRed, 0);

  TPaletteEntries entries{};
  ReadPaletteEntries(b, entries);
  EXPECT_EQ(entries[2].peRed, 7);
  EXPECT_EQ(entries[2].peBlue, 9);
  EXPECT_EQ(entries[2].peFlags, 0);

  uint8_t r, g, bl;
  SplitColour(r, g, bl, RGB(10, 20, 30));
  EXPECT_EQ(r + 2 * g + 3 * bl, 10 + 40 + 90);
}

TEST(PaletteHelpers, HasGreyPaletteLooksAtEveryEntryOfTheFormat) {
  TBitmap b(1, 1, PixelFormat::pf8bit);
  b.SetColorTable(GreyPalette());
  EXPECT_TRUE(HasGreyPalette(b));
  std::vector<TColor> almost = GreyPalette();
  almost[255] = RGB(255, 255, 254);
  b.SetColorTable(almost);
  EXPECT_FALSE(HasGreyPalette(b));
  TBitmap four(1, 1, PixelFormat::pf4bit);
  four.SetColorTable(std::vector<TColor>{clBlack, clWhite});  // the rest read black
  EXPECT_TRUE(HasGreyPalette(four));
  EXPECT_FALSE(HasGreyPalette(TBitmap(1, 1, PixelFormat::pf24bit)));
}

TEST(ColourCount, CountsDistinctPixelValues) {
  // 1 bit, width 3: the padding bits of each row's byte are not pixels.
  TBitmap mono(3, 2, PixelFormat::pf1bit);
  mono.ScanLine(0)[0] = 0x1F;
  mono.ScanLine(1)[0] = 0x1F;
  EXPECT_EQ(CountColours(mono), 1);
  mono.SetPixelIndex(2, 1, 1);
  EXPECT_EQ(CountColours(mono), 2);

  // 8 bits: two equal entries, both used, count twice.
  TBitmap eight(4, 1, PixelFormat::pf8bit);
  eight.SetColorTable(std::vector<TColor>{clWhite, clWhite});
  eight.SetPixelIndex(3, 0, 1);
  EXPECT_EQ(CountColours(eight), 2);

  TBitmap nibbles(5, 1, PixelFormat::pf4bit);
  for (int x = 0; x < 5; ++x) nibbles.SetPixelIndex(x, 0, x % 3 + 7);
  EXPECT_EQ(CountColours(nibbles), 3);

  TBitmap rgb(300, 300, PixelFormat::pf24bit);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) rgb.SetPixelColor(x, y, RGB(uint8_t(x), uint8_t(y), uint8_t(x / 256)));
  EXPECT_EQ(CountColours(rgb), 256 * 256 + 44 * 256);  // x 256..299 repeats R, G but not B

  EXPECT_EQ(CountColours(TBitmap(0, 4, PixelFormat::pf8bit)), -1);
  EXPECT_EQ(CountColours(TBitmap(2, 2, PixelFormat::pf32bit)), -1);
}

TEST(Greyscale, PlainMeanTruncatedWithAGreyPalette) {
  TBitmap src(2, 1, PixelFormat::pf24bit);
  src.SetPixelColor(0, 0, RGB(10, 20, 31));
  src.SetPixelColor(1, 0, RGB(255, 255, 254));
  TBitmap grey;
  MakeGreyscale(src, grey);
  EXPECT_EQ(grey.GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_EQ(grey.Palette(), GreyPalette());
  EXPECT_EQ(grey.PixelIndex(0, 0), 20);
  EXPECT_EQ(grey.PixelIndex(1, 0), 254);
  EXPECT_EQ(src.GetPixelFormat(), PixelFormat::pf24bit);

  TBitmap mono(9, 1, PixelFormat::pf1bit);
  mono.SetColorTable(std::vector<TColor>{RGB(0, 0, 3), RGB(90, 60, 30)});
  mono.SetPixelIndex(8, 0, 1);
  MakeGreyscale(mono, mono);
  EXPECT_EQ(mono.PixelIndex(0, 0), 1);
  EXPECT_EQ(mono.PixelIndex(8, 0), 60);
}

}  // namespace
}  // namespace pk
