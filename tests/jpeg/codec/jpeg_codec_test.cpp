// The libjpeg binding and the decode and encode procedures: pixels against
// djpeg of the same library with the same DCT, the colour models, scaling,
// CMYK and YCCK, truncated and malformed files, and what our encoder writes as
// jpeginfo, rdjpgcom and ImageMagick read it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "jpeg/jpeg_cmyk.h"
#include "jpeg/jpeg_codec.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/jpeg_library.h"
#include "platform/numeric.h"
#include "tests/jpeg/codec/jpeg_test_support.h"

namespace pk {
namespace {

using test::JpegFixture;
using test::JpegFixtureBytes;

std::u16string JpegErrorText(int code) {
  const std::string number = std::to_string(code);
  return u"JPEG error #" + std::u16string(number.begin(), number.end());
}

TBitmap Decode(const std::vector<uint8_t>& bytes, const JpegDecodeOptions& options = {}) {
  TBitmap bitmap;
  DecodeJpeg(bytes, options, {}, bitmap);
  return bitmap;
}

TEST(JpegDecode, MatchesDjpegWithTheSameDct) {
  PK_REQUIRE_JPEG_FIXTURES();
  struct Case {
    const char* file;
    JpegDct dct;
    const char* reference;
  } cases[] = {
      {"photo_q75.jpg", JpegDct::integer_slow, "photo_q75_islow.ppm"},
      {"photo_q75.jpg", JpegDct::floating, "photo_q75_float.ppm"},
      {"photo_progressive.jpg", JpegDct::integer_slow, "photo_progressive_islow.ppm"},
      {"photo_grey.jpg", JpegDct::integer_slow, "photo_grey_islow.pgm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reference);
    JpegDecodeOptions options;
    options.dct = c.dct;
    const TBitmap bitmap = Decode(JpegFixtureBytes(c.file), options);
    test::ExpectMatchesPnm(bitmap, test::ReadPnm(JpegFixture(c.reference)), 1);
  }
}

TEST(JpegDecode, GreyFilesGiveEightBitsWithTwoHundredFiftySixGreys) {
  PK_REQUIRE_JPEG_FIXTURES();
  const TBitmap bitmap = Decode(JpegFixtureBytes("photo_grey.jpg"));
  EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat::pf8bit);
  ASSERT_EQ(bitmap.ColorTable().size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(bitmap.ColorTable()[i], RGB(i, i, i));
}

TEST(JpegDecode, RedComesOutRedFromYCbCrAndRgbColourSpaces) {
  PK_REQUIRE_JPEG_FIXTURES();
  for (const char* file : {"red_ycbcr.jpg", "red_rgb.jpg"}) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> bytes = JpegFixtureBytes(file);
    EXPECT_EQ(ReadJpegHeader(bytes).colour_model,
              std::string(file) == "red_rgb.jpg" ? JpegColourModel::rgb : JpegColourModel::ycbcr);
    const TBitmap bitmap = Decode(bytes);
    EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat::pf24bit);
    test::ExpectColourNear(bitmap.PixelColor(8, 8), RGB(255, 0, 0), 2);
    // The row in memory is blue, green, red.
    EXPECT_NEAR(bitmap.ScanLine(8)[2], 255, 2);
    EXPECT_NEAR(bitmap.ScanLine(8)[0], 0, 2);
  }
}

TEST(JpegDecode, HalfScaleSizeIsKnownWithoutDecodingAndMatchesDjpeg) {
  PK_REQUIRE_JPEG_FIXTURES();
  const std::vector<uint8_t> bytes = JpegFixtureBytes("photo_q75.jpg");
  JpegDecodeOptions half;
  half.scale_denominator = 2;
  const JpegSize size = JpegOutputSize(bytes, half);
  EXPECT_EQ(size.width, 51);
  EXPECT_EQ(size.height, 38);
  test::ExpectMatchesPnm(Decode(bytes, half), test::ReadPnm(JpegFixture("photo_q75_half.ppm")), 1);
}

TEST(JpegDecode, CmykAndYcckFilesComeOutInTheirColours) {
  PK_REQUIRE_JPEG_FIXTURES();
  const TColor expected[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
  for (const char* file : {"blocks_cmyk_im.jpg", "blocks_ycck.jpg", "blocks_cmyk_progressive.jpg"}) {
    SCOPED_TRACE(file);
    JpegDecodeOptions ask_for_less;  // CMYK ignores grey and 8-bit requests
    ask_for_less.quantise_colours = 236;
    const TBitmap bitmap = Decode(JpegFixtureBytes(file), ask_for_less);
    EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat::pf24bit);
    for (int block = 0; block < 4; ++block) test::ExpectColourNear(bitmap.PixelColor(block * 16 + 8, 8), expected[block], 8);
  }
}

TEST(JpegDecode, CmykToRgbRoundsHalvesToEvenOverEveryInkAndBlack) {
  for (int x = 0; x < 256; ++x) {
    for (int k = 0; k < 256; ++k) {
      const int64_t v = std::min<int64_t>(Round(x / 255.0 * (255 - k) + k), 255);
      const RGBTriple rgb = CMYKToRGB(static_cast<uint8_t>(x), 0, 255, static_cast<uint8_t>(k));
      ASSERT_EQ(rgb.red, 255 - v) << "x " << x << " k " << k;
    }
  }
  const RGBTriple white = CMYKToRGB(0, 0, 0, 0);
  EXPECT_EQ(white.red + white.green + white.blue, 3 * 255);
  const RGBTriple black = CMYKToRGB(0, 0, 0, 255);
  EXPECT_EQ(black.red + black.green + black.blue, 0);
}

TEST(JpegDecode, TruncatedFileDecodesItsTopRows) {
  PK_REQUIRE_JPEG_FIXTURES();
  std::vector<uint8_t> bytes = JpegFixtureBytes("photo_q75.jpg");
  bytes.resize(bytes.size() * 2 / 3);
  const TBitmap bitmap = Decode(bytes);
  ASSERT_EQ(bitmap.Height(), 75);
  const test::PnmImage reference = test::ReadPnm(JpegFixture("photo_q75_islow.ppm"));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < reference.Width; ++x) {
      const TColor c = bitmap.PixelColor(x, y);
      ASSERT_NEAR(GetRValue(c), reference.At(x, y, 0), 1) << x << ", " << y;
      ASSERT_NEAR(GetBValue(c), reference.At(x, y, 2), 1) << x << ", " << y;
    }
  }
}

