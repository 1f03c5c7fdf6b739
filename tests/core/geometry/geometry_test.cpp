// Flips, exact copy, crop and invert of every pixel format, against numpy's
// results on odd widths from 1 to 33 (every padding remainder of the packed
// rows), plus the cases the fixtures do not show: palettes that repeat a
// colour, padding bits, palette inversion and the oversized crop.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/bitmap_copy.h"
#include "core/crop.h"
#include "core/flip.h"
#include "core/invert.h"
#include "platform/exceptions.h"
#include "platform/palette.h"
#include "tests/core/support/pnm_image.h"
#include "tests/support/oracles.h"

namespace pk {
namespace {

std::vector<TColor> TestPalette(PixelFormat format) {
  if (format != PixelFormat::pf8bit) return DefaultPalette(format);
  std::vector<TColor> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = RGB(uint8_t(i), uint8_t(255 - i), uint8_t(37 * i));
  return palette;
}

// The colours the fixtures' crops fill with: entries 1, 14 and 200 of the
// test palettes, and (12, 34, 56).
TColor FillColour(PixelFormat format) {
  switch (format) {
    case PixelFormat::pf1bit: return clWhite;
    case PixelFormat::pf4bit: return RGB(0, 255, 255);
    case PixelFormat::pf8bit: return TestPalette(format)[200];
    default: return RGB(12, 34, 56);
  }
}

TBitmap BitmapOf(const test::PnmImage& image, PixelFormat format) {
  if (format == PixelFormat::pf24bit) return test::BitmapOfPpm(image);
  TBitmap bitmap(image.Width, image.Height, format);
  bitmap.SetColorTable(TestPalette(format));
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) bitmap.SetPixelIndex(x, y, image.At(x, y));
  return bitmap;
}

void ExpectPixels(const TBitmap& bitmap, const test::PnmImage& expected, const std::string& what) {
  ASSERT_EQ(bitmap.Width(), expected.Width) << what;
  ASSERT_EQ(bitmap.Height(), expected.Height) << what;
  for (int y = 0; y < expected.Height; ++y)
    for (int x = 0; x < expected.Width; ++x) {
      const TColor want = expected.Channels == 3
                              ? RGB(expected.At(x, y, 0), expected.At(x, y, 1), expected.At(x, y, 2))
                              : static_cast<TColor>(expected.At(x, y));
      const TColor got = expected.Channels == 3 ? bitmap.PixelColor(x, y) : bitmap.PixelIndex(x, y);
      ASSERT_EQ(got, want) << what << " at " << x << "," << y;
    }
}

struct Operation {
  const char* Fixture;
  std::function<void(TBitmap&)> Apply;
  bool Only24Or1Bit = false;
};

TEST(Geometry, EveryFormatAndOddWidthAgreesWithNumpy) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  const Operation operations[] = {
      {"flipv", [](TBitmap& b) { FlipTopToBottom(b); }},
      {"fliph", [](TBitmap& b) { FlipLeftToRight(b); }},
      {"crop",
       [](TBitmap& b) { CropBitmap(b, -2, -1, b.Width() + 1, b.Height(), FillColour(b.GetPixelFormat())); }},
      {"cropr", [](TBitmap& b) { CropBitmap(b, b.Width() / 3, 2, b.Width() + 2, 3, FillColour(b.GetPixelFormat())); }},
      {"invert", [](TBitmap& b) { InvertBitmap(b, 1, 1, b.Width() - 2, 3, true); }, true},
  };
  const std::pair<int, PixelFormat> formats[] = {
      {1, PixelFormat::pf1bit}, {4, PixelFormat::pf4bit}, {8, PixelFormat::pf8bit}, {24, PixelFormat::pf24bit}};
  for (const auto& [bits, format] : formats)
    for (int width = 1; width <= 33; width += 2) {
      const std::string name = std::to_string(bits) + "_" + std::to_string(width);
      const auto src = test::ReadPnm(test::GeneratedFile("core/geometry/src_" + name + ".pnm"));
      for (const Operation& op : operations) {
        if (op.Only24Or1Bit && bits != 24 && bits != 1) continue;
        TBitmap bitmap = BitmapOf(src, format);
        op.Apply(bitmap);
        const std::string fixture = std::string(op.Fixture) + "_" + name;
        ExpectPixels(bitmap, test::ReadPnm(test::GeneratedFile("core/geometry/" + fixture + ".pnm")), fixture);
        EXPECT_EQ(bitmap.GetPixelFormat(), format) << fixture;
        if (IsPaletted(format)) {
          EXPECT_EQ(bitmap.Palette(), TestPalette(format)) << fixture;
        }
      }
    }
}

TEST(Geometry, FlippingTwiceGivesBackTheSameBytes) {
  TBitmap b(10, 3, PixelFormat::pf1bit);
  for (int x = 0; x < 10; x += 3) b.SetPixelIndex(x, 1, 1);
  b.ScanLine(0)[1] = 0x3F;  // pixels 8 and 9 clear, padding bits set
  const TBitmap original(b);
  FlipLeftToRight(b);
  EXPECT_EQ(b.PixelIndex(9, 1), 1);  // pixel 0 moved to pixel 9
  EXPECT_EQ(b.PixelIndex(0, 0), 0);  // padding bits stay out of the picture
  EXPECT_EQ(b.PixelIndex(1, 0), 0);
  FlipLeftToRight(b);
  FlipTopToBottom(b);
  FlipTopToBottom(b);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(b.ScanLine(y)[0], original.ScanLine(y)[0]);
}

