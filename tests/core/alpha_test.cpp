#include "core/alpha.h"

#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "core/messages.h"
#include "platform/exceptions.h"
#include "platform/palette.h"
#include "tests/core/grey_channel.h"

namespace pk {
namespace {

// A ttAlpha record whose channel pixel (x, y) holds (x + 16 * y) & 255, so
// every copied pixel shows where it came from.
void MakeNumberedChannel(TAlpha& alpha, int width, int height) {
  alpha.SetTransparencyType(TTransparencyType::ttAlpha);
  alpha.SetWidth(width);
  alpha.SetHeight(height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) alpha.SetAlphaPixel(x, y, static_cast<uint8_t>(x + 16 * y));
}

using test::ExpectGreyChannel;

TEST(Alpha, NewRecordHasNoTransparencyAndAnEmptyGreyChannel) {
  TAlpha alpha;
  EXPECT_EQ(alpha.TransparencyType(), TTransparencyType::ttNone);
  EXPECT_EQ(alpha.Width(), 0);
  EXPECT_EQ(alpha.Height(), 0);
  EXPECT_EQ(alpha.ArraySize(), 0);
  EXPECT_FALSE(alpha.HasSingleTransparency());
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(alpha.GetTransparentArrayEntry(static_cast<uint8_t>(i)), 255);
    EXPECT_EQ(alpha.GetPaletteEntry(static_cast<uint8_t>(i)), 0u);
  }
  ExpectGreyChannel(alpha);
}

TEST(Alpha, ResetReturnsToTheInitialState) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 3, 2);
  alpha.SetTransparentArrayEntry(7, 0);
  alpha.SetArraySize(8);
  alpha.SetBlue(9);
  alpha.Reset();
  EXPECT_EQ(alpha.TransparencyType(), TTransparencyType::ttNone);
  EXPECT_EQ(alpha.Width(), 0);
  EXPECT_EQ(alpha.GetTransparentArrayEntry(7), 255);
  EXPECT_EQ(alpha.ArraySize(), 0);
  EXPECT_EQ(alpha.Blue(), 0);
  ExpectGreyChannel(alpha);
}

TEST(Alpha, AssignCopiesEveryFieldAndAnIndependentChannel) {
  TAlpha source;
  MakeNumberedChannel(source, 4, 3);
  source.SetHasSingleTransparency(true);
  source.SetSingleTransColour(RGB(1, 2, 3));
  source.SetArraySize(12);
  source.SetGrey(100);
  source.SetRed(200);
  source.SetGreen(300);
  source.SetBlue(400);
  source.SetTransparentIndex(5);
  source.SetPaletteEntry(255, RGB(9, 8, 7));
  source.SetTransparentArrayEntry(200, 17);

  TAlpha copy;
  copy.Assign(source);
  EXPECT_EQ(copy.TransparencyType(), TTransparencyType::ttAlpha);
  EXPECT_TRUE(copy.HasSingleTransparency());
  EXPECT_EQ(copy.SingleTransColour(), RGB(1, 2, 3));
  EXPECT_EQ(copy.ArraySize(), 12);
  EXPECT_EQ(copy.Grey(), 100);
  EXPECT_EQ(copy.Red(), 200);
  EXPECT_EQ(copy.Green(), 300);
  EXPECT_EQ(copy.Blue(), 400);
  EXPECT_EQ(copy.TransparentIndex(), 5);
  EXPECT_EQ(copy.GetPaletteEntry(255), RGB(9, 8, 7));
  EXPECT_EQ(copy.GetTransparentArrayEntry(200), 17);
  EXPECT_EQ(copy.Width(), 4);
  EXPECT_EQ(copy.Height(), 3);
  EXPECT_EQ(copy.GetAlphaPixel(3, 2), 35);
  ExpectGreyChannel(copy);

  source.SetAlphaPixel(3, 2, 0);
  source.SetWidth(1);
  EXPECT_EQ(copy.GetAlphaPixel(3, 2), 35);
  EXPECT_EQ(copy.Width(), 4);
}

struct PaletteCase {
  const char* name;
  std::vector<uint8_t> entries;  // the first entries of the array; the rest 255
  uint16_t array_size;
  TTransparencyType kind;
  bool single;
  uint8_t index;
};

