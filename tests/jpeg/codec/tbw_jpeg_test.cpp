// Both TbwJpeg flavours: what they share (loading, saving with the density,
// colour models, the faults each once had) as typed tests over the two
// classes, then the rules where they differ.
#include <gtest/gtest.h>

#include <set>
#include <type_traits>

#include "jpeg/jpeg_error.h"
#include "jpeg/jpeg_flavour.h"
#include "jpeg/jpeg_messages.h"
#include "jpeg/jpeg_x64.h"
#include "jpeg/jpeg_x86.h"
#include "platform/stream.h"
#include "tests/jpeg/codec/jpeg_test_support.h"

namespace pk {
namespace {

using test::JpegFixture;
using test::JpegFixtureBytes;

#ifndef PIXMARL_JPEG_X86
// Every build but the x86 component's carries the x86-64 class.
static_assert(std::is_same_v<TbwJpeg, TbwJpegX64>);
#endif

template <typename Jpeg>
void Load(Jpeg& jpeg, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  jpeg.LoadFromStream(stream);
}

template <typename Jpeg>
std::vector<uint8_t> Save(Jpeg& jpeg) {
  TMemoryStream stream;
  jpeg.SaveToStream(stream);
  EXPECT_EQ(stream.Position(), 0);
  return stream.Release();
}

TBMPImage PhotoBitmap() {
  TBMPImage bitmap;
  bitmap.Assign(test::BitmapOfPpm(test::ReadPnm(JpegFixture("photo.ppm"))));
  return bitmap;
}

struct Density {
  int unit, x, y;
  bool operator==(const Density&) const = default;
};

Density DensityOf(const std::vector<uint8_t>& jpeg) {
  return {jpeg[13], jpeg[14] << 8 | jpeg[15], jpeg[16] << 8 | jpeg[17]};
}

// density28.jpg with another unit-2 density written into its JFIF APP0.
std::vector<uint8_t> WithCentimetreDensity(int density) {
  std::vector<uint8_t> bytes = JpegFixtureBytes("density28.jpg");
  bytes[14] = bytes[16] = static_cast<uint8_t>(density >> 8);
  bytes[15] = bytes[17] = static_cast<uint8_t>(density);
  return bytes;
}

template <typename Jpeg>
class BothFlavours : public ::testing::Test {};
using Flavours = ::testing::Types<TbwJpegX86, TbwJpegX64>;
TYPED_TEST_SUITE(BothFlavours, Flavours);

TYPED_TEST(BothFlavours, SavingAnEmptyImageFailsAndWritesNothing) {
  TypeParam fresh;
  TMemoryStream stream;
  try {
    fresh.SaveToStream(stream);
    ADD_FAILURE() << "saved an empty image";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), msg::kJpegSaveEmpty);
  }
  EXPECT_EQ(stream.Size(), 0);
  TypeParam zero_size;
  zero_size.Assign(TBitmap(0, 0, PixelFormat::pf24bit));
  EXPECT_THROW(zero_size.SaveToStream(stream), EInvalidGraphic);
  EXPECT_EQ(stream.Size(), 0);
}

TYPED_TEST(BothFlavours, SavingAfterOtherDataPatchesOnlyItsOwnDensity) {
  PK_REQUIRE_JPEG_FIXTURES();
  TypeParam jpeg;
  jpeg.Assign(PhotoBitmap());
  jpeg.SetXDPI(300);
  jpeg.SetYDPI(150);
  TMemoryStream stream(std::vector<uint8_t>(40, 0xAA));
  stream.Seek(0, SeekOrigin::soEnd);
  jpeg.SaveToStream(stream);
  EXPECT_EQ(stream.Position(), 0);
  std::vector<uint8_t> all = stream.Release();
  ASSERT_GT(all.size(), 60u);
  EXPECT_EQ(std::vector<uint8_t>(all.begin(), all.begin() + 40), std::vector<uint8_t>(40, 0xAA));
  const std::vector<uint8_t> jpeg_bytes(all.begin() + 40, all.end());
  EXPECT_EQ(DensityOf(jpeg_bytes), (Density{1, 300, 150}));
}

