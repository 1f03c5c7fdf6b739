// The resize driver: the step-wise reduction and when it applies, the
// unresampled stretch per pixel format, and the faults it guards against
// (division by zero, an endless chain, a filter type past the table).
#include "core/resize.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/resample.h"
#include "core/messages.h"
#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {
namespace {

TBitmap Pattern24(int width, int height) {
  TBitmap b(width, height, PixelFormat::pf24bit);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.SetPixelColor(x, y, RGB(uint8_t(x * 7 + y), uint8_t(x ^ y), uint8_t((x * y) >> 3)));
  return b;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.GetPixelFormat() != b.GetPixelFormat()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.PixelColor(x, y) != b.PixelColor(x, y)) return false;
  return true;
}

// ResampleTwoPass through the given sizes, one after another.
TBitmap Chain(const TBitmap& source, std::initializer_list<std::pair<int, int>> sizes, int filter) {
  TBitmap current(source);
  for (const auto& [w, h] : sizes) {
    TBitmap next(w, h, PixelFormat::pf24bit);
    ResampleTwoPass(current, next, ResampleFilterTable[filter].Filter, ResampleFilterTable[filter].Support);
    current.Assign(next);
  }
  return current;
}

TEST(ResizeBitmap, StrongReductionsGoInStepsOfSixTenths) {
  TBitmap source = Pattern24(1000, 800);
  std::unique_ptr<TBitmap> dest;
  ResizeBitmap(100, 80, dest, source, true, 1);
  const TBitmap expected = Chain(source, {{600, 480}, {360, 288}, {216, 173}, {130, 104}, {100, 80}}, 1);
  EXPECT_TRUE(SamePixels(*dest, expected));
  // One step straight to the target would differ.
  EXPECT_FALSE(SamePixels(*dest, Chain(source, {{100, 80}}, 1)));
}

TEST(ResizeBitmap, WhenTheFirstStepReachesTheTargetItIsTheOnlyOne) {
  TBitmap source(50, 40, PixelFormat::pf8bit);
  source.SetColorTable(std::vector<TColor>{clBlack, RGB(200, 100, 50)});
  for (int x = 0; x < 50; x += 3) source.SetPixelIndex(x, x % 40, 1);
  std::unique_ptr<TBitmap> dest = std::make_unique<TBitmap>(5, 5, PixelFormat::pf1bit);
  ResizeBitmap(35, 28, dest, source, true, 1);
  TBitmap as24(source);
  as24.SetPixelFormat(PixelFormat::pf24bit);
  EXPECT_TRUE(SamePixels(*dest, Chain(as24, {{35, 28}}, 1)));
  // The step-wise path works on a copy: the source keeps its format.
  EXPECT_EQ(source.GetPixelFormat(), PixelFormat::pf8bit);
}

TEST(ResizeBitmap, SingleStepCasesConvertTheSourceTo24Bit) {
  struct Case {
    int SrcW, SrcH, NewW, NewH, Filter;
  };
  const Case cases[] = {
      {100, 80, 10, 8, 0},   // filter 0 is Triangle, never step-wise
      {40, 30, 90, 70, 1},   // enlarging
      {100, 80, 10, 20, 5},  // landscape to portrait: not the same aspect
  };
  for (const Case& c : cases) {
    TBitmap source(c.SrcW, c.SrcH, PixelFormat::pf4bit);
    source.SetColorTable(std::vector<TColor>{clBlack, clWhite});
    source.SetPixelIndex(1, 1, 1);
    TBitmap as24(source);
    as24.SetPixelFormat(PixelFormat::pf24bit);
    std::unique_ptr<TBitmap> dest;
    ResizeBitmap(c.NewW, c.NewH, dest, source, true, static_cast<uint8_t>(c.Filter));
    EXPECT_EQ(source.GetPixelFormat(), PixelFormat::pf24bit) << c.NewW;
    EXPECT_TRUE(SamePixels(*dest, Chain(as24, {{c.NewW, c.NewH}}, c.Filter == 0 ? 1 : c.Filter))) << c.NewW;
  }
}

TEST(ResizeBitmap, PortraitShrinkIsStepWise) {
  TBitmap source = Pattern24(80, 100);
  std::unique_ptr<TBitmap> dest;
  ResizeBitmap(20, 25, dest, source, true, 4);
  EXPECT_TRUE(SamePixels(*dest, Chain(source, {{48, 60}, {29, 36}, {20, 25}}, 4)));
}

TEST(ResizeBitmap, UnresampledHalftoneAveragesAreas) {
  TBitmap source(4, 2, PixelFormat::pf24bit);
  const TColor row[] = {RGB(0, 0, 0), RGB(100, 10, 1), RGB(255, 255, 255), RGB(1, 1, 1)};
  for (int x = 0; x < 4; ++x) source.SetPixelColor(x, 0, row[x]), source.SetPixelColor(x, 1, row[x]);
  std::unique_ptr<TBitmap> dest;
  ResizeBitmap(2, 1, dest, source, false, 0);
  EXPECT_EQ(dest->GetPixelFormat(), PixelFormat::pf24bit);
  EXPECT_EQ(dest->PixelColor(0, 0), RGB(50, 5, 0));  // 0.5 rounds to even
  EXPECT_EQ(dest->PixelColor(1, 0), RGB(128, 128, 128));
}