// Offset of the first marker m after SOI (its FF byte).
size_t MarkerOffset(const std::vector<uint8_t>& bytes, uint8_t m) {
  size_t at = 2;
  while (at + 4 <= bytes.size() && bytes[at] == 0xFF && bytes[at + 1] != m) at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
  return at;
}

TEST(JpegDecode, MalformedFilesRaiseTheLibraryErrorOrTheSizeLimit) {
  PK_REQUIRE_JPEG_FIXTURES();
  const std::vector<uint8_t> good = JpegFixtureBytes("photo_q75.jpg");
  struct Case {
    const char* defect;
    std::function<void(std::vector<uint8_t>&)> damage;
    int code;  // 0: the bitmap size limit
  } cases[] = {
      {"no SOI", [](auto& b) { b[1] = 0x00; }, JERR_NO_SOI},
      {"empty", [](auto& b) { b.clear(); }, JERR_NO_SOI},
      {"cut before the frame header", [](auto& b) { b.resize(MarkerOffset(b, 0xC0)); }, JERR_NO_IMAGE},
      {"zero-length DQT", [](auto& b) { size_t q = MarkerOffset(b, 0xDB); b[q + 2] = 0; b[q + 3] = 0; }, JERR_BAD_LENGTH},
      {"zero width", [](auto& b) { size_t f = MarkerOffset(b, 0xC0); b[f + 7] = 0; b[f + 8] = 0; }, JERR_EMPTY_IMAGE},
      {"absurd dimensions", [](auto& b) { size_t f = MarkerOffset(b, 0xC0); b[f + 5] = b[f + 7] = 0xFF; b[f + 6] = b[f + 8] = 0xD0; }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defect);
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    TBitmap untouched(3, 2, PixelFormat::pf24bit);
    if (c.code == 0) {
      EXPECT_THROW(DecodeJpeg(bytes, {}, {}, untouched), EOutOfResources);
    } else {
      try {
        DecodeJpeg(bytes, {}, {}, untouched);
        ADD_FAILURE() << "no error";
      } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message(), JpegErrorText(c.code));
      }
    }
    EXPECT_EQ(untouched.Width(), 3);
  }
}