TYPED_TEST(BothFlavours, BytesWithoutAJfifHeaderAreSavedUnpatched) {
  PK_REQUIRE_JPEG_FIXTURES();
  const std::vector<uint8_t> adobe = JpegFixtureBytes("red_rgb.jpg");  // APP14 first, no JFIF
  TypeParam jpeg;
  Load(jpeg, adobe);
  jpeg.SetXDPI(300);
  EXPECT_EQ(Save(jpeg), adobe);
}

TYPED_TEST(BothFlavours, NoResolutionIsWrittenAsUnitZeroOneToOne) {
  PK_REQUIRE_JPEG_FIXTURES();
  TypeParam jpeg;
  jpeg.Assign(PhotoBitmap());
  EXPECT_EQ(DensityOf(Save(jpeg)), (Density{0, 1, 1}));
}

TYPED_TEST(BothFlavours, CentimetreDensitiesBecomeDpiAndOverflowToNone) {
  PK_REQUIRE_JPEG_FIXTURES();
  const struct {
    int density;
    int dpi;
  } cases[] = {{28, 71}, {25801, 65535}, {25802, 0}, {30000, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.density);
    TypeParam jpeg;
    Load(jpeg, WithCentimetreDensity(c.density));
    EXPECT_EQ(jpeg.XDPI(), c.dpi);
    EXPECT_EQ(jpeg.YDPI(), c.dpi);
  }
}

TYPED_TEST(BothFlavours, HeaderFactsComeWithoutDecoding) {
  PK_REQUIRE_JPEG_FIXTURES();
  TypeParam jpeg;
  Load(jpeg, JpegFixtureBytes("photo_progressive.jpg"));
  EXPECT_EQ(jpeg.Width(), 101);
  EXPECT_EQ(jpeg.Height(), 75);
  EXPECT_TRUE(jpeg.ProgressiveEncoding());
  EXPECT_FALSE(jpeg.Empty());
  jpeg.SetScale(TJPEGScale::jsHalf);
  EXPECT_EQ(jpeg.Width(), 51);
  EXPECT_EQ(jpeg.Height(), 38);
  EXPECT_THROW(jpeg.SetWidth(10), EInvalidGraphicOperation);
  Load(jpeg, JpegFixtureBytes("photo_q75.jpg"));
  EXPECT_FALSE(jpeg.ProgressiveEncoding());
}

TYPED_TEST(BothFlavours, CmykFilesReportWasCmykWhateverTheirFirstScanHolds) {
  PK_REQUIRE_JPEG_FIXTURES();
  for (const char* file : {"blocks_cmyk_im.jpg", "blocks_ycck.jpg", "blocks_cmyk_progressive.jpg"}) {
    SCOPED_TRACE(file);
    TypeParam jpeg;
    Load(jpeg, JpegFixtureBytes(file));
    EXPECT_TRUE(jpeg.WasCMYK());
    TBMPImage decoded;
    jpeg.AssignTo(decoded);
    test::ExpectColourNear(decoded.PixelColor(8, 8), RGB(255, 0, 0), 8);
  }
  TypeParam colour;
  Load(colour, JpegFixtureBytes("photo_progressive.jpg"));
  EXPECT_FALSE(colour.WasCMYK());
}

TYPED_TEST(BothFlavours, RedSquaresStayRed) {
  PK_REQUIRE_JPEG_FIXTURES();
  for (const char* file : {"red_ycbcr.jpg", "red_rgb.jpg"}) {
    SCOPED_TRACE(file);
    TypeParam jpeg;
    Load(jpeg, JpegFixtureBytes(file));
    test::ExpectColourNear(jpeg.Bitmap().PixelColor(3, 3), RGB(255, 0, 0), 2);
  }
}

TYPED_TEST(BothFlavours, AbsurdDimensionsHitTheSizeLimitBeforeDecoding) {
  PK_REQUIRE_JPEG_FIXTURES();
  std::vector<uint8_t> bytes = JpegFixtureBytes("photo_q75.jpg");
  size_t sof = 2;
  while (bytes[sof + 1] != 0xC0) sof += 2 + (bytes[sof + 2] << 8 | bytes[sof + 3]);
  bytes[sof + 5] = bytes[sof + 7] = 0xFF;
  bytes[sof + 6] = bytes[sof + 8] = 0xD0;
  TypeParam jpeg;
  Load(jpeg, bytes);
  EXPECT_EQ(jpeg.Width(), 65488);
  TBMPImage target;
  EXPECT_THROW(jpeg.AssignTo(target), EOutOfResources);
}

