// TBMPImage: the byte-exact 24-bit layout, the resolution written, patched and
// read relative to where the BMP begins, the header probe (core headers and
// top-down heights included), IsGrayScale, and Pillow reading our 24-bit files.
#include "core/bmp_image.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/bmp_structures.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/palette.h"
#include "platform/stream.h"
#include "tests/platform/bmp/rgba_reference.h"
#include "tests/support/oracles.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t At32(std::span<const uint8_t> bytes, size_t at) { return bmp::LoadLE32(bytes, at); }

Bytes Saved(TBMPImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return stream.Release();
}

TBMPImage Rgb24(int width, int height) {
  TBMPImage image;
  image.SetPixelFormat(PixelFormat::pf24bit);
  image.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixelColor(x, y, RGB(10 * x + 1, 20 * y + 2, 3 + x + y));
  return image;
}

// A BMP with an OS/2 core header: 2 × 1 pixels, 1 bit, two 3-byte entries.
Bytes CoreHeaderBmp() {
  return Bytes{'B', 'M', 36, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,  // file header
               12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 1, 0,              // core header
               0, 0, 0, 255, 255, 255,                           // black, white
               0x40, 0, 0, 0};                                   // pixels 0, 1
}

TEST(BMPImage, CreateSetsEverythingToZeroAndLeft) {
  const TBMPImage image;
  EXPECT_EQ(image.XPelsPerMeter(), 0u);
  EXPECT_EQ(image.YPelsPerMeter(), 0u);
  EXPECT_EQ(image.ReadWidth(), 0u);
  EXPECT_EQ(image.ReadHeight(), 0u);
  EXPECT_EQ(image.ReadXPelsPerMeter(), 0u);
  EXPECT_EQ(image.ReadYPelsPerMeter(), 0u);
  EXPECT_EQ(image.TextJustification(), TTextJustification::tjLeft);
}

TEST(BMPImage, Writes24BitImagesInItsOwnLayout) {
  TBMPImage image = Rgb24(3, 2);
  image.SetXPelsPerMeter(3780);
  image.SetYPelsPerMeter(2835);
  const Bytes bytes = Saved(image);
  Bytes expected = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                    40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 24, 0, 0, 0,
                    0xC4, 0x0E, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int y : {1, 0}) {  // bottom row first, each row with its padding
    const uint8_t* row = image.ScanLine(y);
    expected.insert(expected.end(), row, row + 12);
  }
  EXPECT_EQ(bytes, expected);
}

TEST(BMPImage, TwentyFourBitStrideRoundsUpToFourBytes) {
  const struct { int width; uint32_t stride; } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {0, 4}};
  for (const auto& c : cases) {
    TBMPImage image = Rgb24(c.width, 2);
    const Bytes bytes = Saved(image);
    EXPECT_EQ(bytes.size(), 54 + 2 * c.stride) << c.width;
    EXPECT_EQ(At32(bytes, 2), 54 + 2 * c.stride) << c.width;
    EXPECT_EQ(At32(bytes, 34), 2 * c.stride) << c.width;
  }
}

TEST(BMPImage, ZeroWidthRowsAreZeroBytes) {
  TBMPImage image = Rgb24(0, 3);
  const Bytes bytes = Saved(image);
  ASSERT_EQ(bytes.size(), 54u + 12);
  EXPECT_EQ(Bytes(bytes.begin() + 54, bytes.end()), Bytes(12, 0));
}

TEST(BMPImage, TwentyFourBitsLeaveTheStreamAfterTheData) {
  TBMPImage image = Rgb24(2, 2);
  TMemoryStream stream;
  stream.WriteBytes(Bytes{9, 9, 9, 9, 9});
  image.SaveToStream(stream);
  EXPECT_EQ(stream.Position(), 5 + 54 + 16);
  EXPECT_EQ(stream.Size(), 5 + 54 + 16);
  EXPECT_EQ(stream.Memory()[5], 'B');
}