TEST(ResizeBitmap, UnresampledPaletteImagesKeepFormatPaletteAndIndexes) {
  // Entries 1 and 2 share a colour: the indexes must survive as they are.
  const std::vector<TColor> table{clBlack, RGB(9, 9, 9), RGB(9, 9, 9), clWhite};
  for (const PixelFormat format : {PixelFormat::pf4bit, PixelFormat::pf8bit}) {
    TBitmap source(3, 2, format);
    source.SetColorTable(table);
    source.SetPixelIndex(0, 0, 2);
    source.SetPixelIndex(2, 1, 3);
    std::unique_ptr<TBitmap> dest;
    ResizeBitmap(6, 4, dest, source, false, 0);
    EXPECT_EQ(dest->GetPixelFormat(), format);
    EXPECT_EQ(dest->ColorTableEntry(3), clWhite);
    EXPECT_EQ(dest->PixelIndex(1, 1), 2);  // repeated
    EXPECT_EQ(dest->PixelIndex(5, 3), 3);
    ResizeBitmap(2, 1, dest, source, false, 0);  // dropped rows and columns
    EXPECT_EQ(dest->PixelIndex(0, 0), 2);
  }
}

TEST(ResizeBitmap, UnresampledOneBitImagesKeepBlackWhenShrinking) {
  TBitmap source(8, 4, PixelFormat::pf1bit);
  source.SetColorTable(std::vector<TColor>{clWhite, clBlack});  // index 1 is black
  source.SetPixelIndex(3, 3, 1);
  std::unique_ptr<TBitmap> dest;
  ResizeBitmap(2, 1, dest, source, false, 0);
  EXPECT_EQ(dest->GetPixelFormat(), PixelFormat::pf1bit);
  EXPECT_EQ(dest->PixelColor(0, 0), clBlack);
  EXPECT_EQ(dest->PixelColor(1, 0), clWhite);
}

// A target height of 0 or a source without rows would divide by zero in the
// aspect test: it raises the division error, and Dest keeps what it held.
TEST(ResizeBitmap, ZeroHeightsRaiseDivisionByZero) {
  for (const auto& [source_height, new_height] : {std::pair{5, 0}, std::pair{0, 5}})
    for (const bool resample : {false, true}) {
      TBitmap source(5, source_height, PixelFormat::pf24bit);
      auto dest = std::make_unique<TBitmap>(3, 3, PixelFormat::pf8bit);
      const TBitmap* held = dest.get();
      try {
        ResizeBitmap(4, new_height, dest, source, resample, 1);
        FAIL() << "no exception";
      } catch (const EDivByZero& e) {
        EXPECT_EQ(e.Message(), msg::kDivisionByZero);
      }
      EXPECT_EQ(dest.get(), held);
    }
}

// Once one-row images resample, a target width of 0 must not shrink the chain
// to one pixel and loop there for ever.
TEST(ResizeBitmap, AChainToWidthZeroEnds) {
  TBitmap source = Pattern24(40, 50);
  std::unique_ptr<TBitmap> dest;
  ResizeBitmap(0, 1, dest, source, true, 1);
  EXPECT_EQ(dest->Width(), 0);
  EXPECT_EQ(dest->Height(), 1);
}

TEST(ResizeBitmap, OneRowImagesResize) {
  TBitmap source = Pattern24(30, 1);
  std::unique_ptr<TBitmap> dest;
  ResizeBitmap(10, 1, dest, source, true, 1);  // 10 div 1 <> 30 div 1: one step
  EXPECT_EQ(dest->Width(), 10);
  EXPECT_EQ(dest->PixelColor(0, 0), source.PixelColor(0, 0));
  EXPECT_EQ(dest->PixelColor(9, 0), source.PixelColor(29, 0));
}

// A filter type above 6 is refused rather than read past the table.
TEST(ResizeBitmap, FilterTypeOutsideTheTableRaises) {
  TBitmap source = Pattern24(20, 10);
  std::unique_ptr<TBitmap> dest;
  for (const int filter : {7, 255}) {
    try {
      ResizeBitmap(10, 5, dest, source, true, static_cast<uint8_t>(filter));
      FAIL() << "no exception";
    } catch (const ERangeError& e) {
      EXPECT_EQ(e.Message(), msg::kInvalidFilterType + std::u16string(filter == 7 ? u"7" : u"255"));
    }
  }
  EXPECT_EQ(dest, nullptr);
  EXPECT_EQ(source.GetPixelFormat(), PixelFormat::pf24bit);
  ResizeBitmap(10, 5, dest, source, false, 200);  // not read without resampling
  EXPECT_EQ(dest->Width(), 10);
}

TEST(ResizeBitmap, DestMayHoldTheSource) {
  auto dest = std::make_unique<TBitmap>(Pattern24(30, 20));
  const TBitmap copy(*dest);
  ResizeBitmap(15, 10, dest, *dest, false, 0);
  EXPECT_EQ(dest->Width(), 15);
  ResizeBitmap(30, 20, dest, *dest, true, 1);
  EXPECT_EQ(dest->Width(), 30);
}

}  // namespace
}  // namespace pk