TYPED_TEST(BothFlavours, MalformedDataRaisesTheJpegError) {
  TypeParam jpeg;
  EXPECT_THROW(Load(jpeg, std::vector<uint8_t>{'n', 'o', 't', ' ', 'J', 'P', 'E', 'G'}), EJPEG);
}

#ifndef _WIN32
TYPED_TEST(BothFlavours, SavedSettingsAsTheOraclesReadThem) {
  PK_REQUIRE_JPEG_FIXTURES();
  PK_REQUIRE_TOOL("jpeginfo");
  PK_REQUIRE_TOOL("rdjpgcom");
  PK_REQUIRE_TOOL("identify");
  PK_REQUIRE_TOOL("/usr/bin/python3");
  test::ScratchDir scratch;
  const struct {
    const char* name;
    int quality;
    bool grey, progressive;
    const char* expect;
  } cases[] = {{"q90", 90, false, false, "Baseline"},
               {"q44", 44, false, true, "Progressive"},
               {"grey", 75, true, false, "1 color components"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TypeParam jpeg;
    jpeg.Assign(PhotoBitmap());
    jpeg.SetCompressionQuality(c.quality);
    jpeg.SetGrayscale(c.grey);  // after the bitmap: it stays and is written grey
    jpeg.SetProgressiveEncoding(c.progressive);
    jpeg.SetXDPI(300);
    jpeg.SetYDPI(300);
    const auto file = scratch / (std::string(c.name) + ".jpg");
    test::WriteAll(file, Save(jpeg));
    const std::string path = file.string();
    EXPECT_NE(test::RunTool("jpeginfo -c " + path).find("OK"), std::string::npos);
    EXPECT_NE(test::RunTool("rdjpgcom -verbose " + path).find(c.expect), std::string::npos);
    EXPECT_EQ(test::RunTool("identify -format %Q " + path), std::to_string(c.quality));
    // The 18-byte JFIF APP0 right after SOI, with the density Pillow reads.
    const std::vector<uint8_t> bytes = test::ReadAll(file);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6), (std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 0, 16}));
    EXPECT_EQ(test::RunTool("/usr/bin/python3 -c \"from PIL import Image; i = Image.open('" + path +
                            "'); print(i.size, i.mode, [round(v) for v in i.info['dpi']])\""),
              std::string("(101, 75) ") + (c.grey ? "L" : "RGB") + " [300, 300]\n");
  }
}
#endif

// The x86 class.

TEST(TbwJpegX86, GreyDecodesToAtMost236GreysAndKeepsTheCentimetreResolution) {
  PK_REQUIRE_JPEG_FIXTURES();
  TbwJpegX86 grey;
  Load(grey, JpegFixtureBytes("photo_grey.jpg"));
  EXPECT_TRUE(grey.Grayscale());
  EXPECT_EQ(grey.ColorSpace(), TJPEGColorSpace::jcsGSCALE);
  const TBMPImage& bitmap = grey.Bitmap();
  EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_LE(bitmap.ColorTable().size(), 236u);
  for (TColor c : bitmap.ColorTable()) EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c));
  // Dithered to 236 levels: close to the undithered reference on average.
  const test::PnmImage reference = test::ReadPnm(JpegFixture("photo_grey_islow.pgm"));
  long total = 0;
  for (int y = 0; y < 75; ++y)
    for (int x = 0; x < 101; ++x) total += std::abs(GetRValue(bitmap.PixelColor(x, y)) - reference.At(x, y));
  EXPECT_LT(total / (101.0 * 75), 1.5);

  TbwJpegX86 dense;
  Load(dense, JpegFixtureBytes("density28.jpg"));
  EXPECT_EQ(dense.Bitmap().XPelsPerMeter(), 2800u);
  EXPECT_EQ(dense.ColorSpace(), TJPEGColorSpace::jcsYUV);
}

