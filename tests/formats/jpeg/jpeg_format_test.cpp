// The JPEG entry of the codec registry: the facts a decode hands the object,
// the limits checked before any pixel is allocated, a probe that needs only
// the header, and the settings an encode writes.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/jpeg/jpeg_format.h"
#include "jpeg/jpeg_codec.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/jpeg_messages.h"
#include "platform/exceptions.h"
#include "tests/jpeg/codec/jpeg_test_support.h"

namespace pk {
namespace {

using test::JpegFixtureBytes;

TEST(JpegFormat, DecodeHandsOverResolutionGreyProgressiveAndCmyk) {
  PK_REQUIRE_JPEG_FIXTURES();
  const struct {
    const char* file;
    int dpi;
    bool grey, progressive, cmyk;
  } cases[] = {{"density28.jpg", 71, false, false, false},
               {"photo_grey.jpg", 0, true, false, false},
               {"photo_progressive.jpg", 0, false, true, false},
               {"blocks_cmyk_progressive.jpg", 0, false, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const TDecodedImage decoded = DecodeJpegImage(JpegFixtureBytes(c.file), {});
    ASSERT_TRUE(decoded.resolution.has_value());
    EXPECT_EQ(decoded.resolution->x, c.dpi);
    EXPECT_EQ(decoded.grey, c.grey);
    EXPECT_EQ(decoded.progressive, c.progressive);
    EXPECT_EQ(decoded.cmyk, c.cmyk);
    // Loaded for the object: 24 bits, or 8-bit grey.
    EXPECT_EQ(decoded.bitmap.GetPixelFormat(), c.grey ? PixelFormat::pf8bit : PixelFormat::pf24bit);
  }
}

TEST(JpegFormat, RefusedHeadersAreCorruptFilesAndPixelErrorsPassUnchanged) {
  PK_REQUIRE_JPEG_FIXTURES();
  std::vector<uint8_t> bytes = JpegFixtureBytes("photo_q75.jpg");
  bytes.resize(300);  // no SOS: the header read fails
  try {
    DecodeJpegImage(bytes, {});
    ADD_FAILURE() << "decoded a cut header";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), msg::kJpegCorruptFile);
  }
  // A later scan of a progressive file is read only with the pixels: an
  // impossible spectral band there fails the decode, not the load.
  std::vector<uint8_t> bad_scan = JpegFixtureBytes("photo_progressive.jpg");
  const uint8_t sos[] = {0xFF, 0xDA};
  auto second = std::search(bad_scan.begin(), bad_scan.end(), std::begin(sos), std::end(sos));
  second = std::search(second + 2, bad_scan.end(), std::begin(sos), std::end(sos));
  ASSERT_NE(second, bad_scan.end());
  const int components = second[4];
  second[5 + 2 * components + 1] = 0xFF;  // Se
  EXPECT_THROW(DecodeJpegImage(bad_scan, {}), EJPEG);
}

TEST(JpegFormat, PicturesAboveTheLimitsAreRefusedBeforeDecoding) {
  PK_REQUIRE_JPEG_FIXTURES();
  TDecodeOptions options;
  options.limits.max_pixels = 101 * 74;
  try {
    DecodeJpegImage(JpegFixtureBytes("photo_q75.jpg"), options);
    ADD_FAILURE() << "decoded above the limit";
  } catch (const EOutOfResources& e) {
    EXPECT_NE(e.Message().find(u"JPEG data declares 101 x 75 pixels"), std::u16string::npos) << e.what();
  }
}

TEST(JpegFormat, ProbeReadsOnlyTheHeader) {
  PK_REQUIRE_JPEG_FIXTURES();
  std::vector<uint8_t> bytes = JpegFixtureBytes("photo_q75.jpg");
  size_t sos = 2;
  while (bytes[sos + 1] != 0xDA) sos += 2 + (bytes[sos + 2] << 8 | bytes[sos + 3]);
  bytes.resize(sos + 14);  // the scan header, no entropy-coded data
  const TImageDimensions size = ProbeJpegImage(bytes, 1);
  EXPECT_EQ(size.width, 101u);
  EXPECT_EQ(size.height, 75u);
}

TEST(JpegFormat, EncodeWritesTheSettingsAndRefusesAnEmptyImage) {
  TBitmap image(40, 30, PixelFormat::pf24bit);
  TEncodeOptions options;
  options.quality = 44;
  options.grey = true;
  options.progressive = true;
  options.resolution = {300, 200};
  const std::vector<uint8_t> bytes = EncodeJpegImage(image, options);
  const JpegHeader header = ReadJpegHeader(bytes);
  EXPECT_EQ(header.components, 1);
  EXPECT_TRUE(header.progressive);
  EXPECT_EQ(header.density_unit, 1);
  EXPECT_EQ(header.x_density, 300);
  EXPECT_EQ(header.y_density, 200);
  try {
    EncodeJpegImage(TBitmap(), {});
    ADD_FAILURE() << "encoded an empty image";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), msg::kJpegSaveEmpty);
  }
}

}  // namespace
}  // namespace pk
