// The geometry, colour, palette and colour-text members of the automation
// object: the sizes the resizes and crops give (tables of the documented
// cases), their failures on computed sizes, the alpha channel following every
// change of geometry, colour depth both ways, and the palette members on 1-,
// 4-, 8- and 24-bit images, with "No image loaded." where there is none.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/image_functions.h"
#include "core/image_codec.h"
#include "platform/exceptions.h"
#include "platform/palette.h"
#include "platform/stream.h"
#include "tests/support/bmp_samples.h"
#include "tests/support/expect_raises.h"
#include "tests/support/stand_in_codecs.h"

namespace pk {
namespace {

using test::EncodedBmp;
using test::ExpectRaises;

// A 24-bit image whose pixel (x, y) is (x, y, 7), or a paletted one whose
// pixel is index (x + y) modulo the palette's size, with a given table.
TBitmap Pattern(int width, int height, PixelFormat format, std::vector<TColor> table = {}) {
  TBitmap b(width, height, format);
  if (IsPaletted(format)) b.SetColorTable(table.empty() ? DefaultPalette(format) : table);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (IsPaletted(format))
        b.SetPixelIndex(x, y, (x + y) % PaletteCapacity(format));
      else
        b.SetPixelColor(x, y, RGB(uint8_t(x), uint8_t(y), 7));
    }
  return b;
}

void Load(TImageFunctions& object, TBitmap image) { object.ReadVariant(EncodedBmp(std::move(image))); }

const TBitmap& Image(const TImageFunctions& object) { return object.State().Image(); }

// --- Geometry ---------------------------------------------------------------

TEST(GeometryMembers, ResizesGiveTheDocumentedSizes) {
  struct Case {
    const char* what;
    int width, height;
    std::function<void(TImageFunctions&)> act;
    int new_width, new_height;
  };
  const Case cases[] = {
      {"Resize(200, 0)", 400, 300, [](TImageFunctions& o) { o.Resize(200, 0); }, 200, 150},
      {"Resize(0, 0)", 400, 300, [](TImageFunctions& o) { o.Resize(0, 0); }, 400, 300},
      {"Resize(-5, 100)", 400, 300, [](TImageFunctions& o) { o.Resize(-5, 100); }, 133, 100},
      {"ResizeFit(500, 500)", 400, 300, [](TImageFunctions& o) { o.ResizeFit(500, 500); }, 400, 300},
      {"ResizeFit(200, 200)", 400, 300, [](TImageFunctions& o) { o.ResizeFit(200, 200); }, 200, 150},
      {"ResizeFit(1000, 30)", 400, 300, [](TImageFunctions& o) { o.ResizeFit(1000, 30); }, 40, 30},
      {"Scale(50)", 401, 301, [](TImageFunctions& o) { o.Scale(50); }, 200, 150},
      {"Scale(0)", 401, 301, [](TImageFunctions& o) { o.Scale(0); }, 401, 301},
      {"Scale(250)", 40, 30, [](TImageFunctions& o) { o.Scale(250); }, 100, 75},
  };
  for (const bool resample : {false, true}) {
    for (const Case& c : cases) {
      TImageFunctions object;
      object.SetResample(resample);
      Load(object, Pattern(c.width, c.height, PixelFormat::pf8bit));
      c.act(object);
      EXPECT_EQ(object.Width(), c.new_width) << c.what;
      EXPECT_EQ(object.Height(), c.new_height) << c.what;
      // Resampled results are 24-bit; the others keep the image's format.
      const bool changed = c.new_width != c.width;
      EXPECT_EQ(object.ColorDepth(), resample && changed ? 24 : 8) << c.what;
    }
  }
}

TEST(GeometryMembers, EmptyImagesAreNotResized) {
  TImageFunctions object;
  object.Resize(10, 10);
  object.Scale(50);
  object.ResizeFit(10, 10);
  EXPECT_EQ(object.Width(), 0);
}

// Fault guarded: sizes computed from clients' longs are taken in 64 bits; a
// computed height of 0 fails with the division error and a size past the
// bitmap limit with a clear error, the image kept either way.
TEST(GeometryMembers, ComputedSizesFailCleanly) {
  struct Case {
    const char* what;
    int width, height;
    std::function<void(TImageFunctions&)> act;
  };
  const Case divisions[] = {
      {"Resize(1, 0)", 400, 300, [](TImageFunctions& o) { o.Resize(1, 0); }},
      {"Scale(10)", 400, 9, [](TImageFunctions& o) { o.Scale(10); }},
  };
  for (const Case& c : divisions) {
    TImageFunctions object;
    Load(object, Pattern(c.width, c.height, PixelFormat::pf24bit));
    ExpectRaises<EDivByZero>([&] { c.act(object); }, u"Division by zero");
    EXPECT_EQ(object.Height(), c.height) << c.what;
  }
  const std::function<void(TImageFunctions&)> oversized[] = {
      [](TImageFunctions& o) { o.Resize(0, 2147483647); },
      [](TImageFunctions& o) { o.Resize(2147483647, 2147483647); },
      [](TImageFunctions& o) { o.Scale(2147483647); },
      [](TImageFunctions& o) { o.Crop(-2147483647 - 1, 0, 2147483647, 10); },
      [](TImageFunctions& o) { o.Crop(0, 0, 100000, 100000); },
  };
  for (const auto& act : oversized) {
    TImageFunctions object;
    Load(object, Pattern(400, 300, PixelFormat::pf24bit));
    EXPECT_THROW(act(object), Exception);
    EXPECT_EQ(object.Width(), 400);
    EXPECT_EQ(Image(object).PixelColor(5, 6), RGB(5, 6, 7));
  }
  TImageFunctions object;
  ExpectRaises<EInvalidGraphic>([&] { object.ResizeFit(0, 100); }, u"MaxWidth or MaxHeight must not be zero.");
}

TEST(GeometryMembers, CropsTakeAnyCornerOrderAndExtendWithTheTransparentColour) {
  struct Case {
    int x1, y1, x2, y2;
    int width, height;
    int source_x, source_y;  // where the image's pixel (0, 0) lands, if inside
  };
  // Corners in either order; beyond the edges; one pixel wide or high (a flood
  // fill from (1, 1) would leave those unpainted); wholly outside.
  const Case cases[] = {{10, 10, 0, 0, 10, 10, 0, 0},  {0, 0, 10, 10, 10, 10, 0, 0}, {-10, 0, 10, 10, 20, 10, 10, 0},
                        {-1, -1, 0, 5, 1, 6, -1, -1},  {0, -1, 7, 0, 7, 1, -1, -1}, {30, 30, 33, 31, 3, 1, -1, -1},
                        {5, 5, 5, 9, 0, 4, -1, -1}};
  for (const Case& c : cases) {
    TImageFunctions object;
    object.SetTransparentColor(u"123456");
    Load(object, Pattern(20, 20, PixelFormat::pf24bit));
    object.Crop(c.x1, c.y1, c.x2, c.y2);
    const TBitmap& image = Image(object);
    ASSERT_EQ(image.Width(), c.width);
    ASSERT_EQ(image.Height(), c.height);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const int sx = x + std::min(c.x1, c.x2), sy = y + std::min(c.y1, c.y2);
        const bool inside = sx >= 0 && sy >= 0 && sx < 20 && sy < 20;
        ASSERT_EQ(image.PixelColor(x, y), inside ? RGB(uint8_t(sx), uint8_t(sy), 7) : RGB(0x12, 0x34, 0x56))
            << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2 << " at " << x << "," << y;
      }
    EXPECT_EQ(object.ColorDepth(), 24);
  }
}

