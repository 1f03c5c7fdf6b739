// Overlay merging: the placement formulas as tables, the blends' worked
// numbers (half-to-even alpha blends, Trunc(x + 0.5) percentage blends), the
// result codes, ties to the lowest palette index, and the guarded faults
// (empty repeated overlays, unbounded percentages, a channel of the wrong
// size, grey palettes other than the identity ramp).
#include "core/overlay_merge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/messages.h"
#include "core/overlay_pixels.h"
#include "core/overlay_placement.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

TBitmap Filled(int width, int height, TColor colour) {
  TBitmap b(width, height, PixelFormat::pf24bit);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixelColor(x, y, colour);
  return b;
}

// A paletted bitmap with the given table, every pixel index 0.
TBitmap Paletted(int width, int height, PixelFormat format, std::vector<TColor> table) {
  TBitmap b(width, height, format);
  b.SetColorTable(table);
  return b;
}

std::vector<uint8_t> Pixels(const TBitmap& b) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < b.Height(); ++y) bytes.insert(bytes.end(), b.ScanLine(y), b.ScanLine(y) + b.RowBytes());
  return bytes;
}

void SetAlphaChannel(TAlpha& alpha, int width, int height, uint8_t value) {
  alpha.SetTransparencyType(TTransparencyType::ttAlpha);
  alpha.SetWidth(width);
  alpha.SetHeight(height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) alpha.SetAlphaPixel(x, y, value);
}

TEST(OverlayPlacement, FormulasOfTheFourStyles) {
  struct Case {
    TWMStyle style;
    int target_w, target_h, overlay_w, overlay_h, X, Y, x, y;
    bool covered;
    int ox, oy;
  };
  const Case cases[] = {
      {TWMStyle::wmSingle, 30, 5, 20, 5, -10, 0, 0, 0, true, 10, 0},
      {TWMStyle::wmSingle, 30, 5, 20, 5, -10, 0, 9, 4, true, 19, 4},
      {TWMStyle::wmSingle, 30, 5, 20, 5, -10, 0, 10, 0, false, 0, 0},
      {TWMStyle::wmSingle, 30, 5, 20, 5, 40, 0, 29, 0, false, 0, 0},
      {TWMStyle::wmTile, 10, 10, 3, 3, 7, 7, 9, 9, true, 0, 0},
      {TWMStyle::wmTile, 10, 10, 3, 3, 7, 7, 5, 4, true, 2, 1},
      // Each band of overlay rows continues the previous band's rows by the
      // target width: band 1 starts at (0 + 1 * 5) mod 3 = 2.
      {TWMStyle::wmWrap, 5, 4, 3, 2, 0, 0, 0, 2, true, 2, 0},
      {TWMStyle::wmWrap, 5, 4, 3, 2, 0, 0, 1, 3, true, 0, 1},
      {TWMStyle::wmWrap, 5, 4, 3, 2, 0, 0, 4, 1, true, 1, 1},
      // Centring truncates toward zero: (10 - 3) div 2 = 3, (3 - 10) div 2 = -3.
      {TWMStyle::wmCentre, 10, 10, 3, 3, 99, 99, 3, 3, true, 0, 0},
      {TWMStyle::wmCentre, 3, 3, 10, 10, 0, 0, 0, 0, true, 3, 3},
      {static_cast<TWMStyle>(7), 3, 3, 3, 3, 0, 0, 0, 0, false, 0, 0},
  };
  for (const Case& c : cases) {
    const TBitmap target(c.target_w, c.target_h, PixelFormat::pf24bit);
    const TBitmap overlay(c.overlay_w, c.overlay_h, PixelFormat::pf24bit);
    int ox = 0;
    int oy = 0;
    const bool covered = TOverlayPlacement(target, overlay, c.Y, c.X, c.style).OverlayPoint(c.x, c.y, ox, oy);
    SCOPED_TRACE(testing::Message() << "style " << static_cast<int>(c.style) << " at " << c.x << "," << c.y);
    EXPECT_EQ(covered, c.covered);
    if (c.covered) {
      EXPECT_EQ(ox, c.ox);
      EXPECT_EQ(oy, c.oy);
    }
  }
}