TEST(JpegDecode, WarningsNeverStopADecode) {
  PK_REQUIRE_JPEG_FIXTURES();
  const std::vector<uint8_t> good = JpegFixtureBytes("photo_q75.jpg");
  // A zero-length APP1 (the library steps over it with a warning) and noise
  // in the entropy-coded data.
  std::vector<uint8_t> app1 = good;
  const uint8_t empty_app1[] = {0xFF, 0xE1, 0x00, 0x00};
  app1.insert(app1.begin() + 2, std::begin(empty_app1), std::end(empty_app1));
  std::vector<uint8_t> noise = good;
  for (size_t i = MarkerOffset(noise, 0xDA) + 20; i + 40 < noise.size(); i += 37) noise[i] ^= 0x5A;
  for (const auto* bytes : {&app1, &noise}) {
    TBitmap bitmap;
    EXPECT_NO_THROW(DecodeJpeg(*bytes, {}, {}, bitmap));
    EXPECT_EQ(bitmap.Width(), 101);
  }
}

TEST(JpegLibrary, OutOfMemoryBecomesTheOutOfMemoryError) {
  EXPECT_THROW(jpeg_library::ThrowLibraryError(JERR_OUT_OF_MEMORY), std::bad_alloc);
  EXPECT_THROW(jpeg_library::ThrowLibraryError(JERR_NO_SOI), EJPEG);
}

#ifndef _WIN32
TEST(JpegEncode, OraclesReadQualityGreyProgressiveAndPixels) {
  PK_REQUIRE_JPEG_FIXTURES();
  PK_REQUIRE_TOOL("jpeginfo");
  PK_REQUIRE_TOOL("rdjpgcom");
  PK_REQUIRE_TOOL("djpeg");
  PK_REQUIRE_TOOL("identify");
  const TBitmap source = test::BitmapOfPpm(test::ReadPnm(JpegFixture("photo.ppm")));
  struct Case {
    const char* name;
    bool grey;
    bool progressive;
    const char* process;
    const char* components;
  } cases[] = {
      {"plain", false, false, "Baseline", "3 color components"},
      {"grey", true, false, "Baseline", "1 color components"},
      {"progressive", false, true, "Progressive", "3 color components"},
  };
  test::ScratchDir scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JpegEncodeOptions options;
    options.quality = 90;
    options.grey = c.grey;
    options.progressive = c.progressive;
    const std::vector<uint8_t> bytes = EncodeJpeg(source, options);
    const auto file = scratch / (std::string(c.name) + ".jpg");
    test::WriteAll(file, bytes);
    EXPECT_NE(test::RunTool("jpeginfo -c " + file.string()).find("OK"), std::string::npos);
    const std::string info = test::RunTool("rdjpgcom -verbose " + file.string());
    EXPECT_NE(info.find("101w * 75h"), std::string::npos) << info;
    EXPECT_NE(info.find(c.components), std::string::npos) << info;
    EXPECT_NE(info.find(c.process), std::string::npos) << info;
    EXPECT_EQ(test::RunTool("identify -format %Q " + file.string()), "90");
    // djpeg reads what we read.
    const auto reference = scratch / (std::string(c.name) + ".pnm");
    test::RunTool("djpeg -dct int -pnm -outfile " + reference.string() + " " + file.string());
    test::ExpectMatchesPnm(Decode(bytes), test::ReadPnm(reference), 1);
  }
}
#endif

TEST(JpegEncode, PalettedSourcesAreTakenAsTheirColours) {
  TBitmap source(20, 10, PixelFormat::pf8bit);
  std::vector<TColor> table(256, RGB(0, 0, 255));
  source.SetColorTable(table);
  const TBitmap decoded = Decode(EncodeJpeg(source, {}));
  test::ExpectColourNear(decoded.PixelColor(10, 5), RGB(0, 0, 255), 3);
}

}  // namespace
}  // namespace pk