TEST(GeometryMembers, CropOfAPaletteImageAddsTheTransparentColourToAFreeEntry) {
  std::vector<TColor> table(256, clBlack);
  for (int i = 0; i < 256; ++i) table[i] = RGB(uint8_t(i), 0, 0);
  TImageFunctions object;
  object.SetTransparentColor(u"00FF00");
  Load(object, Pattern(10, 10, PixelFormat::pf8bit, table));  // indexes 0 to 18 in use
  object.Crop(-2, 0, 5, 5);
  const TBitmap& image = Image(object);
  EXPECT_EQ(image.GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_EQ(image.PixelIndex(0, 0), 19);
  EXPECT_EQ(image.ColorTableEntry(19), RGB(0, 255, 0));
  EXPECT_EQ(image.PixelIndex(2, 3), 3);
}

TEST(GeometryMembers, FlipsMirrorAndUndoThemselves) {
  TImageFunctions object;
  Load(object, Pattern(5, 4, PixelFormat::pf24bit));
  object.FlipX();
  EXPECT_EQ(Image(object).PixelColor(1, 3), RGB(1, 0, 7));  // the top row went to the bottom
  object.FlipX();
  EXPECT_EQ(Image(object).PixelColor(1, 3), RGB(1, 3, 7));
  object.FlipY();
  EXPECT_EQ(Image(object).PixelColor(0, 2), RGB(4, 2, 7));
}

TEST(GeometryMembers, GreyInvertAndColourDepth) {
  TImageFunctions object;
  TBitmap pixel(2, 1, PixelFormat::pf24bit);
  pixel.SetPixelColor(0, 0, RGB(10, 20, 31));
  Load(object, std::move(pixel));
  object.Grayscale();
  EXPECT_EQ(object.ColorDepth(), 8);
  EXPECT_TRUE(object.JpegGrayscale());
  EXPECT_EQ(Image(object).PixelColor(0, 0), RGB(20, 20, 20));  // (10 + 20 + 31) div 3
  object.Invert();
  EXPECT_EQ(Image(object).PixelColor(0, 0), RGB(235, 235, 235));
  object.SetColorDepth(16);
  EXPECT_EQ(object.ColorDepth(), 24);
  EXPECT_FALSE(object.JpegGrayscale());
  EXPECT_EQ(Image(object).GetPixelFormat(), PixelFormat::pf24bit);
  EXPECT_EQ(Image(object).PixelColor(0, 0), RGB(235, 235, 235));
}

TEST(GeometryMembers, ColourDepthDownKeepsFewColoursAndUpKeepsIndexes) {
  TImageFunctions object;
  TBitmap image(6, 2, PixelFormat::pf24bit);
  for (int x = 0; x < 6; ++x) image.SetPixelColor(x, 1, RGB(200, 30, 90));
  Load(object, std::move(image));
  object.SetColorDepth(8);
  EXPECT_EQ(object.ColorDepth(), 8);
  EXPECT_EQ(Image(object).PixelColor(3, 1), RGB(200, 30, 90));
  EXPECT_EQ(Image(object).PixelColor(3, 0), clBlack);
  object.SetColorDepth(1);
  EXPECT_EQ(object.ColorDepth(), 1);
  EXPECT_EQ(Image(object).GetPixelFormat(), PixelFormat::pf1bit);
  EXPECT_EQ(Image(object).PixelColor(3, 1), RGB(200, 30, 90));
  object.SetColorDepth(4);
  EXPECT_EQ(Image(object).GetPixelFormat(), PixelFormat::pf4bit);
  EXPECT_EQ(Image(object).PixelIndex(3, 1), 1);
  EXPECT_EQ(Image(object).PixelIndex(3, 0), 0);
}

// A decoder standing in for a PNG with an alpha channel: a 40 x 30 image whose
// alpha at (x, y) is 6 x.
TDecodedImage AlphaDecoder(std::span<const uint8_t>, const TDecodeOptions&) {
  TDecodedImage image;
  image.bitmap = Pattern(40, 30, PixelFormat::pf24bit);
  image.alpha = std::make_unique<TAlpha>();
  image.alpha->SetTransparencyType(TTransparencyType::ttAlpha);
  image.alpha->SetWidth(40);
  image.alpha->SetHeight(30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) image.alpha->SetAlphaPixel(x, y, uint8_t(6 * x));
  return image;
}

TEST(GeometryMembers, TheAlphaChannelFollowsEveryChangeOfGeometry) {
  const std::vector<TImageCodec> codecs = test::CodecsWithPngStandIn(AlphaDecoder);
  TImageFunctions object;
  object.SetCodecs(codecs);
  object.ReadVariant(std::vector<uint8_t>{0x89, 'P', 'N', 'G'});
  // Each change hands the state a new record: look it up afresh.
  const auto alpha = [&object] { return std::cref(object.State().Alpha()); };
  ASSERT_EQ(alpha().get().TransparencyType(), TTransparencyType::ttAlpha);

  object.FlipY();
  EXPECT_EQ(alpha().get().GetAlphaPixel(0, 0), 6 * 39);
  object.FlipY();
  object.SetExtraAlphaValue(77);
  object.Crop(-5, 0, 10, 10);
  EXPECT_EQ(alpha().get().Width(), 15);
  EXPECT_EQ(alpha().get().GetAlphaPixel(0, 0), 77);
  EXPECT_EQ(alpha().get().GetAlphaPixel(7, 3), 12);
  object.Grayscale();
  EXPECT_EQ(alpha().get().GetAlphaPixel(7, 3), 12);
  for (const bool resample : {false, true}) {
    object.SetResample(resample);
    object.Resize(30, 20);
    EXPECT_EQ(alpha().get().Width(), 30);
    EXPECT_EQ(alpha().get().Height(), 20);
    object.Scale(50);
    EXPECT_EQ(alpha().get().Width(), object.Width());
    EXPECT_EQ(alpha().get().Height(), object.Height());
  }
}

TEST(AlphaMembers, CombineAlphaWithBGBlendsOntoTheBackgroundAndForgetsTheRecord) {
  const std::vector<TImageCodec> codecs = test::CodecsWithPngStandIn(AlphaDecoder);
  TImageFunctions object;
  object.SetCodecs(codecs);
  object.ReadVariant(std::vector<uint8_t>{0x89, 'P', 'N', 'G'});
  object.SetBackgroundColor(u"0000FF");
  object.CombineAlphaWithBG();
  EXPECT_EQ(object.State().Alpha().TransparencyType(), TTransparencyType::ttNone);
  EXPECT_EQ(Image(object).PixelColor(0, 5), RGB(0, 0, 255));  // alpha 0: the background alone
  const TColor opaque_most = Image(object).PixelColor(39, 5);  // alpha 234: mostly the pixel
  EXPECT_EQ(GetRValue(opaque_most), 36);                       // 39 * 234/255 rounded
  EXPECT_GT(GetBValue(opaque_most), 7);

  // A record of another kind is cleared and the pixels stay.
  Load(object, Pattern(4, 4, PixelFormat::pf8bit));
  const std::vector<uint8_t> before = object.VariantOut(u"bmp");
  object.CombineAlphaWithBG();
  EXPECT_EQ(object.VariantOut(u"bmp"), before);
  EXPECT_EQ(object.State().Alpha().TransparencyType(), TTransparencyType::ttNone);
}

// --- Palette and colour text --------------------------------------------

TEST(PaletteMembers, WithoutAnImageTheyRaise) {
  TImageFunctions object;
  const std::function<void()> members[] = {
      [&] { object.PaletteEntry(0); },      [&] { object.SetPaletteEntry(0, u"FFFFFF"); },
      [&] { object.PaletteSize(); },        [&] { object.ColorIndex(u"FFFFFF"); },
      [&] { object.FindUnusedColor(); },
  };
  for (const auto& member : members) ExpectRaises<EInvalidGraphic>(member, u"No image loaded.");
  object.ClearAlpha();
}

TEST(PaletteMembers, GreyPaletteEntriesAndIndexes) {
  TImageFunctions object;
  Load(object, Pattern(4, 4, PixelFormat::pf8bit, GreyPalette()));
  EXPECT_EQ(object.ColorIndex(u"808080"), 128);
  EXPECT_EQ(object.ColorIndex(u"#808081"), -1);
  EXPECT_EQ(object.PaletteEntry(128), u"808080");
  EXPECT_EQ(object.PaletteSize(), 256);
  ExpectRaises<EInvalidGraphic>([&] { object.PaletteEntry(300); }, u"Index out of range.");
  ExpectRaises<EInvalidGraphic>([&] { object.SetPaletteEntry(-1, u"000000"); }, u"Index out of range.");
  object.SetPaletteEntry(2, u"FF8000");
  EXPECT_EQ(Image(object).PixelColor(1, 1), RGB(255, 128, 0));  // index 2 kept, recoloured
  object.SetPaletteEntry(3, u"zz");
  EXPECT_EQ(object.PaletteEntry(3), u"000000");
}

TEST(PaletteMembers, FourBitAndTwentyFourBitImages) {
  TImageFunctions object;
  Load(object, Pattern(4, 4, PixelFormat::pf4bit));
  EXPECT_EQ(object.PaletteSize(), 16);
  object.SetPaletteEntry(20, u"FF0000");  // past the palette: nothing changes
  EXPECT_EQ(object.ColorIndex(u"FF0000"), 9);
  object.SetPaletteEntry(0, u"FF0000");
  EXPECT_EQ(object.ColorIndex(u"FF0000"), 0);

  Load(object, Pattern(4, 4, PixelFormat::pf24bit));
  EXPECT_EQ(object.PaletteSize(), 0);
  EXPECT_EQ(object.PaletteEntry(5), u"000000");
  EXPECT_EQ(object.PaletteEntry(500), u"000000");
  EXPECT_EQ(object.ColorIndex(u"000007"), -1);
  EXPECT_EQ(object.FindUnusedColor(), -1);
  object.SetPaletteEntry(1, u"FFFFFF");
  EXPECT_EQ(Image(object).PixelColor(1, 0), RGB(1, 0, 7));
}

TEST(PaletteMembers, FindUnusedColorReadsBitsAndNibblesInOrder) {
  struct Case {
    PixelFormat format;
    int width;
    std::vector<int> indexes;  // pixel x of the one row
    int expected;
  };
  // A single pixel sits in the most significant bit or the high nibble; the
  // rest of the byte is padding, 0, and must not count as a pixel.
  const Case cases[] = {{PixelFormat::pf1bit, 1, {1}, 0},
                        {PixelFormat::pf1bit, 9, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 0},
                        {PixelFormat::pf1bit, 2, {1, 0}, -1},
                        {PixelFormat::pf4bit, 1, {5}, 0},
                        {PixelFormat::pf4bit, 3, {0, 1, 3}, 2},
                        {PixelFormat::pf8bit, 3, {0, 1, 3}, 2}};
  for (const Case& c : cases) {
    TBitmap image(c.width, 1, c.format);
    image.SetColorTable(DefaultPalette(c.format));
    for (int x = 0; x < c.width; ++x) image.SetPixelIndex(x, 0, c.indexes[x]);
    TImageFunctions object;
    Load(object, std::move(image));
    EXPECT_EQ(object.FindUnusedColor(), c.expected) << BitsPerPixel(c.format) << " bits, " << c.width << " wide";
  }
}

TEST(ColourText, BothWays) {
  EXPECT_EQ(TImageFunctions::OLEColorToStr(255), u"FF0000");
  EXPECT_EQ(TImageFunctions::OLEColorToStr(16711680), u"0000FF");
  EXPECT_EQ(TImageFunctions::OLEColorToStr(-1), u"FFFFFF");
  EXPECT_EQ(TImageFunctions::StrToOLEColor(u"#FF8000"), 33023);
  EXPECT_EQ(TImageFunctions::StrToOLEColor(u"zz"), 0);
  EXPECT_EQ(TImageFunctions::StrToOLEColor(u"ooOoFF"), 16711680);
}

}  // namespace
}  // namespace pk
