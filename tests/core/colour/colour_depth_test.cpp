// Colour-depth reduction, two-colour reduction, pixel-format changes and the
// exact palette remap: the worked cases, sums over megapixels, the guarded
// faults (empty sources, direct-colour sources, oversized colour counts and
// mismatched sizes), and the 8-bit reduction of real photographs measured
// against ImageMagick's own quantiser.
#include "core/colour_depth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/exceptions.h"
#include "tests/core/support/pnm_image.h"

namespace pk {
namespace {

TBitmap Filled(int width, int height, PixelFormat format, TColor colour = clBlack) {
  TBitmap b(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixelColor(x, y, colour);
  return b;
}

std::vector<TColor> Entries(const TBitmap& b) { return {b.ColorTable().begin(), b.ColorTable().end()}; }

TEST(SetColourDepth, FewDistinctColoursSurviveFourBits) {
  // Ten colours, each pair apart in the upper four bits of some channel.
  std::vector<TColor> colours;
  for (int i = 0; i < 10; ++i) colours.push_back(RGB(static_cast<uint8_t>(i * 25), static_cast<uint8_t>(255 - i * 17), 40));
  TBitmap image(10, 3, PixelFormat::pf24bit);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x) image.SetPixelColor(x, y, colours[(x + y) % 10]);
  TBitmap reduced;
  SetColourDepth(image, reduced, PixelFormat::pf4bit);
  ASSERT_EQ(reduced.GetPixelFormat(), PixelFormat::pf4bit);
  ASSERT_EQ(reduced.ColorTable().size(), 16u);
  for (int i = 10; i < 16; ++i) EXPECT_EQ(reduced.ColorTableEntry(i), clBlack);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(reduced.PixelColor(x, y), image.PixelColor(x, y)) << x << "," << y;
}

TEST(SetColourDepth, ColoursSharingTheUpperBitsShareAnEntry) {
  TBitmap image = Filled(2, 1, PixelFormat::pf24bit, RGB(16, 32, 48));
  image.SetPixelColor(1, 0, RGB(18, 34, 50));
  TBitmap reduced;
  SetColourDepth(image, reduced, PixelFormat::pf4bit);
  EXPECT_EQ(reduced.PixelColor(0, 0), RGB(17, 33, 49));
  EXPECT_EQ(reduced.PixelColor(1, 0), RGB(17, 33, 49));
}

TEST(SetColourDepth, UpwardTargetsOnlySetTheFormat) {
  TBitmap fresh;
  SetColourDepth(Filled(5, 5, PixelFormat::pf1bit), fresh, PixelFormat::pf8bit);
  EXPECT_EQ(fresh.GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_TRUE(fresh.Empty());
  TBitmap untouched = Filled(3, 3, PixelFormat::pf24bit, RGB(1, 2, 3));
  SetColourDepth(Filled(5, 5, PixelFormat::pf24bit), untouched, PixelFormat::pf16bit);
  EXPECT_EQ(untouched.PixelColor(2, 2), RGB(1, 2, 3));
}

TEST(SetColourDepth, TwentyFourBitsToOneBitGoesThroughSixteenColours) {
  TBitmap image = Filled(4, 4, PixelFormat::pf24bit, RGB(250, 250, 250));
  for (int x = 0; x < 4; ++x) image.SetPixelColor(x, 0, RGB(2, 4, 6));
  TBitmap reduced;
  SetColourDepth(image, reduced, PixelFormat::pf1bit);
  ASSERT_EQ(reduced.GetPixelFormat(), PixelFormat::pf1bit);
  EXPECT_EQ(Entries(reduced), (std::vector<TColor>{RGB(2, 4, 6), RGB(250, 250, 250)}));
  EXPECT_EQ(reduced.PixelIndex(1, 0), 0);
  EXPECT_EQ(reduced.PixelIndex(1, 1), 1);
}

TEST(SetColourDepth, SourceMayBeDest) {
  TBitmap image = Filled(3, 2, PixelFormat::pf24bit, RGB(9, 99, 199));
  SetColourDepth(image, image, PixelFormat::pf8bit);
  EXPECT_EQ(image.GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_EQ(image.PixelColor(2, 1), RGB(9, 99, 199));
}

TEST(ReduceToTwoColours, UniformImagesFallIntoOneGroup) {
  struct Case {
    TColor colour;
    std::vector<TColor> entries;
    int index;
  };
  // Grey: the brightness equals the rounded mean, so light. 10+20+32 = 62:
  // the truncated brightness 20 is below the rounded mean 21, so dark.
  const Case cases[] = {{RGB(77, 77, 77), {clBlack, RGB(77, 77, 77)}, 1},
                        {RGB(10, 20, 32), {RGB(10, 20, 32), clBlack}, 0}};
  for (const Case& c : cases) {
    TBitmap image(7, 3, PixelFormat::pf8bit);
    image.SetColorTable(std::vector<TColor>{RGB(200, 0, 0), c.colour});
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) image.SetPixelIndex(x, y, 1);
    TBitmap reduced;
    ReduceToTwoColours(image, reduced);
    ASSERT_EQ(reduced.GetPixelFormat(), PixelFormat::pf1bit);
    EXPECT_EQ(Entries(reduced), c.entries);
    EXPECT_EQ(reduced.PixelIndex(6, 2), c.index);
  }
}

TEST(ReduceToTwoColours, MegapixelSumsDoNotWrap) {
  // 9 million white pixels: the brightness sum is past 2^32.
  TBitmap image(3000, 3000, PixelFormat::pf8bit);
  image.SetColorTable(std::vector<TColor>{clWhite});
  TBitmap reduced;
  ReduceToTwoColours(image, reduced);
  EXPECT_EQ(Entries(reduced), (std::vector<TColor>{clBlack, clWhite}));
  EXPECT_EQ(reduced.PixelIndex(2999, 2999), 1);
}

TEST(ReduceToTwoColours, OneBitSourcesAreCopied) {
  TBitmap image(9, 2, PixelFormat::pf1bit);
  image.SetColorTable(std::vector<TColor>{RGB(1, 1, 1), RGB(2, 2, 2)});
  image.SetPixelIndex(8, 1, 1);
  TBitmap reduced;
  ReduceToTwoColours(image, reduced);
  EXPECT_EQ(Entries(reduced), Entries(image));
  EXPECT_EQ(reduced.PixelIndex(8, 1), 1);
}

// Fault guarded: an empty source has no mean brightness (0 / 0).
TEST(ReduceToTwoColours, EmptySourceGivesAnEmptyImageWithBlackEntries) {
  for (const PixelFormat format : {PixelFormat::pf4bit, PixelFormat::pf8bit, PixelFormat::pf24bit}) {
    TBitmap reduced = Filled(2, 2, PixelFormat::pf24bit, clWhite);
    ReduceToTwoColours(TBitmap(0, 5, format), reduced);
    EXPECT_EQ(reduced.GetPixelFormat(), PixelFormat::pf1bit);
    EXPECT_TRUE(reduced.Empty());
    EXPECT_EQ(Entries(reduced), (std::vector<TColor>{clBlack, clBlack}));
  }
}

// Fault guarded: a direct-colour source has no colour table, but its pixels
// have colours; they are what the two means are made of.
TEST(ReduceToTwoColours, DirectColourSourcesUseTheirOwnColours) {
  TBitmap image = Filled(4, 1, PixelFormat::pf24bit, RGB(240, 230, 220));
  image.SetPixelColor(0, 0, RGB(10, 0, 30));
  TBitmap reduced;
  ReduceToTwoColours(image, reduced);
  EXPECT_EQ(Entries(reduced), (std::vector<TColor>{RGB(10, 0, 30), RGB(240, 230, 220)}));
  EXPECT_EQ(reduced.PixelIndex(0, 0), 0);
  EXPECT_EQ(reduced.PixelIndex(3, 0), 1);
}

TEST(ChangePixelFormat, NarrowerTargetKeepsTheFirstEntries) {
  TBitmap image(20, 1, PixelFormat::pf8bit);
  std::vector<TColor> palette(256, clBlack);
  for (int i = 0; i < 16; ++i) palette[i] = RGB(static_cast<uint8_t>(i * 16), 0, 0);
  palette[100] = RGB(100, 0, 0);  // nearest of the first 16: 96, index 6
  image.SetColorTable(palette);
  image.SetPixelIndex(0, 0, 15);
  image.SetPixelIndex(1, 0, 100);
  TBitmap changed;
  ChangePixelFormat(image, changed, PixelFormat::pf4bit);
  ASSERT_EQ(changed.GetPixelFormat(), PixelFormat::pf4bit);
  EXPECT_EQ(Entries(changed), std::vector<TColor>(palette.begin(), palette.begin() + 16));
  EXPECT_EQ(changed.PixelIndex(0, 0), 15);
  EXPECT_EQ(changed.PixelIndex(1, 0), 6);
}

TEST(ChangePixelFormat, WiderTargetKeepsIndexesAndPadsWithBlack) {
  TBitmap image(3, 1, PixelFormat::pf1bit);
  image.SetColorTable(std::vector<TColor>{RGB(5, 5, 5), RGB(9, 8, 7)});
  image.SetPixelIndex(2, 0, 1);
  TBitmap changed;
  ChangePixelFormat(image, changed, PixelFormat::pf8bit);
  ASSERT_EQ(changed.ColorTable().size(), 256u);
  EXPECT_EQ(changed.ColorTableEntry(1), RGB(9, 8, 7));
  EXPECT_EQ(changed.ColorTableEntry(2), clBlack);
  EXPECT_EQ(changed.PixelIndex(0, 0), 0);
  EXPECT_EQ(changed.PixelIndex(2, 0), 1);
  ChangePixelFormat(image, changed, PixelFormat::pf24bit);
  EXPECT_EQ(changed.GetPixelFormat(), PixelFormat::pf24bit);
  EXPECT_EQ(changed.PixelColor(2, 0), RGB(9, 8, 7));
}

TEST(RemapToPalette, ExactColoursTakeTheLowestEqualIndex) {
  TBitmap source = Filled(3, 2, PixelFormat::pf24bit, RGB(1, 2, 3));
  source.SetPixelColor(2, 1, RGB(4, 5, 6));
  TRGBQuadArray colours{};
  colours[3] = TRGBQuad{3, 2, 1, 0};
  colours[5] = TRGBQuad{3, 2, 1, 0};
  for (const PixelFormat format : {PixelFormat::pf4bit, PixelFormat::pf8bit}) {
    TBitmap dest(3, 2, format);
    dest.SetPixelIndex(2, 1, 9);
    RemapToPalette(source, dest, colours, 16);
    EXPECT_EQ(dest.PixelIndex(0, 0), 3);
    EXPECT_EQ(dest.PixelIndex(2, 1), 9);  // not in the table: as the blit left it
  }
}

// Fault guarded: more colours than the table holds, or than a 4-bit
// destination can index, and bitmaps of different sizes.
TEST(RemapToPalette, CountsAreClampedAndSizesMustAgree) {
  TBitmap source = Filled(3, 2, PixelFormat::pf24bit, RGB(1, 2, 3));
  TRGBQuadArray colours{};
  colours[40] = TRGBQuad{3, 2, 1, 0};
  TBitmap dest(3, 2, PixelFormat::pf4bit);
  RemapToPalette(source, dest, colours, 1000);
  EXPECT_EQ(dest.PixelIndex(1, 1), 0);  // index 40 does not fit a nibble
  TBitmap dest8(3, 2, PixelFormat::pf8bit);
  RemapToPalette(source, dest8, colours, 1000);
  EXPECT_EQ(dest8.PixelIndex(1, 1), 40);
  TBitmap small(2, 2, PixelFormat::pf8bit);
  EXPECT_THROW(RemapToPalette(source, small, colours, 256), EInvalidGraphicOperation);
}

double Psnr(const test::PnmImage& original, const TBitmap& reduced) {
  double squared = 0;
  for (int y = 0; y < original.Height; ++y)
    for (int x = 0; x < original.Width; ++x) {
      const TColor c = reduced.PixelColor(x, y);
      const int channels[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
      for (int k = 0; k < 3; ++k) squared += std::pow(channels[k] - original.At(x, y, k), 2);
    }
  return 10 * std::log10(255.0 * 255.0 * 3 * original.Width * original.Height / squared);
}

TBitmap FromPnm(const test::PnmImage& image) {
  TBitmap b(image.Width, image.Height, PixelFormat::pf24bit);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x) b.SetPixelColor(x, y, RGB(image.At(x, y, 0), image.At(x, y, 1), image.At(x, y, 2)));
  return b;
}

TEST(SetColourDepth, PhotographsReduceAboutAsWellAsAnIndependentQuantiser) {
  if (!test::HaveGeneratedFixtures()) GTEST_SKIP();
  for (const char* name : {"nightshot", "vgl5674", "vgl6434"}) {
    TBitmap photo;
    photo.LoadFromFile(test::U16(test::GeneratedFile(std::string("core/colour/photo_") + name + ".bmp")));
    ASSERT_EQ(photo.GetPixelFormat(), PixelFormat::pf24bit);
    TBitmap theirs = FromPnm(test::ReadPnm(test::GeneratedFile(std::string("core/colour/im256_") + name + ".ppm")));
    test::PnmImage original{photo.Width(), photo.Height(), 3, {}};
    for (int y = 0; y < photo.Height(); ++y)
      for (int x = 0; x < photo.Width(); ++x) {
        const TColor c = photo.PixelColor(x, y);
        original.Samples.insert(original.Samples.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
      }
    TBitmap ours;
    SetColourDepth(photo, ours, PixelFormat::pf8bit);
    ASSERT_EQ(ours.GetPixelFormat(), PixelFormat::pf8bit);
    const double our_psnr = Psnr(original, ours);
    const double their_psnr = Psnr(original, theirs);
    EXPECT_GT(our_psnr, their_psnr - 1.5) << name << ": ours " << our_psnr << " dB, theirs " << their_psnr << " dB";
    std::printf("%s: %.2f dB against %.2f dB\n", name, our_psnr, their_psnr);
  }
}

}  // namespace
}  // namespace pk
