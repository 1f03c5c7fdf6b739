// The input members besides the file road, and the multi-format loader and
// probe under them: byte arrays, Base64 text (data URLs, line breaks, and
// non-ASCII characters that must never turn into Base64 letters), bitmap
// handles, new canvases, and the dimension probes that never raise.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "automation/automation_errors.h"
#include "automation/image_functions.h"
#include "automation/image_loader.h"
#include "core/bmp_image.h"
#include "core/palette_helpers.h"
#include "formats/image_codecs.h"
#include "platform/bitmap_handles.h"
#include "platform/exceptions.h"
#include "platform/stream.h"
#include "tests/support/bmp_samples.h"
#include "tests/support/expect_raises.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using test::ExpectRaises;
using test::GradientBmp;
using test::ScratchDir;
using test::U16;
using test::WriteAll;

// The same BMP stored top-down: a negative height in the information header.
std::vector<uint8_t> TopDown(std::vector<uint8_t> bmp) {
  int32_t height = 0;
  std::memcpy(&height, bmp.data() + 22, 4);
  height = -height;
  std::memcpy(bmp.data() + 22, &height, 4);
  return bmp;
}

std::u16string Base64(const std::vector<uint8_t>& bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::u16string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const uint32_t group = (uint32_t{bytes[i]} << 16) | (i + 1 < bytes.size() ? uint32_t{bytes[i + 1]} << 8 : 0) |
                           (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    for (size_t k = 0; k < 4; ++k) {
      text += k <= bytes.size() - i ? static_cast<char16_t>(kAlphabet[(group >> (18 - 6 * k)) & 63]) : u'=';
    }
  }
  return text;
}

void ExpectSamePixels(const TBitmap& a, const TBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.PixelColor(x, y), b.PixelColor(x, y)) << x << "," << y;
  }
}

// A registry whose WBMP, PNG and PCX rows decode anything to a 2 x 1 image
// and whose PNG probe fails, so the loader's dispatch is seen without those
// codecs.
TDecodedImage FakeDecode(std::span<const uint8_t>, const TDecodeOptions& options) {
  TDecodedImage image;
  image.bitmap = TBitmap(2, options.image_number, PixelFormat::pf24bit);
  return image;
}
TImageDimensions FailingProbe(std::span<const uint8_t>, int32_t) { throw std::bad_alloc(); }

const TImageCodec kFakeCodecs[] = {
    {TGraphicsFormat::gfBMP, u"BMP", ImageCodecs()[0].decode, nullptr, ImageCodecs()[0].probe},
    {TGraphicsFormat::gfPCX, u"PCX", FakeDecode, nullptr, nullptr},
    {TGraphicsFormat::gfPNG, u"PNG", FakeDecode, nullptr, FailingProbe},
    {TGraphicsFormat::gfWBMP, u"WBMP", FakeDecode, nullptr, nullptr},
};
constexpr uint8_t kPngStart = 0x89;
constexpr uint8_t kPcxStart = 0x0A;
constexpr uint8_t kWbmpStart = 0x00;

TEST(ImageLoader, ChecksTheExtensionAgainstTheDataUnlessSkipped) {
  struct Case {
    uint8_t first;
    std::u16string extension;
    bool skip;
    bool loads;
  };
  const Case cases[] = {
      {kWbmpStart, u".wbm", false, true},  {kWbmpStart, u"WBMP", false, true}, {kPcxStart, u".pcx", false, true},
      {kPngStart, u".gif", false, false},  {kPngStart, u".gif", true, true},   {kPngStart, u"", false, false},
      {kPngStart, u".png", false, true},   {'Z', u".png", true, false},        {'%', u".pdf", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.first} << " " << std::string(c.extension.begin(), c.extension.end()));
    const std::vector<uint8_t> data{c.first, 1, 2, 3};
    TLoadRequest request;
    request.skip_check = c.skip;
    if (c.loads) {
      EXPECT_EQ(LoadImageStream(kFakeCodecs, data, request, c.extension).image.bitmap.Width(), 2);
    } else {
      ExpectRaises<EFOpenError>([&] { LoadImageStream(kFakeCodecs, data, request, c.extension); },
                                u"Invalid file type.");
    }
  }
}

TEST(ImageLoader, PassesTheImageNumberAndReportsTheFormat) {
  TLoadRequest request;
  request.image_number = 3;
  const TLoadedImage loaded = LoadImageStream(kFakeCodecs, std::vector<uint8_t>{kPcxStart}, request, u"pcx");
  EXPECT_EQ(loaded.format, TGraphicsFormat::gfPCX);
  EXPECT_EQ(loaded.image.bitmap.Height(), 3);
}

