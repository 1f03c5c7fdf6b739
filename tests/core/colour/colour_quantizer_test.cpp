// The octree quantiser: exact palettes for images of few colours, averaging
// within a leaf, the order of the table and of the merges (rows fed bottom row
// first), formats it ignores, and sums over megapixels that must not wrap.
#include "core/colour_quantizer.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exceptions.h"

namespace pk {
namespace {

// A one-pixel-wide 24-bit image, one colour a row, top row first.
TBitmap Column(const std::vector<TColor>& rows) {
  TBitmap b(1, static_cast<int>(rows.size()), PixelFormat::pf24bit);
  for (size_t y = 0; y < rows.size(); ++y) b.SetPixelColor(0, static_cast<int>(y), rows[y]);
  return b;
}

// The table's first entries as colours; the rest start as a marker colour.
std::vector<TColor> Table(const TBitmap& image, int max_colors, int color_bits, int entries) {
  TColorQuantizer quantizer(max_colors, color_bits);
  quantizer.ProcessImage(image);
  TRGBQuadArray table;
  table.fill(TRGBQuad{7, 7, 7, 7});
  quantizer.GetColorTable(table);
  std::vector<TColor> colours;
  for (int i = 0; i < entries; ++i) colours.push_back(RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
  return colours;
}

constexpr TColor kMarker = RGB(7, 7, 7);

TEST(ColorQuantizer, FewColoursComeOutExactInChildIndexOrder) {
  const TBitmap image = Column({RGB(200, 10, 10), RGB(10, 200, 10), RGB(10, 10, 200), RGB(0, 0, 0), RGB(200, 10, 10)});
  TColorQuantizer quantizer(256, 8);
  quantizer.ProcessImage(image);
  EXPECT_EQ(quantizer.ColorCount(), 4);
  // Red bit 0 before red bit 1, then green, then blue; entries past the
  // leaves keep what the caller put there.
  EXPECT_EQ(Table(image, 256, 8, 5),
            (std::vector<TColor>{RGB(0, 0, 0), RGB(10, 10, 200), RGB(10, 200, 10), RGB(200, 10, 10), kMarker}));
  EXPECT_EQ(Table(Column({clWhite, clBlack}), 16, 4, 3), (std::vector<TColor>{clBlack, clWhite, kMarker}));
}

TEST(ColorQuantizer, ColoursSharingTheUpperBitsAverageHalvesToEven) {
  // One leaf at 4 colour bits: (16.5, 32.5, 49) rounds to (16, 32, 49).
  EXPECT_EQ(Table(Column({RGB(16, 32, 48), RGB(17, 33, 50)}), 16, 4, 2), (std::vector<TColor>{RGB(16, 32, 49), kMarker}));
  EXPECT_EQ(Table(Column({RGB(17, 35, 48), RGB(18, 34, 50)}), 16, 4, 1), (std::vector<TColor>{RGB(18, 34, 49)}));
}

TEST(ColorQuantizer, MergesFollowTheBottomUpRowOrder) {
  // Two colour bits, three colours allowed. Fed bottom row first, (192,0,0)
  // and (128,0,0) open the red-1 branch before black opens the red-0 one, so
  // the red-0 branch is the newest and is merged.
  const TBitmap image = Column({RGB(0, 0, 0), RGB(64, 0, 0), RGB(128, 0, 0), RGB(192, 0, 0)});
  EXPECT_EQ(Table(image, 3, 2, 4), (std::vector<TColor>{RGB(32, 0, 0), RGB(128, 0, 0), RGB(192, 0, 0), kMarker}));
  const TBitmap upside_down = Column({RGB(192, 0, 0), RGB(128, 0, 0), RGB(64, 0, 0), RGB(0, 0, 0)});
  EXPECT_EQ(Table(upside_down, 3, 2, 4), (std::vector<TColor>{RGB(0, 0, 0), RGB(64, 0, 0), RGB(160, 0, 0), kMarker}));
}

TEST(ColorQuantizer, PaletteImagesFeedTheirColours) {
  TBitmap image(9, 3, PixelFormat::pf4bit);
  image.SetColorTable(std::vector<TColor>{RGB(1, 2, 3), RGB(250, 0, 0)});
  image.SetPixelIndex(4, 1, 1);
  EXPECT_EQ(Table(image, 256, 8, 3), (std::vector<TColor>{RGB(1, 2, 3), RGB(250, 0, 0), kMarker}));
}

TEST(ColorQuantizer, SixteenAndThirtyTwoBitImagesFeedNothing) {
  for (const PixelFormat format : {PixelFormat::pf16bit, PixelFormat::pf32bit}) {
    TColorQuantizer quantizer(16, 4);
    quantizer.ProcessImage(TBitmap(4, 4, format));
    EXPECT_EQ(quantizer.ColorCount(), 0);
    TRGBQuadArray table;
    table.fill(TRGBQuad{7, 7, 7, 7});
    quantizer.GetColorTable(table);  // an empty tree leaves the table alone
    EXPECT_EQ(table[0].rgbRed, 7);
  }
}

TEST(ColorQuantizer, MegapixelWhiteSumsDoNotWrap) {
  // 9 million pixels of 255: each channel sum is past 2^31.
  TBitmap white(3000, 3000, PixelFormat::pf24bit);
  for (int y = 0; y < white.Height(); ++y) std::fill_n(white.ScanLine(y), 3 * white.Width(), 0xFF);
  EXPECT_EQ(Table(white, 16, 4, 2), (std::vector<TColor>{clWhite, kMarker}));
}

TEST(ColorQuantizer, BadArgumentsAndSizesRaise) {
  EXPECT_THROW(TColorQuantizer(16, 9), EAssertionFailed);
  // No colour at all would leave the merge nothing to merge.
  EXPECT_THROW(TColorQuantizer(0, 8), EAssertionFailed);
  EXPECT_THROW(TColorQuantizer(-3, 8), EAssertionFailed);
  TColorQuantizer quantizer(16, 4);
  EXPECT_THROW(quantizer.ProcessImage(TBitmap(0x100000, 1, PixelFormat::pf1bit)), EAssertionFailed);
  EXPECT_THROW(quantizer.ProcessImage(TBitmap(1, 0x100000, PixelFormat::pf1bit)), EAssertionFailed);
  EXPECT_EQ(quantizer.ColorCount(), 0);
  quantizer.ProcessImage(TBitmap(0xFFFFF, 1, PixelFormat::pf1bit));
  EXPECT_EQ(quantizer.ColorCount(), 1);
}

}  // namespace
}  // namespace pk