TEST(Alpha, FindPaletteTransparencyClassifiesTheCountedEntries) {
  const PaletteCase cases[] = {
      {"one zero among opaque", {255, 0, 255, 255}, 4, TTransparencyType::ttGIF, true, 1},
      {"two zeros", {255, 0, 0}, 3, TTransparencyType::ttPalette, false, 1},
      {"partial alpha", {255, 128}, 2, TTransparencyType::ttPalette, false, 0},
      {"zero past the counted entries", {255, 255, 0}, 2, TTransparencyType::ttNone, false, 0},
      // Every counted entry opaque: nothing is transparent (index 0 used to
      // come out fully transparent).
      {"all opaque", {255, 255, 255}, 3, TTransparencyType::ttNone, false, 0},
  };
  for (const PaletteCase& c : cases) {
    SCOPED_TRACE(c.name);
    TAlpha alpha;
    for (int i = 0; i < 256; ++i) alpha.SetPaletteEntry(static_cast<uint8_t>(i), RGB(static_cast<uint8_t>(i), 0, 7));
    alpha.SetHasSingleTransparency(!c.single);
    alpha.SetTransparentIndex(99);
    for (size_t i = 0; i < c.entries.size(); ++i) alpha.SetTransparentArrayEntry(static_cast<uint8_t>(i), c.entries[i]);
    alpha.SetArraySize(c.array_size);
    alpha.FindPaletteTransparency();
    EXPECT_EQ(alpha.TransparencyType(), c.kind);
    EXPECT_EQ(alpha.HasSingleTransparency(), c.single);
    EXPECT_EQ(alpha.TransparentIndex(), c.index);
    if (c.single) {
      EXPECT_EQ(alpha.SingleTransColour(), RGB(c.index, 0, 7));
    }
  }
}

TEST(Alpha, FindPaletteTransparencyWithNoEntriesChangesNothing) {
  TAlpha alpha;
  alpha.SetTransparencyType(TTransparencyType::ttSingleRGB);
  alpha.SetTransparentIndex(4);
  alpha.SetTransparentArrayEntry(0, 0);
  alpha.FindPaletteTransparency();
  EXPECT_EQ(alpha.TransparencyType(), TTransparencyType::ttSingleRGB);
  EXPECT_EQ(alpha.TransparentIndex(), 4);
}

TEST(Alpha, ArraySizeAboveThePaletteIsStoredAs256AndScansOnlyTheArray) {
  // A PNG tRNS chunk may claim more entries than a palette has.
  TAlpha alpha;
  alpha.SetArraySize(-1);
  EXPECT_EQ(alpha.ArraySize(), 0);
  alpha.SetArraySize(65537);  // would wrap to 1 as a 16-bit value
  EXPECT_EQ(alpha.ArraySize(), 256);
  alpha.SetTransparentArrayEntry(255, 0);
  alpha.SetPaletteEntry(255, RGB(4, 5, 6));
  alpha.FindPaletteTransparency();
  EXPECT_EQ(alpha.TransparencyType(), TTransparencyType::ttGIF);
  EXPECT_EQ(alpha.TransparentIndex(), 255);
  EXPECT_EQ(alpha.SingleTransColour(), RGB(4, 5, 6));
}

TEST(Alpha, SetTransparentArrayCountsUpToTheLastEntryBelowOpaque) {
  TAlpha alpha;
  TTransparentArray entries;
  entries.fill(255);
  entries[3] = 10;
  entries[9] = 20;
  alpha.SetTransparentArray(entries);
  EXPECT_EQ(alpha.ArraySize(), 10);
  EXPECT_EQ(alpha.GetTransparentArrayEntry(9), 20);

  entries.fill(255);
  alpha.SetTransparentArray(entries);
  EXPECT_EQ(alpha.ArraySize(), 10);  // an all-opaque array keeps the count
  EXPECT_EQ(alpha.GetTransparentArrayEntry(9), 255);

  entries[255] = 0;
  alpha.SetTransparentArray(entries);
  EXPECT_EQ(alpha.ArraySize(), 256);
}

TEST(Alpha, EntrySettersLeaveArraySizeAlone) {
  TAlpha alpha;
  alpha.SetTransparentArrayEntry(40, 0);
  EXPECT_EQ(alpha.ArraySize(), 0);
}

TEST(Alpha, CropWithSwappedCornersKeepsTheTopLeft) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 16, 16);
  alpha.Crop(10, 10, 0, 0, 0);
  ASSERT_EQ(alpha.Width(), 10);
  ASSERT_EQ(alpha.Height(), 10);
  ExpectGreyChannel(alpha);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(alpha.GetAlphaPixel(x, y), x + 16 * y) << x << "," << y;
}

TEST(Alpha, CropBeyondTheChannelFillsTheNewArea) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 8, 8);
  alpha.Crop(-5, 0, 5, 5, 255);
  ASSERT_EQ(alpha.Width(), 10);
  ASSERT_EQ(alpha.Height(), 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(alpha.GetAlphaPixel(x, y), 255);
    for (int x = 5; x < 10; ++x) EXPECT_EQ(alpha.GetAlphaPixel(x, y), (x - 5) + 16 * y);
  }
}