TEST(ImageLoader, EmptyDataAndMissingFiles) {
  ExpectRaises<EInvalidFormat>([] { LoadImageStream(kFakeCodecs, {}, {}, u"bmp"); }, u"Empty input file or stream.");
  ScratchDir dir;
  ExpectRaises<EFOpenError>([&] { LoadImageFile(kFakeCodecs, U16(dir / "a%20b%d.bmp"), {}); },
                            u"File not found: a%20b%d.bmp");
  WriteAll(dir / "empty.bmp", {});
  ExpectRaises<EInvalidFormat>([&] { LoadImageFile(kFakeCodecs, U16(dir / "empty.bmp"), {}); },
                               u"Empty input file or stream.");
}

TEST(ImageLoader, LoadsAFileCheckingItsExtension) {
  ScratchDir dir;
  const std::vector<uint8_t> bmp = GradientBmp(5, 4, PixelFormat::pf24bit);
  WriteAll(dir / "pic.BMP", bmp);
  WriteAll(dir / "pic.gif", bmp);
  EXPECT_EQ(LoadImageFile(ImageCodecs(), U16(dir / "pic.BMP"), {}).image.bitmap.Width(), 5);
  ExpectRaises<EFOpenError>([&] { LoadImageFile(ImageCodecs(), U16(dir / "pic.gif"), {}); }, u"Invalid file type.");
  TLoadRequest skip;
  skip.skip_check = true;
  EXPECT_EQ(LoadImageFile(ImageCodecs(), U16(dir / "pic.gif"), skip).image.bitmap.Height(), 4);
}

TEST(ImageDimensions, ProbesHeadersAndNeverRaises) {
  const std::vector<uint8_t> bmp = GradientBmp(9, 6, PixelFormat::pf8bit);
  std::vector<uint8_t> truncated(bmp.begin(), bmp.begin() + 20);
  struct Case {
    std::vector<uint8_t> data;
    bool found;
    uint32_t width, height;
  };
  const Case cases[] = {
      {bmp, true, 9, 6},
      {TopDown(bmp), true, 9, 6},
      {truncated, false, 0, 0},
      {{'%', 'P', 'D', 'F', '-', '1'}, false, 0, 0},
      {{'h', 'e', 'l', 'l', 'o'}, false, 0, 0},
      {{kPngStart, 'P', 'N', 'G'}, false, 0, 0},  // the probe throws std::bad_alloc
      {{}, false, 0, 0},
  };
  for (const Case& c : cases) {
    TImageDimensions dimensions{77, 77};
    EXPECT_EQ(GetImageDimensions(kFakeCodecs, c.data, 1, dimensions), c.found);
    EXPECT_EQ(dimensions.width, c.width);
    EXPECT_EQ(dimensions.height, c.height);
  }
}

TEST(ImageInputs, ReadVariantSkipsTheExtensionCheckAndKeepsTheSetting) {
  TImageFunctions object;
  object.SetIgnoreInputFileType(false);
  object.ReadVariant(GradientBmp(10, 100, PixelFormat::pf24bit));
  EXPECT_FALSE(object.IgnoreInputFileType());
  EXPECT_EQ(object.Width(), 10);
  EXPECT_EQ(object.Filename(), u"");
}

TEST(ImageInputs, Base64InReadsPlainTextDataUrlsAndBrokenLines) {
  const std::vector<uint8_t> bmp = GradientBmp(6, 3, PixelFormat::pf24bit);
  const std::u16string text = Base64(bmp);
  std::u16string lines;
  for (size_t i = 0; i < text.size(); i += 76) lines += text.substr(i, 76) + u"\r\n";
  TImageFunctions reference;
  reference.ReadVariant(bmp);
  for (const std::u16string& input : {text, u"data:image/bmp;base64," + text, lines, u" \t" + lines}) {
    TImageFunctions object;
    object.Base64In(input);
    ExpectSamePixels(object.State().Image(), reference.State().Image());
    EXPECT_EQ(object.OriginalImageType(), u"bmp");
  }
}

// A code page's best-fit mapping turns U+FF21 (fullwidth A) into "A" and
// U+00B2 (superscript two) into "2", valid Base64 letters that would shift
// every byte after them; non-ASCII characters are dropped instead.
TEST(ImageInputs, Base64InDropsNonAsciiCharacters) {
  const std::vector<uint8_t> bmp = GradientBmp(6, 3, PixelFormat::pf24bit);
  std::u16string text = Base64(bmp);
  text.insert(40, u"\uFF21\u00B2");
  text.insert(0, u"\uFEFF");
  TImageFunctions object;
  object.Base64In(text);
  TImageFunctions reference;
  reference.ReadVariant(bmp);
  ExpectSamePixels(object.State().Image(), reference.State().Image());
}