TBMPImage Grey8(int width, int height) {
  TBMPImage image;
  image.SetPixelFormat(PixelFormat::pf8bit);
  image.SetSize(width, height);
  image.SetColorTable(GreyPalette());
  return image;
}

TEST(BMPImage, OtherFormatsGetTheResolutionPatchedAndTheStreamRewound) {
  TBMPImage image = Grey8(3, 2);
  image.SetXPelsPerMeter(3780);
  image.SetYPelsPerMeter(1234);
  TMemoryStream stream;
  image.SaveToStream(stream);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(At32(stream.Bytes(), 38), 3780u);
  EXPECT_EQ(At32(stream.Bytes(), 42), 1234u);
}

// The patch lands in the BMP's own header, not at absolute position 38 of a
// stream that held something before it.
TEST(BMPImage, ThePatchCountsFromWhereTheBmpBegins) {
  TBMPImage image = Grey8(3, 2);
  image.SetXPelsPerMeter(3780);
  image.SetYPelsPerMeter(1234);
  const Bytes prefix(50, 0xEE);
  TMemoryStream stream;
  stream.WriteBytes(prefix);
  image.SaveToStream(stream);
  EXPECT_EQ(stream.Position(), 50);
  EXPECT_EQ(Bytes(stream.Memory(), stream.Memory() + 50), prefix);
  EXPECT_EQ(At32(stream.Bytes(), 50 + 38), 3780u);
  EXPECT_EQ(At32(stream.Bytes(), 50 + 42), 1234u);
}

TEST(BMPImage, LoadingTakesTheResolutionFromTheHeader) {
  for (PixelFormat format : {PixelFormat::pf24bit, PixelFormat::pf8bit, PixelFormat::pf1bit}) {
    TBMPImage written = Rgb24(4, 3);
    written.SetPixelFormat(format);
    written.SetXPelsPerMeter(3780);
    written.SetYPelsPerMeter(2835);
    TMemoryStream stream(Saved(written));
    TBMPImage read;
    read.LoadFromStream(stream);
    EXPECT_EQ(read.XPelsPerMeter(), 3780u);
    EXPECT_EQ(read.YPelsPerMeter(), 2835u);
    EXPECT_EQ(read.GetPixelFormat(), format);
    EXPECT_EQ(read.PixelColor(3, 2), written.PixelColor(3, 2));
  }
}

// Inside a larger stream the resolution comes from the BMP's own header, not
// from absolute positions 38 and 42.
TEST(BMPImage, LoadingReadsTheResolutionFromWhereTheBmpBegins) {
  TBMPImage written = Rgb24(2, 2);
  written.SetXPelsPerMeter(4000);
  written.SetYPelsPerMeter(5000);
  TMemoryStream stream;
  stream.WriteBytes(Bytes(60, 0x77));
  written.SaveToStream(stream);
  stream.SetPosition(60);
  TBMPImage read;
  read.LoadFromStream(stream);
  EXPECT_EQ(read.XPelsPerMeter(), 4000u);
  EXPECT_EQ(read.YPelsPerMeter(), 5000u);
  EXPECT_EQ(read.PixelColor(1, 1), written.PixelColor(1, 1));
}

// A core header has no resolution: bytes 38-45 are colour table and pixels.
TEST(BMPImage, ACoreHeaderLoadsWithoutResolution) {
  Bytes bytes = CoreHeaderBmp();
  bytes.resize(60, 0xAB);  // long enough for positions 38-45 to hold something
  TMemoryStream stream(bytes);
  TBMPImage image;
  image.SetXPelsPerMeter(111);
  image.SetYPelsPerMeter(222);
  image.LoadFromStream(stream);
  EXPECT_EQ(image.XPelsPerMeter(), 0u);
  EXPECT_EQ(image.YPelsPerMeter(), 0u);
  EXPECT_EQ(image.PixelColor(1, 0), clWhite);
}

