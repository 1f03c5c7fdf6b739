// BMP through the codec interface: tiny files declaring huge pictures are
// refused at once without allocating them, the limits record decides, the
// probe reads headers only (top-down heights positive), the resolution fields
// are signed longs, and decode then encode gives back the same file.
#include "formats/bmp/bmp_codec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>

#include "core/bmp_image.h"
#include "formats/image_codecs.h"
#include "platform/bmp_structures.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "tests/formats/bmp/bmp_builder.h"
#include "tests/support/peak_memory.h"

namespace pk {
namespace {

using test::Bmp;
using test::HugeClaim;
using test::HugeClaims;
using Bytes = std::vector<uint8_t>;

TEST(BmpCodecInterface, TinyFilesDeclaringHugePicturesAreRefusedAtOnce) {
  for (const HugeClaim& c : HugeClaims()) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.bytes.size(), c.size);
    const auto start = std::chrono::steady_clock::now();
    try {
      DecodeBmp(c.bytes, {});
      ADD_FAILURE() << "decoded";
    } catch (const EOutOfResources& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
#ifndef _WIN32
    // Refused before the rows are allocated: the peak stays far below them.
    const int64_t grown = test::ChildPeakGrowthBytes([&] { DecodeBmp(c.bytes, {}); });
    EXPECT_GE(grown, 0);
    EXPECT_LT(grown, 64 << 20);
#endif
    // The probe measures them without decoding (it wants more than 54 bytes).
    if (c.size > 54) {
      EXPECT_EQ(ProbeBmp(c.bytes, 1).height, 65000u);
    }
  }
}

TEST(BmpCodecInterface, TheLimitsRecordDecides) {
  const Bytes pixels(100 * 100, 7);
  const Bytes bytes = Bmp(100, 100, 8, bmp::kRgb, Bytes(1024), pixels);
  TDecodeOptions options;
  options.limits.max_pixels = 10000;
  EXPECT_EQ(DecodeBmp(bytes, options).bitmap.Width(), 100);
  options.limits.max_pixels = 9999;
  EXPECT_THROW(DecodeBmp(bytes, options), EOutOfResources);
  options.limits = {};
  options.limits.max_bytes = 100 * 100 - 1;
  try {
    DecodeBmp(bytes, options);
    ADD_FAILURE() << "decoded";
  } catch (const EOutOfResources& e) {
    EXPECT_EQ(e.Message(),
              u"Image too large: BMP data declares 100 x 100 pixels at 8 bits per pixel, above the limit of 9999 bytes");
  }
}

TEST(BmpCodecInterface, TheProbeGivesTopDownDataItsRowCount) {
  const Bytes bytes = Bmp(3, -2, 24, bmp::kRgb, {}, Bytes(24));
  const TImageDimensions size = ProbeBmp(bytes, 1);
  EXPECT_EQ(size.width, 3u);
  EXPECT_EQ(size.height, 2u);
  EXPECT_EQ(DecodeBmp(bytes, {}).bitmap.Height(), 2);
  EXPECT_THROW(ProbeBmp(Bytes(bytes.begin(), bytes.begin() + 54), 1), EInvalidGraphic);
}

TEST(BmpCodecInterface, ResolutionFieldsAreSignedLongs) {
  struct Case {
    int32_t ppm;
    int32_t dpi;
  };
  for (const Case& c : {Case{3780, 96}, Case{-3780, -96}, Case{0, 0}, Case{-1, 0}, Case{INT32_MIN, -54546085}}) {
    SCOPED_TRACE(c.ppm);
    const TDecodedImage image = DecodeBmp(Bmp(1, 1, 24, bmp::kRgb, {}, Bytes(4), c.ppm, 2835), {});
    ASSERT_TRUE(image.resolution);
    EXPECT_EQ(image.resolution->x, c.dpi);
    EXPECT_EQ(image.resolution->y, 72);
  }
  TEncodeOptions options;
  options.resolution = {-96, 96};
  const Bytes written = EncodeBmp(TBitmap(2, 2, PixelFormat::pf24bit), options);
  EXPECT_EQ(static_cast<int32_t>(bmp::LoadLE32(written, 38)), -3780);
  EXPECT_EQ(static_cast<int32_t>(bmp::LoadLE32(written, 42)), 3780);
}

TEST(BmpCodecInterface, DecodeThenEncodeGivesTheSameFile) {
  for (int width : {1, 2, 3, 4, 5}) {
    SCOPED_TRACE(width);
    Bytes pixels;
    const int64_t stride = RowBytes(width, PixelFormat::pf24bit);
    for (int64_t i = 0; i < stride * 3; ++i) pixels.push_back(i % stride < width * 3 ? static_cast<uint8_t>(i * 7) : 0);
    const Bytes original = Bmp(width, 3, 24, bmp::kRgb, {}, pixels, -3780, 3780);
    TDecodedImage image = DecodeBmp(original, {});
    TEncodeOptions options;
    options.resolution = *image.resolution;
    EXPECT_EQ(EncodeBmp(image.bitmap, options), original);
  }
}

TEST(BmpCodecInterface, TheRegistryHoldsEveryFormatOnce) {
  for (TGraphicsFormat format : {TGraphicsFormat::gfBMP, TGraphicsFormat::gfGIF, TGraphicsFormat::gfJPG,
                                 TGraphicsFormat::gfPCX, TGraphicsFormat::gfPNG, TGraphicsFormat::gfWBMP,
                                 TGraphicsFormat::gfPSD, TGraphicsFormat::gfTIF, TGraphicsFormat::gfPDF}) {
    const TImageCodec* codec = FindImageCodec(ImageCodecs(), format);
    ASSERT_NE(codec, nullptr) << static_cast<int>(format);
    EXPECT_EQ(codec->format, format);
  }
  EXPECT_EQ(ImageCodecs().size(), 9u);
  EXPECT_EQ(FindImageCodec(ImageCodecs(), TGraphicsFormat::gfUnknown), nullptr);
  EXPECT_EQ(FindImageCodec(ImageCodecs(), TGraphicsFormat::gfBMP)->decode, &DecodeBmp);
}

}  // namespace
}  // namespace pk