TEST(ImageInputs, Base64InWithoutBytesIsEmptyInput) {
  for (const std::u16string input : {u"", u"data:image/png;base64,", u"\r\n", u"data:image,=="}) {
    TImageFunctions object;
    ExpectRaises<EInvalidFormat>([&] { object.Base64In(input); }, u"Empty input file or stream.");
  }
}

TEST(ImageInputs, NewImageFillsWithTheColourAtTheCurrentDepth) {
  struct Case {
    PixelFormat loaded;
    std::u16string colour;
    TColor expected;
    int32_t depth;
  };
  const Case cases[] = {
      {PixelFormat::pf24bit, u"FF0000", RGB(255, 0, 0), 24},
      {PixelFormat::pf24bit, u"xyz", RGB(255, 255, 255), 24},
      {PixelFormat::pf8bit, u"FF0000", RGB(255, 0, 0), 8},
      {PixelFormat::pf1bit, u"#00FF00", RGB(0, 255, 0), 1},
  };
  for (const Case& c : cases) {
    TImageFunctions object;
    object.ReadVariant(GradientBmp(3, 3, c.loaded));
    object.SetTransparent(true);
    object.SetBackgroundColor(u"123456");
    object.NewImage(100, 50, c.colour);
    EXPECT_EQ(object.Width(), 100);
    EXPECT_EQ(object.Height(), 50);
    EXPECT_EQ(object.ColorDepth(), c.depth);
    const TBitmap& image = object.State().Image();
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{99, 49}, std::pair{50, 20}}) {
      EXPECT_EQ(image.PixelColor(x, y), c.expected);
    }
    if (c.depth <= 8) {
      EXPECT_GE(PaletteIndexOf(image, c.expected), 0);
    }
    EXPECT_EQ(object.XDPI(), 0);
    EXPECT_FALSE(object.HasBackground());
    EXPECT_EQ(object.BackgroundColor(), u"FFFFFF");
    EXPECT_TRUE(object.Transparent());
  }
}

TEST(ImageInputs, BmpHandlePutTakesTheBitmapOver) {
  TImageFunctions source;
  source.ReadVariant(GradientBmp(7, 5, PixelFormat::pf8bit));
  const int32_t handle = CreateBitmapHandle(source.State().Image());
  TImageFunctions object;
  object.SetCompressionType(TxCompressionType::ctLZW);
  object.SetBMPHandle(handle);
  ExpectSamePixels(object.State().Image(), source.State().Image());
  EXPECT_EQ(object.ColorDepth(), 8);
  EXPECT_EQ(object.CompressionType(), TxCompressionType::ctNone);
  EXPECT_FALSE(DeleteBitmapHandle(handle)) << "the object deletes the handle it took";
}

TEST(ImageInputs, BmpHandlePutWithAnInvalidHandleLeavesAnEmptyImage) {
  for (const int32_t handle : {0, -1, 0x7FFFFFF0}) {
    TImageFunctions object;
    object.ReadVariant(GradientBmp(7, 5, PixelFormat::pf24bit));
    object.SetCompressionType(TxCompressionType::ctLZW);
    object.SetBMPHandle(handle);
    EXPECT_EQ(object.Width(), 0);
    EXPECT_EQ(object.CompressionType(), TxCompressionType::ctLZW);
  }
}

TEST(ImageInputs, DimensionMembersMeasureWithoutLoading) {
  ScratchDir dir;
  WriteAll(dir / "top.bmp", TopDown(GradientBmp(9, 6, PixelFormat::pf24bit)));
  WriteAll(dir / "doc.pdf", {'%', 'P', 'D', 'F', '-', '1', '.', '4'});
  TImageFunctions object;
  object.ReadVariant(GradientBmp(3, 2, PixelFormat::pf24bit));
  object.GetDimensions(U16(dir / "top.bmp"));
  EXPECT_EQ(object.ReadWidth(), 9);
  EXPECT_EQ(object.ReadHeight(), 6);
  object.GetDimensions(U16(dir / "doc.pdf"));
  EXPECT_EQ(object.ReadWidth(), 0);
  EXPECT_EQ(object.ReadHeight(), 0);
  object.GetDimensionsBin(GradientBmp(4, 11, PixelFormat::pf1bit));
  EXPECT_EQ(object.ReadHeight(), 11);
  object.GetDimensionsBin(std::vector<uint8_t>{'x', 'y'});
  EXPECT_EQ(object.ReadWidth(), 0);
  EXPECT_THROW(object.GetDimensions(U16(dir / "missing.bmp")), EFOpenError);
  EXPECT_EQ(object.Width(), 3) << "the current image is not touched";
}

}  // namespace
}  // namespace pk
