#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include "platform/canvas.h"
#include "platform/exceptions.h"
#include "platform/palette.h"

namespace pk {
namespace {

TEST(Bitmap, RowsArePaddedToFourBytes) {
  const struct { int width; PixelFormat format; int64_t stride; } cases[] = {
      {1, PixelFormat::pf1bit, 4},  {33, PixelFormat::pf1bit, 8}, {9, PixelFormat::pf4bit, 8},
      {5, PixelFormat::pf8bit, 8},  {1, PixelFormat::pf24bit, 4}, {4, PixelFormat::pf24bit, 12},
      {3, PixelFormat::pf16bit, 8}, {0, PixelFormat::pf24bit, 0}};
  for (const auto& c : cases) EXPECT_EQ(TBitmap(c.width, 2, c.format).RowBytes(), c.stride) << c.width;
}

TEST(Bitmap, ScanLineOutOfRangeRaises) {
  TBitmap b(2, 2, PixelFormat::pf24bit);
  EXPECT_NO_THROW(b.ScanLine(1));
  try {
    b.ScanLine(2);
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), u"Scan line index out of range");
  }
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
}

TEST(Bitmap, ResizingKeepsTheTopLeftOverlapAndClearsTheRest) {
  TBitmap b(3, 2, PixelFormat::pf1bit);
  b.SetColorTable(DefaultPalette(PixelFormat::pf1bit));
  b.ScanLine(0)[0] = 0xFF;  // pixels 0-2 set, padding bits set as well
  b.SetWidth(10);
  EXPECT_EQ(b.PixelIndex(2, 0), 1);
  EXPECT_EQ(b.PixelIndex(3, 0), 0);
  EXPECT_EQ(b.ColorTable().size(), 2u);
  b.SetHeight(1);
  EXPECT_EQ(b.Height(), 1);
  EXPECT_EQ(b.GetPixelFormat(), PixelFormat::pf1bit);
}

TEST(Bitmap, SetPaletteKeepsThePictureSetColorTableKeepsTheIndexes) {
  TBitmap b(2, 1, PixelFormat::pf8bit);
  const TColor red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  b.SetColorTable(std::vector<TColor>{red, blue});
  b.SetPixelIndex(1, 0, 1);
  TBitmap remapped(b);
  remapped.SetPalette(std::vector<TColor>{blue, red});
  EXPECT_EQ(remapped.PixelIndex(0, 0), 1);
  EXPECT_EQ(remapped.PixelColor(1, 0), blue);
  b.SetColorTable(std::vector<TColor>{blue, red});
  EXPECT_EQ(b.PixelIndex(1, 0), 1);
  EXPECT_EQ(b.PixelColor(1, 0), red);
}

TEST(Bitmap, MissingTableEntriesReadBlack) {
  TBitmap b(1, 1, PixelFormat::pf8bit);
  b.SetColorTable(std::vector<TColor>{clWhite});
  b.SetPixelIndex(0, 0, 200);
  EXPECT_EQ(b.PixelColor(0, 0), clBlack);
  EXPECT_EQ(b.ColorTableEntry(0), clWhite);
}

TEST(Bitmap, PixelFormatConversions) {
  TBitmap b(2, 1, PixelFormat::pf8bit);
  b.SetColorTable(std::vector<TColor>{RGB(10, 20, 30), RGB(250, 250, 250)});
  b.SetPixelIndex(1, 0, 1);
  TBitmap wide(b);
  wide.SetPixelFormat(PixelFormat::pf24bit);
  EXPECT_EQ(wide.PixelColor(0, 0), RGB(10, 20, 30));
  EXPECT_TRUE(wide.HasPalette());
  wide.SetPixelFormat(PixelFormat::pf4bit);  // down: nearest VGA colour
  EXPECT_EQ(wide.PixelColor(0, 0), clBlack);
  EXPECT_EQ(wide.PixelColor(1, 0), clWhite);
  EXPECT_EQ(wide.ColorTable().size(), 16u);
  TBitmap up(2, 1, PixelFormat::pf1bit);
  up.SetColorTable(std::vector<TColor>{RGB(1, 2, 3), RGB(4, 5, 6)});
  up.SetPixelIndex(1, 0, 1);
  up.SetPixelFormat(PixelFormat::pf8bit);  // up between palette formats: indexes kept
  EXPECT_EQ(up.PixelIndex(1, 0), 1);
  EXPECT_EQ(up.PixelColor(1, 0), RGB(4, 5, 6));
  TBitmap deep(1, 1, PixelFormat::pf32bit);
  deep.SetPixelColor(0, 0, RGB(1, 2, 3));
  deep.SetPixelFormat(PixelFormat::pf24bit);
  EXPECT_EQ(deep.PixelColor(0, 0), RGB(1, 2, 3));
}

TEST(Bitmap, RefusesSizesAboveTheLimitBeforeAllocating) {
  EXPECT_THROW(TBitmap(60000, 60000, PixelFormat::pf24bit), EOutOfResources);
  EXPECT_THROW(TBitmap(-1, 1, PixelFormat::pf24bit), EInvalidGraphic);
  TBitmap b;
  EXPECT_THROW(b.SetSize(INT32_MAX, INT32_MAX), EOutOfResources);
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, AssignIsDeep) {
  TBitmap a(1, 1, PixelFormat::pf24bit);
  TBitmap b;
  b.Assign(a);
  a.SetPixelColor(0, 0, clWhite);
  EXPECT_EQ(b.PixelColor(0, 0), clBlack);
}

TEST(Canvas, FloodFillBorderAndSurface) {
  TBitmap b(5, 5, PixelFormat::pf24bit);
  auto& c = b.Canvas();
  c.Brush.Color = clWhite;
  c.Pen.Color = RGB(255, 0, 0);
  c.Rectangle(Rect(0, 0, 5, 5));
  EXPECT_EQ(c.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.Pixel(2, 2), clWhite);
  c.Brush.Color = RGB(0, 255, 0);
  c.FloodFill(2, 2, RGB(255, 0, 0), TFillStyle::fsBorder);
  EXPECT_EQ(c.Pixel(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(c.Pixel(0, 4), RGB(255, 0, 0));
  c.Brush.Color = clBlack;
  c.FloodFill(0, 0, RGB(255, 0, 0), TFillStyle::fsSurface);
  EXPECT_EQ(c.Pixel(4, 4), clBlack);
  EXPECT_EQ(c.Pixel(2, 2), RGB(0, 255, 0));
}

TEST(Canvas, CopyIntoAPaletteBitmapTakesTheNearestEntry) {
  TBitmap src(2, 1, PixelFormat::pf24bit);
  src.SetPixelColor(0, 0, RGB(250, 0, 0));
  src.SetPixelColor(1, 0, RGB(0, 0, 200));
  TBitmap dst(2, 1, PixelFormat::pf4bit);
  dst.SetColorTable(std::vector<TColor>{clBlack, RGB(255, 0, 0), RGB(0, 0, 255)});
  dst.Canvas().Draw(0, 0, src);
  EXPECT_EQ(dst.PixelIndex(0, 0), 1);
  EXPECT_EQ(dst.PixelIndex(1, 0), 2);
}

}  // namespace
}  // namespace pk