TEST(OverlayPixels, ReadAndWriteIndexesOfEachPackedFormat) {
  TColourMap palette{};
  palette[1] = RGB(1, 2, 3);
  palette[9] = RGB(9, 9, 9);
  TBitmap one(10, 1, PixelFormat::pf1bit);
  SetPixelIndex(one, 0, 9, 1);
  EXPECT_EQ(one.ScanLine(0)[1], 0x40);  // column 9: second bit of byte 1
  TBitmap four(3, 1, PixelFormat::pf4bit);
  SetPixelIndex(four, 0, 2, 9);
  EXPECT_EQ(four.ScanLine(0)[1], 0x90);  // even column: high half
  TPixelRGB pixel;
  ASSERT_EQ(ReadPixelRGB(four, palette, 0, 2, pixel), 0);
  EXPECT_EQ(pixel.Index, 9);
  EXPECT_TRUE(pixel.SameColour(RGB(9, 9, 9)));
  ASSERT_EQ(ReadPixelRGB(one, palette, 0, 9, pixel), 0);
  EXPECT_TRUE(pixel.SameColour(RGB(1, 2, 3)));

  EXPECT_EQ(ReadPixelRGB(four, palette, 1, 0, pixel), 2);
  EXPECT_EQ(ReadPixelRGB(four, palette, 0, -1, pixel), 2);
  EXPECT_EQ(ReadPixelRGB(TBitmap(1, 1, PixelFormat::pf16bit), palette, 0, 0, pixel), 1);
  SetPixelIndex(four, 0, 3, 5);  // outside: nothing happens
  EXPECT_EQ(four.ScanLine(0)[1], 0x90);
}

TEST(CombineAlphaWithColour, BlendsTwentyFourBitPixels) {
  struct Case {
    uint8_t alpha;
    TColor colour;
    TColor expected;
  };
  const Case cases[] = {
      {0, clWhite, clWhite},
      {255, clWhite, RGB(200, 100, 0)},
      {128, clBlack, RGB(100, 50, 0)},  // 200 * 128/255 = 100.39
  };
  for (const Case& c : cases) {
    TBitmap b = Filled(2, 1, RGB(200, 100, 0));
    TAlpha alpha;
    SetAlphaChannel(alpha, 2, 1, c.alpha);
    CombineAlphaWithColour(b, alpha, c.colour);
    EXPECT_EQ(b.PixelColor(1, 0), c.expected) << "alpha " << int(c.alpha);
  }
}

TEST(CombineAlphaWithColour, LeavesWhatItCannotBlend) {
  TAlpha alpha;
  SetAlphaChannel(alpha, 2, 2, 0);
  TBitmap wrong_size = Filled(2, 1, RGB(200, 100, 0));
  CombineAlphaWithColour(wrong_size, alpha, clWhite);
  EXPECT_EQ(wrong_size.PixelColor(0, 0), RGB(200, 100, 0));

  std::vector<TColor> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = RGB(i, i, i);
  TBitmap grey = Paletted(2, 2, PixelFormat::pf8bit, ramp);
  CombineAlphaWithColour(grey, alpha, RGB(255, 0, 0));  // not a grey colour
  EXPECT_EQ(grey.PixelIndex(0, 0), 0);
  alpha.SetTransparencyType(TTransparencyType::ttPalette);
  CombineAlphaWithColour(grey, alpha, clWhite);
  EXPECT_EQ(grey.PixelIndex(0, 0), 0);
}

TEST(CombineAlphaWithColour, GreyPalettesBlendColoursNotIndexes) {
  TAlpha alpha;
  SetAlphaChannel(alpha, 1, 1, 128);
  std::vector<TColor> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = RGB(i, i, i);
  TBitmap identity = Paletted(1, 1, PixelFormat::pf8bit, ramp);
  identity.SetPixelIndex(0, 0, 200);
  CombineAlphaWithColour(identity, alpha, clBlack);
  EXPECT_EQ(identity.PixelIndex(0, 0), 100);

  // An inverted ramp (entry i = grey 255 - i): grey 200 half onto black is
  // grey 100, entry 155; blending the index 55 itself would give entry 28.
  std::vector<TColor> inverted(256);
  for (int i = 0; i < 256; ++i) inverted[i] = RGB(255 - i, 255 - i, 255 - i);
  TBitmap other = Paletted(1, 1, PixelFormat::pf8bit, inverted);
  other.SetPixelIndex(0, 0, 55);  // grey 200
  CombineAlphaWithColour(other, alpha, clBlack);
  EXPECT_EQ(other.PixelColor(0, 0), RGB(100, 100, 100));
}

