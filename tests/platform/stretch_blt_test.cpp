// The platform's stretching copy in its three modes, mirrored rectangles and
// clipping.
#include "platform/stretch_blt.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"

namespace pk {
namespace {

TBitmap Row24(std::initializer_list<TColor> colours) {
  TBitmap b(static_cast<int>(colours.size()), 1, PixelFormat::pf24bit);
  int x = 0;
  for (const TColor c : colours) b.SetPixelColor(x++, 0, c);
  return b;
}

TEST(StretchBlt, HalftoneWeighsEachSourcePixelByTheAreaItCovers) {
  // 3 to 2: destination 0 covers pixel 0 and half of pixel 1.
  const TBitmap src = Row24({RGB(90, 0, 30), RGB(0, 90, 60), RGB(30, 30, 255)});
  TBitmap dst(2, 1, PixelFormat::pf24bit);
  StretchBlt(dst, Rect(0, 0, 2, 1), src, Rect(0, 0, 3, 1), StretchMode::Halftone);
  EXPECT_EQ(dst.PixelColor(0, 0), RGB(60, 30, 40));
  EXPECT_EQ(dst.PixelColor(1, 0), RGB(20, 50, 190));

  // 2 x 2 blocks of a 4 x 4 image, vertically too.
  TBitmap square(4, 4, PixelFormat::pf24bit);
  square.SetPixelColor(0, 0, RGB(200, 0, 0));
  square.SetPixelColor(1, 1, RGB(200, 0, 0));
  square.SetPixelColor(3, 3, RGB(0, 0, 40));
  TBitmap half(2, 2, PixelFormat::pf24bit);
  StretchBlt(half, Rect(0, 0, 2, 2), square, Rect(0, 0, 4, 4), StretchMode::Halftone);
  EXPECT_EQ(half.PixelColor(0, 0), RGB(100, 0, 0));
  EXPECT_EQ(half.PixelColor(1, 1), RGB(0, 0, 10));
  EXPECT_EQ(half.PixelColor(1, 0), clBlack);
}

TEST(StretchBlt, HalftoneIntoAPaletteTargetTakesTheNearestEntry) {
  const TBitmap src = Row24({clWhite, RGB(200, 200, 200)});
  TBitmap dst(1, 1, PixelFormat::pf8bit);
  dst.SetColorTable(std::vector<TColor>{clBlack, RGB(225, 225, 225), clWhite});
  StretchBlt(dst, Rect(0, 0, 1, 1), src, Rect(0, 0, 2, 1), StretchMode::Halftone);
  EXPECT_EQ(dst.PixelIndex(0, 0), 1);
}

TEST(StretchBlt, BlackOnWhiteKeepsDarkPixelsWhenShrinking) {
  TBitmap src(6, 1, PixelFormat::pf1bit);
  src.SetColorTable(std::vector<TColor>{clBlack, clWhite});
  for (int x = 0; x < 6; ++x) src.SetPixelIndex(x, 0, x == 4 ? 0 : 1);
  TBitmap dst(3, 1, PixelFormat::pf1bit);
  dst.SetColorTable(std::vector<TColor>{clBlack, clWhite});
  StretchBlt(dst, Rect(0, 0, 3, 1), src, Rect(0, 0, 6, 1), StretchMode::BlackOnWhite);
  EXPECT_EQ(dst.PixelIndex(0, 0), 1);
  EXPECT_EQ(dst.PixelIndex(1, 0), 1);
  EXPECT_EQ(dst.PixelIndex(2, 0), 0);
  // ColorOnColor just takes a pixel: the first of each pair.
  StretchBlt(dst, Rect(0, 0, 3, 1), src, Rect(0, 0, 6, 1), StretchMode::ColorOnColor);
  EXPECT_EQ(dst.PixelIndex(2, 0), 0);
  src.SetPixelIndex(4, 0, 1);
  src.SetPixelIndex(5, 0, 0);
  StretchBlt(dst, Rect(0, 0, 3, 1), src, Rect(0, 0, 6, 1), StretchMode::ColorOnColor);
  EXPECT_EQ(dst.PixelIndex(2, 0), 1);
}

TEST(StretchBlt, ColorOnColorRepeatsAndDropsPixelsByIndex) {
  TBitmap src(2, 1, PixelFormat::pf4bit);
  src.SetColorTable(std::vector<TColor>{clBlack, RGB(5, 5, 5), RGB(5, 5, 5)});
  src.SetPixelIndex(1, 0, 2);
  TBitmap dst(4, 2, PixelFormat::pf4bit);
  dst.SetColorTable(src.ColorTable());
  StretchBlt(dst, Rect(0, 0, 4, 2), src, Rect(0, 0, 2, 1), StretchMode::ColorOnColor);
  EXPECT_EQ(dst.PixelIndex(1, 1), 0);
  EXPECT_EQ(dst.PixelIndex(2, 1), 2);
  EXPECT_EQ(dst.PixelIndex(3, 0), 2);
}

TEST(StretchBlt, OppositeDirectionsMirrorAndEverythingIsClipped) {
  const TBitmap src = Row24({RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)});
  TBitmap dst(3, 1, PixelFormat::pf24bit);
  StretchBlt(dst, Rect(3, 0, 0, 1), src, Rect(0, 0, 3, 1), StretchMode::Halftone);
  EXPECT_EQ(dst.PixelColor(0, 0), RGB(3, 0, 0));
  EXPECT_EQ(dst.PixelColor(2, 0), RGB(1, 0, 0));

  // A source rectangle half outside the source: the missing part is dropped,
  // a destination pixel averages what exists, one that sees nothing stays.
  TBitmap wide(3, 1, PixelFormat::pf24bit);
  for (int x = 0; x < 3; ++x) wide.SetPixelColor(x, 0, RGB(9, 9, 9));
  StretchBlt(wide, Rect(-1, 0, 3, 1), src, Rect(-1, 0, 7, 1), StretchMode::Halftone);
  EXPECT_EQ(wide.PixelColor(0, 0), RGB(2, 0, 0));  // (2 + 3) / 2 rounds half to even
  EXPECT_EQ(wide.PixelColor(1, 0), RGB(9, 9, 9));  // source pixels 3 and 4 do not exist
  EXPECT_EQ(wide.PixelColor(2, 0), RGB(9, 9, 9));
}

}  // namespace
}  // namespace pk