TEST(TbwJpegX86, FloatDctDecodeMatchesDjpeg) {
  PK_REQUIRE_JPEG_FIXTURES();
  TbwJpegX86 jpeg;
  Load(jpeg, JpegFixtureBytes("photo_q75.jpg"));
  test::ExpectMatchesPnm(jpeg.Bitmap(), test::ReadPnm(JpegFixture("photo_q75_float.ppm")), 1);
  TbwJpegX86 eight_bit;
  Load(eight_bit, JpegFixtureBytes("photo_q75.jpg"));
  eight_bit.SetPixelFormat(TJPEGPixelFormat::jf8Bit);
  EXPECT_EQ(eight_bit.Bitmap().GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_LE(eight_bit.Bitmap().ColorTable().size(), 236u);
}

TEST(TbwJpegX86, AssignSharesBytesAndTheResolutionTravelsWithThem) {
  PK_REQUIRE_JPEG_FIXTURES();
  TbwJpegX86 source;
  Load(source, JpegFixtureBytes("density28.jpg"));
  TbwJpegX86 copy;
  copy.Assign(source);
  EXPECT_EQ(copy.ImageData().data(), source.ImageData().data());
  EXPECT_EQ(copy.XDPI(), 71);
  copy.SetXDPI(0x10000 + 96);  // low 16 bits, into the shared record
  EXPECT_EQ(source.XDPI(), 96);
  // From a decoded source the resolution comes from the bitmap's pixels per
  // metre: 2800 of a unit-2 file gives 71.
  TbwJpegX86 decoded;
  Load(decoded, JpegFixtureBytes("density28.jpg"));
  decoded.DIBNeeded();
  TbwJpegX86 from_decoded;
  from_decoded.Assign(decoded);
  EXPECT_EQ(from_decoded.XDPI(), 71);
  EXPECT_EQ(from_decoded.Bitmap().Width(), 101);
}

TEST(TbwJpegX86, CompressWithoutABitmapHoldsEmptyBytes) {
  TbwJpegX86 jpeg;
  jpeg.JPEGNeeded();
  EXPECT_TRUE(jpeg.HasImageData());
  EXPECT_TRUE(jpeg.ImageData().empty());
  EXPECT_FALSE(jpeg.Empty());
}

TEST(TbwJpegX86, GreySavingLeavesTheBitmapGrey) {
  PK_REQUIRE_JPEG_FIXTURES();
  TbwJpegX86 jpeg;
  jpeg.Assign(PhotoBitmap());
  jpeg.SetGrayscale(true);
  Save(jpeg);
  EXPECT_EQ(jpeg.Bitmap().GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_TRUE(jpeg.Grayscale());
}

// The x86-64 class.

TEST(TbwJpegX64, GreyDecodesToTwoHundredFiftySixGreys) {
  PK_REQUIRE_JPEG_FIXTURES();
  TbwJpegX64 jpeg;
  Load(jpeg, JpegFixtureBytes("photo_grey.jpg"));
  EXPECT_EQ(jpeg.ColourSpace(), TJPEGColourSpace::jcsGSCALE);
  TBMPImage bitmap;
  jpeg.AssignTo(bitmap);
  EXPECT_EQ(bitmap.ColorTable().size(), 256u);
  test::ExpectMatchesPnm(bitmap, test::ReadPnm(JpegFixture("photo_grey_islow.pgm")), 1);
}

TEST(TbwJpegX64, AssignCopiesTheResolutionOfAnUndecodedSource) {
  PK_REQUIRE_JPEG_FIXTURES();
  TbwJpegX64 source;
  Load(source, JpegFixtureBytes("density28.jpg"));
  EXPECT_EQ(source.ColourSpace(), TJPEGColourSpace::jcsRGB);
  TbwJpegX64 copy;
  copy.Assign(source);
  EXPECT_EQ(copy.ImageData().data(), source.ImageData().data());
  EXPECT_EQ(copy.XDPI(), 71);
  copy.SetXDPI(96);
  EXPECT_EQ(source.XDPI(), 71);  // its own field, not the shared bytes'
  TBMPImage bitmap;
  copy.AssignTo(bitmap);
  EXPECT_EQ(bitmap.XPelsPerMeter(), 3780u);
  EXPECT_EQ(bitmap.YPelsPerMeter(), 2795u);
  // A file without a density after one with it reports none.
  Load(copy, JpegFixtureBytes("red_rgb.jpg"));
  EXPECT_EQ(copy.XDPI(), 0);
}

}  // namespace
}  // namespace pk