TEST(Geometry, SixteenAndThirtyTwoBitImagesAreNotFlipped) {
  for (const PixelFormat format : {PixelFormat::pf16bit, PixelFormat::pf32bit}) {
    TBitmap b(3, 2, format);
    b.SetPixelColor(0, 0, clWhite);
    FlipLeftToRight(b);
    FlipTopToBottom(b);
    EXPECT_EQ(b.PixelColor(0, 0), clWhite);
  }
}

TEST(Geometry, CopyBitmapExactKeepsIndexesOfRepeatedColours) {
  TBitmap src(5, 2, PixelFormat::pf4bit);
  src.SetColorTable(std::vector<TColor>{clBlack, RGB(9, 9, 9), RGB(9, 9, 9)});
  src.SetPixelIndex(1, 0, 2);
  src.SetPixelIndex(3, 1, 1);
  TBitmap copy;
  CopyBitmapExact(src, copy);
  EXPECT_EQ(copy.GetPixelFormat(), PixelFormat::pf4bit);
  EXPECT_EQ(copy.PixelIndex(1, 0), 2);
  EXPECT_EQ(copy.PixelIndex(3, 1), 1);
  // The copy carries all 16 entries; those the source lacked are black.
  ASSERT_EQ(copy.ColorTable().size(), 16u);
  EXPECT_EQ(copy.ColorTableEntry(2), RGB(9, 9, 9));
  src.SetPixelIndex(1, 0, 0);
  EXPECT_EQ(copy.PixelIndex(1, 0), 2);  // independent
}

TEST(Geometry, CropToTheWholeImageKeepsItAndEmptyRectanglesDoNothing) {
  TBitmap b(7, 4, PixelFormat::pf8bit);
  b.SetColorTable(TestPalette(PixelFormat::pf8bit));
  b.SetPixelIndex(6, 3, 77);
  CropBitmap(b, 0, 0, 6, 3, clBlack);
  EXPECT_EQ(b.Width(), 7);
  EXPECT_EQ(b.PixelIndex(6, 3), 77);
  for (const auto& r : {std::array{3, 0, 3, 3}, std::array{0, 2, 5, 1}, std::array{7, 0, 9, 3}, std::array{0, 4, 5, 6}}) {
    CropBitmap(b, r[0], r[1], r[2], r[3], clBlack);
    EXPECT_EQ(b.Width(), 7);
    EXPECT_EQ(b.Height(), 4);
  }
}

// A rectangle spanning more than 2^31 columns would wrap a 32-bit size: it
// raises a clear error and leaves the bitmap alone.
TEST(Geometry, CropBeyondThePixelLimitRaisesAndKeepsTheBitmap) {
  TBitmap b(4, 4, PixelFormat::pf1bit);
  b.SetPixelIndex(2, 2, 1);
  EXPECT_THROW(CropBitmap(b, INT32_MIN, 0, INT32_MAX, 1, clBlack), EOutOfResources);
  EXPECT_THROW(CropBitmap(b, 0, -100000, 100000, 100000, clBlack), EOutOfResources);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.PixelIndex(2, 2), 1);
}

TEST(Geometry, InvertingAPaletteImageComplementsThePaletteAndKeepsIndexes) {
  for (const PixelFormat format : {PixelFormat::pf4bit, PixelFormat::pf8bit}) {
    TBitmap b(3, 1, format);
    b.SetColorTable(std::vector<TColor>{RGB(0, 10, 255), RGB(1, 2, 3)});
    b.SetPixelIndex(2, 0, 1);
    InvertBitmap(b, 0, 0, 0, 0, false);
    EXPECT_EQ(b.PixelIndex(2, 0), 1);
    EXPECT_EQ(b.PixelColor(2, 0), RGB(254, 253, 252));
    EXPECT_EQ(b.PixelColor(0, 0), RGB(255, 245, 0));
    EXPECT_EQ(b.ColorTableEntry(5), clWhite);  // missing entries were black
    ASSERT_EQ(static_cast<int>(b.ColorTable().size()), PaletteCapacity(format));
  }
}

TEST(Geometry, InvertingAWhole24BitImageTwiceGivesItBack) {
  TBitmap b(5, 2, PixelFormat::pf24bit);
  b.SetPixelColor(4, 1, RGB(1, 2, 3));
  InvertBitmap(b, 0, 0, 0, 0, false);
  EXPECT_EQ(b.PixelColor(4, 1), RGB(254, 253, 252));  // the last column too
  EXPECT_EQ(b.PixelColor(0, 0), clWhite);
  InvertBitmap(b, 0, 0, 0, 0, false);
  EXPECT_EQ(b.PixelColor(4, 1), RGB(1, 2, 3));
}

// A rectangle reaching outside the image is clipped to it, so no byte outside
// the pixel rows is inverted.
TEST(Geometry, InvertRectangleIsClippedToTheImage) {
  TBitmap b(5, 3, PixelFormat::pf24bit);
  InvertBitmap(b, -3, -2, 100, 1, true);
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(b.PixelColor(x, 1), clWhite);
    EXPECT_EQ(b.PixelColor(x, 2), clBlack);
  }
  // Row padding stays 0.
  EXPECT_EQ(b.ScanLine(0)[15], 0);
  InvertBitmap(b, 3, 0, 1, 2, true);  // X2 < X1: nothing
  EXPECT_EQ(b.PixelColor(2, 2), clBlack);
}

}  // namespace
}  // namespace pk