TEST(MergeOverlay, PercentageBlendsAndItsLimits) {
  struct Case {
    double percent;
    uint8_t expected;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {0, 255}, {100, 0}, {50, 128},  // Trunc(0.5 * 255 + 0.5) = 128
      {150, 0}, {-50, 255},           // held to 0..100 rather than wrapping
      {std::nan(""), 255}, {inf, 255}, {-inf, 255},
  };
  for (const Case& c : cases) {
    TBitmap target = Filled(2, 2, clBlack);
    const TBitmap overlay = Filled(1, 1, clWhite);
    EXPECT_EQ(MergeOverlay(target, overlay, false, 0, 0, TWMStyle::wmTile, c.percent, 0), 0);
    EXPECT_EQ(target.PixelColor(1, 1), RGB(c.expected, c.expected, c.expected)) << "percent " << c.percent;
  }
}

TEST(MergeOverlay, TransparentColourAndTargetFormat) {
  TBitmap target = Filled(2, 1, clBlack);
  TBitmap overlay = Filled(2, 1, clWhite);
  overlay.SetPixelColor(1, 0, RGB(1, 2, 3));
  EXPECT_EQ(MergeOverlay(target, overlay, true, 0, 0, TWMStyle::wmSingle, 0, RGB(1, 2, 3)), 0);
  EXPECT_EQ(target.PixelColor(0, 0), clWhite);
  EXPECT_EQ(target.PixelColor(1, 0), clBlack);

  TBitmap paletted = Paletted(2, 1, PixelFormat::pf8bit, {clBlack});
  EXPECT_EQ(MergeOverlay(paletted, overlay, false, 0, 0, TWMStyle::wmSingle, 0, 0), 1);
  EXPECT_EQ(paletted.PixelIndex(0, 0), 0);
}

TEST(MergeOverlay, SingleWithNegativeOffsetChangesOnlyTheOverlap) {
  TBitmap target = Filled(30, 2, clBlack);
  TBitmap overlay(20, 2, PixelFormat::pf24bit);
  for (int x = 0; x < 20; ++x) overlay.SetPixelColor(x, 0, RGB(x, 0, 0));
  ASSERT_EQ(MergeOverlay(target, overlay, false, 0, -10, TWMStyle::wmSingle, 0, 0), 0);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(target.PixelColor(x, 0), RGB(x + 10, 0, 0));
  for (int x = 10; x < 30; ++x) EXPECT_EQ(target.PixelColor(x, 0), clBlack);
}

TEST(OverlayMerges, EmptyRepeatedOverlayChangesNothing) {
  TAlpha alpha;
  SetAlphaChannel(alpha, 0, 3, 255);
  TAlpha palette_alpha;
  palette_alpha.SetTransparencyType(TTransparencyType::ttPalette);
  for (TWMStyle style : {TWMStyle::wmTile, TWMStyle::wmWrap}) {
    TBitmap target = Filled(4, 4, RGB(7, 7, 7));
    const std::vector<uint8_t> before = Pixels(target);
    const TBitmap empty(0, 3, PixelFormat::pf24bit);
    const TBitmap empty_paletted(0, 3, PixelFormat::pf8bit);
    EXPECT_EQ(MergeOverlay(target, empty, false, 0, 0, style, 0, 0), 0);
    EXPECT_EQ(MergeAlphaOverlay(target, empty, false, alpha, 0, 0, style, 0, 0), 2);
    EXPECT_EQ(MergePaletteAlphaOverlay(target, empty_paletted, false, palette_alpha, 0, 0, style, 0, 0), 2);
    EXPECT_EQ(Pixels(target), before);
  }
}

