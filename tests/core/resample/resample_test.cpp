// The two-pass resampler and its kernels: the worked examples, the kernels
// told apart on a zone plate against ImageMagick's same kernels, and the
// degenerate sizes (one-pixel and one-row images, narrow sources, empty
// targets).
#include "core/resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/messages.h"
#include "platform/exceptions.h"
#include "tests/core/support/pnm_image.h"
#include "tests/support/oracles.h"

namespace pk {
namespace {

TBitmap Bitmap24(int width, int height, TColor fill = clBlack) {
  TBitmap b(width, height, PixelFormat::pf24bit);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixelColor(x, y, fill);
  return b;
}

const TResampleFilter& Filter(const std::string& name) {
  for (const TResampleFilter& f : ResampleFilterTable)
    if (f.Name == name) return f;
  throw std::runtime_error("no filter " + name);
}

TBitmap Resampled(TBitmap& src, int width, int height, const std::string& filter) {
  TBitmap dst(width, height, PixelFormat::pf24bit);
  ResampleTwoPass(src, dst, Filter(filter).Filter, Filter(filter).Support);
  return dst;
}

TEST(ResampleFilters, TableNamesSupportsAndKernelValues) {
  const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
  const float supports[] = {0.5f, 1, 1, 1.5f, 2, 3, 2};
  for (size_t i = 0; i < ResampleFilterTable.size(); ++i) {
    EXPECT_EQ(ResampleFilterTable[i].Name, names[i]);
    EXPECT_EQ(ResampleFilterTable[i].Support, supports[i]);
    // Zero at and beyond the support, on both sides.
    const TResampleFilter& f = ResampleFilterTable[i];
    EXPECT_EQ(f.Filter(f.Support + (i == 0 ? 0.001f : 0.0f)), 0.0f) << names[i];
    EXPECT_EQ(f.Filter(-f.Support), 0.0f) << names[i];
  }
  EXPECT_EQ(BoxKernel(0.5f), 1.0f);
  EXPECT_EQ(BoxKernel(-0.5f), 0.0f);
  EXPECT_FLOAT_EQ(TriangleKernel(0.25f), 0.75f);
  EXPECT_FLOAT_EQ(HermiteKernel(0.5f), 0.5f);
  EXPECT_FLOAT_EQ(BellKernel(0.0f), 0.75f);
  EXPECT_FLOAT_EQ(BellKernel(1.0f), 0.125f);
  EXPECT_FLOAT_EQ(BSplineKernel(0.0f), 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(BSplineKernel(1.0f), 1.0f / 6.0f);
  EXPECT_FLOAT_EQ(MitchellKernel(0.0f), 8.0f / 9.0f);
  EXPECT_FLOAT_EQ(MitchellKernel(1.0f), 1.0f / 18.0f);
  EXPECT_EQ(Lanczos3Kernel(0.0f), 1.0f);
  // pi x is taken in single precision, so the sine of a non-zero integer is a
  // tiny number rather than 0.
  EXPECT_NE(SincValue(1.0f), 0.0f);
  EXPECT_LT(std::fabs(SincValue(1.0f)), 1e-6f);
}

TEST(ResampleTwoPass, TwoPixelsToFiveWithTriangle) {
  TBitmap src = Bitmap24(2, 2);
  for (int y = 0; y < 2; ++y) {
    src.SetPixelColor(0, y, RGB(10, 100, 200));
    src.SetPixelColor(1, y, RGB(50, 0, 101));
  }
  const TBitmap dst = Resampled(src, 5, 2, "Triangle");
  EXPECT_EQ(dst.PixelColor(0, 0), RGB(10, 100, 200));
  EXPECT_EQ(dst.PixelColor(4, 0), RGB(50, 0, 101));
  // The even blend; 150.5 rounds half to even.
  EXPECT_EQ(dst.PixelColor(2, 1), RGB(30, 50, 150));
  EXPECT_EQ(dst.PixelColor(1, 1), RGB(20, 75, 175));  // 0.75 and 0.25: 175.25
}

TEST(ResampleTwoPass, SameSizeWithTriangleIsIdentity) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  const test::PnmImage zone = test::ReadPnm(test::GeneratedFile("core/resample/zone.ppm"));
  TBitmap src = test::BitmapOfPpm(zone);
  const TBitmap copy(src);
  const TBitmap dst = Resampled(src, src.Width(), src.Height(), "Triangle");
  for (int y = 0; y < src.Height(); ++y)
    ASSERT_EQ(0, std::memcmp(dst.ScanLine(y), copy.ScanLine(y), 3 * size_t(src.Width()))) << y;
}

TEST(ResampleTwoPass, BoxTakesTheNearestPixelAndTheLowerOneAtHalfway) {
  // 3 to 5: centres 0, 0.5, 1, 1.5, 2; a centre halfway takes the lower pixel.
  TBitmap src = Bitmap24(3, 2);
  const TColor colours[] = {RGB(1, 2, 3), RGB(40, 50, 60), RGB(200, 210, 220)};
  for (int x = 0; x < 3; ++x) src.SetPixelColor(x, 0, colours[x]), src.SetPixelColor(x, 1, colours[x]);
  const TBitmap dst = Resampled(src, 5, 2, "Box");
  const int expected[] = {0, 0, 1, 1, 2};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(dst.PixelColor(x, 0), colours[expected[x]]) << x;
}

TEST(ResampleTwoPass, ShrinkingDrawsOnlyOnPixelsNearTheCentre) {
  // 100 to 10 with Triangle: xscale 9/99, centres at 11 i. A single bright
  // pixel between two centres falls out of every output pixel.
  TBitmap src = Bitmap24(100, 2);
  src.SetPixelColor(16, 0, clWhite);
  src.SetPixelColor(16, 1, clWhite);
  src.SetPixelColor(22, 0, RGB(200, 200, 200));
  src.SetPixelColor(22, 1, RGB(200, 200, 200));
  const TBitmap dst = Resampled(src, 10, 2, "Triangle");
  for (int x = 0; x < 10; ++x) EXPECT_EQ(dst.PixelColor(x, 0), x == 2 ? RGB(200, 200, 200) : clBlack) << x;
}

TEST(ResampleTwoPass, OvershootIsClampedNotWrapped) {
  // A hard edge enlarged with Lanczos3 and Mitchell rings above 255 and below
  // 0 next to it.
  for (const char* name : {"Lanczos3", "Mitchell"}) {
    TBitmap src = Bitmap24(8, 2);
    for (int x = 4; x < 8; ++x) src.SetPixelColor(x, 0, clWhite), src.SetPixelColor(x, 1, clWhite);
    const TBitmap dst = Resampled(src, 29, 2, name);
    int whites = 0, blacks = 0;
    for (int x = 0; x < 29; ++x) {
      const uint8_t v = dst.ScanLine(0)[3 * x];
      whites += v == 255;
      blacks += v == 0;
      // A wrapped overshoot would show up as a dark pixel among the bright ones
      // or the reverse.
      if (x > 16) {
        EXPECT_GT(v, 200) << name << " " << x;
      }
      if (x < 12) {
        EXPECT_LT(v, 55) << name << " " << x;
      }
    }
    EXPECT_GT(whites, 2) << name;
    EXPECT_GT(blacks, 2) << name;
  }
}

TEST(ResampleTwoPass, PaletteSourceComesBack24Bit) {
  TBitmap src(4, 3, PixelFormat::pf8bit);
  src.SetColorTable(std::vector<TColor>{RGB(9, 8, 7), RGB(1, 2, 3)});
  src.SetPixelIndex(1, 1, 1);
  const TBitmap dst = Resampled(src, 4, 3, "Triangle");
  EXPECT_EQ(src.GetPixelFormat(), PixelFormat::pf24bit);
  EXPECT_EQ(dst.GetPixelFormat(), PixelFormat::pf24bit);
  EXPECT_EQ(dst.PixelColor(1, 1), RGB(1, 2, 3));
  EXPECT_EQ(dst.PixelColor(0, 0), RGB(9, 8, 7));
}

TEST(ResampleTwoPass, EmptySourceRaisesBeforeAnythingChanges) {
  for (const auto& [w, h] : {std::pair{0, 3}, std::pair{3, 0}}) {
    TBitmap src(w, h, PixelFormat::pf8bit);
    TBitmap dst(2, 2, PixelFormat::pf4bit);
    try {
      ResampleTwoPass(src, dst, TriangleKernel, 1);
      FAIL() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), msg::kSourceBitmapTooSmall);
    }
    EXPECT_EQ(src.GetPixelFormat(), PixelFormat::pf8bit);
    EXPECT_EQ(dst.GetPixelFormat(), PixelFormat::pf4bit);
  }
}