TEST(Alpha, CropToOnePixelWideOrHighIsFilledEverywhere) {
  // A flood fill started at (1, 1) never reached these shapes.
  struct Shape { int x1, y1, x2, y2; } shapes[] = {{20, 0, 21, 6}, {0, 20, 6, 21}, {-3, -3, -2, -2}};
  for (const Shape& s : shapes) {
    TAlpha alpha;
    MakeNumberedChannel(alpha, 4, 4);
    alpha.Crop(s.x1, s.y1, s.x2, s.y2, 77);
    for (int y = 0; y < alpha.Height(); ++y)
      for (int x = 0; x < alpha.Width(); ++x) EXPECT_EQ(alpha.GetAlphaPixel(x, y), 77) << s.x1 << "," << s.y1;
  }
}

TEST(Alpha, CropToOneColumnInsideKeepsItsPixels) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 4, 4);
  alpha.Crop(2, 0, 3, 4, 0);
  ASSERT_EQ(alpha.Width(), 1);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(alpha.GetAlphaPixel(0, y), 2 + 16 * y);
}

TEST(Alpha, CropToAnOversizedRectangleRaisesAndKeepsTheChannel) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 4, 4);
  // The width does not fit 32 bits: computed in 64 bits, not wrapped.
  EXPECT_THROW(alpha.Crop(INT_MIN, 0, INT_MAX, 1, 0), EInvalidGraphic);
  EXPECT_THROW(alpha.Crop(0, 0, 100000, 100000, 0), EOutOfResources);
  EXPECT_EQ(alpha.Width(), 4);
  EXPECT_EQ(alpha.GetAlphaPixel(3, 3), 51);
}

TEST(Alpha, OpaqueAreasApplyOnlyToAnAlphaChannel) {
  for (TTransparencyType kind : {TTransparencyType::ttNone, TTransparencyType::ttGIF, TTransparencyType::ttPalette}) {
    TAlpha alpha;
    MakeNumberedChannel(alpha, 4, 4);
    alpha.SetTransparencyType(kind);
    alpha.OpaqueTop(2);
    alpha.OpaqueRect(0, 0, 4, 4);
    EXPECT_EQ(alpha.GetAlphaPixel(0, 0), 0);
    EXPECT_EQ(alpha.GetAlphaPixel(3, 3), 51);
  }
}

TEST(Alpha, OpaqueTopAndOpaqueRectSetTheirPixels) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 5, 5);
  alpha.OpaqueTop(2);
  alpha.OpaqueRect(1, 3, 3, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool opaque = y < 2 || (x >= 1 && x < 3 && y >= 3);
      EXPECT_EQ(alpha.GetAlphaPixel(x, y), opaque ? 255 : x + 16 * y) << x << "," << y;
    }
}

TEST(Alpha, OpaqueAreasOutsideTheChannelAreClipped) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 3, 3);
  alpha.OpaqueTop(50);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(alpha.GetAlphaPixel(2, y), 255);

  MakeNumberedChannel(alpha, 3, 3);
  alpha.OpaqueRect(-10, 2, 1000, 1000);
  alpha.OpaqueRect(2, -5, 1, 9);  // empty: right before left
  EXPECT_EQ(alpha.GetAlphaPixel(0, 2), 255);
  EXPECT_EQ(alpha.GetAlphaPixel(2, 2), 255);
  EXPECT_EQ(alpha.GetAlphaPixel(2, 1), 2 + 16);
  alpha.OpaqueTop(-4);
  EXPECT_EQ(alpha.GetAlphaPixel(0, 0), 0);
}

TEST(Alpha, PixelAccessOutsideTheChannelRaises) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 3, 2);
  const std::pair<int, int> outside[] = {{3, 0}, {-1, 0}, {0, 2}, {0, -1}, {INT_MAX, INT_MAX}};
  for (auto [x, y] : outside) {
    try {
      alpha.GetAlphaPixel(x, y);
      ADD_FAILURE() << x << "," << y;
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), msg::kPixelCoordinateOutOfRange);
    }
    EXPECT_THROW(alpha.SetAlphaPixel(x, y, 1), EInvalidGraphic);
  }
}

TEST(Alpha, WidthAndHeightResizeTheChannel) {
  TAlpha alpha;
  MakeNumberedChannel(alpha, 3, 2);
  alpha.SetWidth(5);
  alpha.SetHeight(1);
  EXPECT_EQ(alpha.AlphaChannel().Width(), 5);
  EXPECT_EQ(alpha.AlphaChannel().Height(), 1);
  EXPECT_EQ(alpha.GetAlphaPixel(2, 0), 2);
  EXPECT_EQ(alpha.GetAlphaPixel(4, 0), 0);
}

}  // namespace
}  // namespace pk