TEST(MergeAlphaOverlay, ResultCodesAndPercentLimit) {
  TAlpha alpha;
  SetAlphaChannel(alpha, 2, 2, 255);
  const TBitmap overlay = Filled(2, 2, clWhite);
  TBitmap target = Filled(2, 2, clBlack);
  const std::vector<uint8_t> before = Pixels(target);

  EXPECT_EQ(MergeAlphaOverlay(target, overlay, false, alpha, 0, 0, TWMStyle::wmSingle, 150, 0), 0);
  EXPECT_EQ(Pixels(target), before);  // 150 acts as 100: invisible

  TAlpha mismatched;  // a channel smaller than the overlay is never read past
  SetAlphaChannel(mismatched, 1, 2, 255);
  EXPECT_EQ(MergeAlphaOverlay(target, overlay, false, mismatched, 0, 0, TWMStyle::wmSingle, 0, 0), 2);
  EXPECT_EQ(Pixels(target), before);

  TBitmap paletted_target = Paletted(2, 2, PixelFormat::pf8bit, {clBlack});
  EXPECT_EQ(MergeAlphaOverlay(paletted_target, overlay, false, alpha, 0, 0, TWMStyle::wmSingle, 0, 0), 1);
  EXPECT_EQ(MergeAlphaOverlay(target, TBitmap(2, 2, PixelFormat::pf4bit), false, alpha, 0, 0, TWMStyle::wmSingle,
                              0, 0),
            2);
  alpha.SetTransparencyType(TTransparencyType::ttPalette);
  EXPECT_EQ(MergeAlphaOverlay(target, overlay, false, alpha, 0, 0, TWMStyle::wmSingle, 0, 0), 2);
  EXPECT_EQ(Pixels(target), before);
}

TEST(MergeAlphaOverlay, BlendsByTheChannelAndPercent) {
  struct Case {
    uint8_t alpha;
    double percent;
    uint8_t expected;
  };
  const Case cases[] = {
      {0, 0, 0},
      {255, 0, 200},
      {128, 0, 100},   // 200 * 0.50196 = 100.39
      {255, 50, 100},  // a' = 0.5 exactly: 200 * 0.5 = 100
      {51, 0, 40},     // 0.2 * 200 = 40.000001 in single precision
  };
  for (const Case& c : cases) {
    TAlpha alpha;
    SetAlphaChannel(alpha, 1, 1, c.alpha);
    const TBitmap overlay = Filled(1, 1, RGB(200, 200, 200));
    TBitmap target = Filled(3, 1, clBlack);
    ASSERT_EQ(MergeAlphaOverlay(target, overlay, false, alpha, 0, 0, TWMStyle::wmTile, c.percent, 0), 0);
    EXPECT_EQ(target.PixelColor(2, 0), RGB(c.expected, c.expected, c.expected)) << "alpha " << int(c.alpha);
  }
}

TEST(MergeAlphaOverlay, RoundsHalvesToEven) {
  // a' = 0.5 exactly; overlay 1 onto 0 gives 0.5 (to 0), 3 onto 0 gives 1.5 (to 2).
  TAlpha alpha;
  SetAlphaChannel(alpha, 1, 1, 255);
  const TBitmap overlay = Filled(1, 1, RGB(1, 3, 5));
  TBitmap target = Filled(1, 1, clBlack);
  ASSERT_EQ(MergeAlphaOverlay(target, overlay, false, alpha, 0, 0, TWMStyle::wmSingle, 50, 0), 0);
  EXPECT_EQ(target.PixelColor(0, 0), RGB(0, 2, 2));
}

TEST(MergePaletteAlphaOverlay, AlphaPerIndexOpaquePastTheArray) {
  TBitmap overlay = Paletted(8, 1, PixelFormat::pf1bit, {RGB(100, 100, 100), clWhite});
  overlay.ScanLine(0)[0] = 0x0F;  // indexes 0 0 0 0 1 1 1 1, most significant first
  TAlpha alpha;
  alpha.SetTransparencyType(TTransparencyType::ttPalette);
  alpha.SetTransparentArrayEntry(0, 0);
  alpha.SetTransparentArrayEntry(1, 0);
  alpha.SetArraySize(1);  // index 1 reads its entry (not greater than 1)
  TBitmap target = Filled(8, 1, clBlack);
  ASSERT_EQ(MergePaletteAlphaOverlay(target, overlay, false, alpha, 0, 0, TWMStyle::wmSingle, 0, 0), 0);
  EXPECT_EQ(target.PixelColor(0, 0), clBlack);
  EXPECT_EQ(target.PixelColor(7, 0), clBlack);

  alpha.SetArraySize(0);  // index 1 now lies past the array: opaque
  alpha.SetTransparentArrayEntry(0, 255);
  ASSERT_EQ(MergePaletteAlphaOverlay(target, overlay, false, alpha, 0, 0, TWMStyle::wmSingle, 0, 0), 0);
  EXPECT_EQ(target.PixelColor(0, 0), RGB(100, 100, 100));
  EXPECT_EQ(target.PixelColor(7, 0), clWhite);

  EXPECT_EQ(MergePaletteAlphaOverlay(target, Filled(1, 1, 0), false, alpha, 0, 0, TWMStyle::wmSingle, 0, 0), 2);
}