TEST(BMPImage, AFailedLoadKeepsImageAndResolution) {
  TBMPImage written = Rgb24(2, 2);
  written.SetXPelsPerMeter(999);
  Bytes bytes = Saved(written);
  bytes.resize(bytes.size() - 1);
  TBMPImage image = Grey8(1, 1);
  image.SetXPelsPerMeter(5);
  TMemoryStream stream(bytes);
  EXPECT_THROW(image.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_EQ(image.XPelsPerMeter(), 5u);
  EXPECT_EQ(image.GetPixelFormat(), PixelFormat::pf8bit);
}

void ExpectInvalidBitmap(const Bytes& bytes, size_t position = 0) {
  TMemoryStream stream(bytes);
  stream.SetPosition(static_cast<int64_t>(position));
  TBMPImage image;
  try {
    image.GetDimensionsFromStream(stream);
    ADD_FAILURE() << "probe accepted " << bytes.size() << " bytes";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), u"Invalid bitmap");
  }
}

Bytes ProbeHeader(size_t size, int32_t width, int32_t height) {
  Bytes bytes(size, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  bmp::StoreLE32(bytes, 14, 40);
  bmp::StoreLE32(bytes, 18, static_cast<uint32_t>(width));
  bmp::StoreLE32(bytes, 22, static_cast<uint32_t>(height));
  bmp::StoreLE32(bytes, 38, 3780);
  bmp::StoreLE32(bytes, 42, 2835);
  return bytes;
}

TEST(BMPImage, TheProbeWantsMoreThanTheHeadersAndTheSignature) {
  ExpectInvalidBitmap(ProbeHeader(54, 7, 9));
  ExpectInvalidBitmap({});
  Bytes not_bm = ProbeHeader(60, 7, 9);
  not_bm[1] = 'A';
  ExpectInvalidBitmap(not_bm);
  Bytes core_headers_only = CoreHeaderBmp();
  core_headers_only.resize(26);
  ExpectInvalidBitmap(core_headers_only);
  // 55 bytes, but the BMP begins at 2: only 53 of them are its own.
  Bytes shifted = {0, 0};
  const Bytes header = ProbeHeader(53, 7, 9);
  shifted.insert(shifted.end(), header.begin(), header.end());
  ExpectInvalidBitmap(shifted, 2);
}

TEST(BMPImage, TheProbeReadsSizeAndResolution) {
  const struct { const char* what; Bytes bytes; size_t position; uint32_t width, height, x, y; } cases[] = {
      {"55 bytes", ProbeHeader(55, 7, 9), 0, 7, 9, 3780, 2835},
      {"top-down: the row count", ProbeHeader(55, 7, -9), 0, 7, 9, 3780, 2835},
      {"top-down INT_MIN", ProbeHeader(55, 7, INT_MIN), 0, 7, 2147483648u, 3780, 2835},
      {"core header: 16-bit sizes, no resolution", CoreHeaderBmp(), 0, 2, 1, 0, 0},
  };
  for (const auto& c : cases) {
    TMemoryStream stream(c.bytes);
    stream.SetPosition(static_cast<int64_t>(c.position));
    TBMPImage image;
    image.GetDimensionsFromStream(stream);
    EXPECT_EQ(image.ReadWidth(), c.width) << c.what;
    EXPECT_EQ(image.ReadHeight(), c.height) << c.what;
    EXPECT_EQ(image.ReadXPelsPerMeter(), c.x) << c.what;
    EXPECT_EQ(image.ReadYPelsPerMeter(), c.y) << c.what;
  }
}

TEST(BMPImage, TheProbeCountsFromWhereTheBmpBegins) {
  Bytes bytes(30, 0x42);  // starts with "BB": not taken for a BMP
  const Bytes header = ProbeHeader(60, 11, 13);
  bytes.insert(bytes.end(), header.begin(), header.end());
  TMemoryStream stream(bytes);
  stream.SetPosition(30);
  TBMPImage image;
  image.GetDimensionsFromStream(stream);
  EXPECT_EQ(image.ReadWidth(), 11u);
  EXPECT_EQ(image.ReadHeight(), 13u);
  EXPECT_EQ(image.ReadXPelsPerMeter(), 3780u);
}

TEST(BMPImage, TheProbeReadsFiles) {
  test::ScratchDir scratch;
  TBMPImage written = Rgb24(6, 5);
  written.SetYPelsPerMeter(77);
  written.SaveToFile(test::U16(scratch / "probe.bmp"));
  TBMPImage image;
  image.GetDimensionsFromFile(test::U16(scratch / "probe.bmp"));
  EXPECT_EQ(image.ReadWidth(), 6u);
  EXPECT_EQ(image.ReadHeight(), 5u);
  EXPECT_EQ(image.ReadYPelsPerMeter(), 77u);
  EXPECT_EQ(image.Width(), 0);  // nothing decoded
  EXPECT_THROW(image.GetDimensionsFromFile(test::U16(scratch / "missing.bmp")), EFOpenError);
}

TEST(BMPImage, IsGrayScaleLooksAtEveryPaletteEntry) {
  const auto paletted = [](PixelFormat format, std::vector<TColor> table) {
    TBMPImage image;
    image.SetPixelFormat(format);
    image.SetSize(2, 2);
    image.SetColorTable(table);
    return image;
  };
  std::vector<TColor> grey_but_one = GreyPalette();
  grey_but_one[200] = RGB(1, 2, 3);
  const struct { const char* what; TBMPImage image; bool grey; } cases[] = {
      {"24 bits", Rgb24(2, 2), false},
      {"8 bits, 256 greys", paletted(PixelFormat::pf8bit, GreyPalette()), true},
      {"8 bits, one colour entry", paletted(PixelFormat::pf8bit, grey_but_one), false},
      {"1 bit black and white", paletted(PixelFormat::pf1bit, {clBlack, clWhite}), true},
      {"4 bits VGA colours", paletted(PixelFormat::pf4bit, DefaultPalette(PixelFormat::pf4bit)), false},
      {"4 bits, two greys, the rest black", paletted(PixelFormat::pf4bit, {RGB(9, 9, 9), clWhite}), true},
      {"16 bits", paletted(PixelFormat::pf16bit, {}), false},
      {"32 bits", paletted(PixelFormat::pf32bit, {}), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.image.IsGrayScale(), c.grey) << c.what;
}

TEST(BMPImage, AssignToCopiesTheBitmapButNotTheResolution) {
  TBMPImage source = Rgb24(3, 2);
  source.SetXPelsPerMeter(3780);
  TBMPImage dest;
  dest.SetXPelsPerMeter(1);
  source.AssignTo(dest);
  EXPECT_EQ(dest.Width(), 3);
  EXPECT_EQ(dest.PixelColor(2, 1), source.PixelColor(2, 1));
  EXPECT_EQ(dest.XPelsPerMeter(), 1u);
  TBitmap plain;
  source.AssignTo(plain);
  EXPECT_EQ(plain.PixelColor(1, 0), source.PixelColor(1, 0));
}

TEST(BMPImage, PillowReadsOurTwentyFourBitFiles) {
  if (!test::RequireOracles({test::Oracle::kPillow})) return;
  test::ScratchDir scratch;
  const int widths[] = {1, 2, 3, 4, 5};
  std::vector<std::filesystem::path> files;
  for (int width : widths) {
    files.push_back(scratch / ("rgb" + std::to_string(width) + ".bmp"));
    Rgb24(width, 3).SaveToFile(test::U16(files.back()));
  }
  const auto decoded = test::PillowDecode(files, scratch);
  ASSERT_TRUE(decoded.has_value());
  for (size_t i = 0; i < files.size(); ++i) test::ExpectPixelsMatch(Rgb24(widths[i], 3), (*decoded)[i]);
}

}  // namespace
}  // namespace pk