TEST(ResampleTwoPass, OnePixelSourceSpreadsOverTheRow) {
  // xscale = DstWidth: centres i/4 in [0, 1), all on the one pixel.
  TBitmap src = Bitmap24(1, 2, RGB(10, 20, 30));
  const TBitmap dst = Resampled(src, 4, 2, "Triangle");
  EXPECT_EQ(dst.PixelColor(0, 0), RGB(10, 20, 30));
  // Centre 0.75: weight 0.25 on pixel 0 and 0.75 on pixel 1, which mirrors
  // back onto pixel 0.
  EXPECT_EQ(dst.PixelColor(3, 1), RGB(10, 20, 30));
}

// A one-pixel-wide or one-row destination of a larger source must not make
// the scale 0 (infinite support and NaN centres), and a one-row source or
// destination must pass the vertical pass.
TEST(ResampleTwoPass, OnePixelAndOneRowImagesResampleNormally) {
  TBitmap row = Bitmap24(6, 1);
  for (int x = 0; x < 6; ++x) row.SetPixelColor(x, 0, RGB(uint8_t(40 * x), 0, 0));
  const TBitmap wider = Resampled(row, 11, 1, "Triangle");
  EXPECT_EQ(wider.PixelColor(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(wider.PixelColor(1, 0), RGB(20, 0, 0));
  EXPECT_EQ(wider.PixelColor(10, 0), RGB(200, 0, 0));

  TBitmap block = Bitmap24(6, 5, RGB(7, 8, 9));
  const TBitmap one_row = Resampled(block, 6, 1, "Mitchell");
  ASSERT_EQ(one_row.Height(), 1);
  for (int x = 0; x < 6; ++x) EXPECT_NEAR(one_row.ScanLine(0)[3 * x], 9, 1);

  // A one-pixel destination takes the scale Dst/Src, like a one-pixel source,
  // and draws on the first pixel.
  TBitmap ramp = Bitmap24(6, 6);
  ramp.SetPixelColor(0, 0, RGB(100, 110, 120));
  EXPECT_EQ(Resampled(ramp, 1, 1, "Triangle").PixelColor(0, 0), RGB(100, 110, 120));
  EXPECT_EQ(Resampled(ramp, 1, 3, "Box").PixelColor(0, 0), RGB(100, 110, 120));
}

TEST(ResampleTwoPass, EmptyTargetGivesAnEmptyResult) {
  TBitmap src = Bitmap24(4, 4, clWhite);
  for (const auto& [w, h] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{0, 0}}) {
    const TBitmap dst = Resampled(src, w, h, "Lanczos3");
    EXPECT_EQ(dst.Width(), w);
    EXPECT_EQ(dst.Height(), h);
    EXPECT_EQ(dst.GetPixelFormat(), PixelFormat::pf24bit);
  }
}

// For sources narrower than the kernel a mirrored index could fall outside
// the source row or column. Clamped, every contributor is a source pixel, so a
// uniform source stays (nearly) uniform.
TEST(ResampleTwoPass, NarrowSourcesReadOnlyTheirOwnPixels) {
  for (const char* name : {"Bell", "B-Spline", "Lanczos3", "Mitchell"}) {
    for (int size : {1, 2}) {
      TBitmap src = Bitmap24(size, size, RGB(100, 100, 100));
      const TBitmap dst = Resampled(src, 7, 7, name);
      for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_NEAR(dst.ScanLine(y)[3 * x], 100, 3) << name << size << " " << x << y;
    }
  }
}

double Psnr(const TBitmap& ours, const test::PnmImage& theirs, int margin) {
  // Our pixel (x, y) sits where ImageMagick's (x + 1, y + 1) does.
  double squared = 0;
  int64_t count = 0;
  for (int y = margin; y < ours.Height() - margin; ++y)
    for (int x = margin; x < ours.Width() - margin; ++x) {
      const TColor c = ours.PixelColor(x, y);
      const int ours_rgb[] = {GetRValue(c), GetGValue(c), GetBValue(c)};
      for (int k = 0; k < 3; ++k) {
        const double d = ours_rgb[k] - theirs.At(x + 1, y + 1, k);
        squared += d * d;
        ++count;
      }
    }
  const double mse = squared / count;
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

// Each kernel agrees with ImageMagick's same kernel (40 dB or better away from
// the border, where the two treat edges differently) and not with any other:
// a swapped table entry or a kernel with a wrong term fails here.
TEST(ResampleTwoPass, KernelsMatchTheirImageMagickTwinsOnAZonePlate) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  const test::PnmImage zone = test::ReadPnm(test::GeneratedFile("core/resample/zone.ppm"));
  const int width = 3 * (zone.Width - 1) + 1;
  const int height = 3 * (zone.Height - 1) + 1;
  const int margin = 12;
  for (const TResampleFilter& ours : ResampleFilterTable) {
    TBitmap src = test::BitmapOfPpm(zone);
    const TBitmap result = Resampled(src, width, height, ours.Name);
    for (const TResampleFilter& other : ResampleFilterTable) {
      const auto theirs = test::ReadPnm(test::GeneratedFile("core/resample/im_" + other.Name + ".ppm"));
      const double psnr = Psnr(result, theirs, margin);
      if (&ours == &other)
        EXPECT_GE(psnr, 40.0) << ours.Name;
      else
        EXPECT_LT(psnr, 40.0) << ours.Name << " against " << other.Name << ": " << psnr << " dB";
    }
  }
}

}  // namespace
}  // namespace pk