TEST(MergeOverlayToPalette, NearestEntryAndLowestIndexOnATie) {
  struct Case {
    TColor overlay;
    int expected_index;
  };
  // Entry 0 is light grey, entry 1 black: 100 lies 100 from each (tie: 0);
  // 128 is nearer to entry 0; 90 nearer to black.
  const Case cases[] = {{RGB(100, 100, 100), 0}, {RGB(128, 128, 128), 0}, {RGB(90, 90, 90), 1}};
  for (const Case& c : cases) {
    TBitmap target = Paletted(2, 1, PixelFormat::pf1bit, {RGB(200, 200, 200), clBlack});
    target.ScanLine(0)[0] = 0x40;  // column 1 black
    ASSERT_EQ(MergeOverlayToPalette(target, Filled(1, 1, c.overlay), false, 0, 1, TWMStyle::wmSingle, 0, 0), 0);
    EXPECT_EQ(target.PixelIndex(1, 0), c.expected_index) << c.overlay;
    EXPECT_EQ(target.PixelIndex(0, 0), 0);
  }
}

TEST(MergeOverlayToPalette, BlendsThroughTheTargetPaletteAndChecksFormats) {
  TBitmap target = Paletted(1, 1, PixelFormat::pf8bit, {clBlack, RGB(128, 128, 128), clWhite});
  ASSERT_EQ(MergeOverlayToPalette(target, Filled(1, 1, clWhite), false, 0, 0, TWMStyle::wmSingle, 50, 0), 0);
  EXPECT_EQ(target.PixelIndex(0, 0), 1);

  TBitmap target24 = Filled(1, 1, clBlack);
  ASSERT_EQ(MergeOverlayToPalette(target24, Filled(1, 1, clWhite), false, 0, 0, TWMStyle::wmSingle, 50, 0), 0);
  EXPECT_EQ(target24.PixelColor(0, 0), RGB(128, 128, 128));

  TBitmap target16(1, 1, PixelFormat::pf16bit);
  EXPECT_EQ(MergeOverlayToPalette(target16, Filled(1, 1, clWhite), false, 0, 0, TWMStyle::wmSingle, 0, 0), 1);
}

TEST(WatermarkGIF, CopiesNearestEntriesAndSkipsTheTransparentIndex) {
  TBitmap target = Paletted(3, 1, PixelFormat::pf4bit, {clBlack, RGB(250, 0, 0), RGB(0, 0, 250)});
  TBitmap overlay = Paletted(2, 1, PixelFormat::pf8bit, {clWhite, RGB(255, 0, 0), RGB(0, 0, 255)});
  overlay.SetPixelIndex(0, 0, 1);
  overlay.SetPixelIndex(1, 0, 2);
  WatermarkGIF(target, overlay, true, 0, 1, 2);  // overlay on columns 1 and 2
  EXPECT_EQ(target.PixelIndex(0, 0), 0);
  EXPECT_EQ(target.PixelIndex(1, 0), 1);
  EXPECT_EQ(target.PixelIndex(2, 0), 0);  // index 2 is transparent
  WatermarkGIF(target, overlay, false, 0, 1, 2);
  EXPECT_EQ(target.PixelIndex(2, 0), 2);

  try {
    WatermarkGIF(target, Filled(1, 1, 0), false, 0, 0, 0);
    FAIL() << "a 24-bit overlay was accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), msg::kWatermarkGifColourDepth);
  }
}

}  // namespace
}  // namespace pk
