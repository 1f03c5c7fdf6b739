// The output channels of the automation object: type names as the writers by
// name take them, the byte array, Base64 and size outputs of one encoding
// (read back by Pillow and by Python's base64), the alpha flattening they
// apply, the bitmap handle and the Response stream. A stand-in PNG codec
// (the real one is not wired yet) loads an image with an alpha channel and
// writes the kind of transparency it was handed, so the flattening rules show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "automation/automation_errors.h"
#include "automation/image_functions.h"
#include "automation/messages.h"
#include "platform/bitmap_handles.h"
#include "platform/exceptions.h"
#include "platform/text_encoding.h"
#include "platform/stream.h"
#include "tests/platform/bmp/rgba_reference.h"
#include "tests/support/bmp_samples.h"
#include "tests/support/oracles.h"
#include "tests/support/stand_in_codecs.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using test::GradientBmp;

constexpr TColor kPixel = RGB(200, 100, 0);

// The stand-in PNG road: a 2 x 1 picture of kPixel whose left pixel is fully
// transparent; the encoding is one byte, the transparency kind it was handed.
TDecodedImage DecodeAlphaPicture(std::span<const uint8_t>, const TDecodeOptions&) {
  TDecodedImage image;
  image.bitmap = TBitmap(2, 1, PixelFormat::pf24bit);
  image.bitmap.SetPixelColor(0, 0, kPixel);
  image.bitmap.SetPixelColor(1, 0, kPixel);
  image.alpha = std::make_unique<TAlpha>();
  image.alpha->SetTransparencyType(TTransparencyType::ttAlpha);
  image.alpha->SetWidth(2);
  image.alpha->SetHeight(1);
  image.alpha->SetAlphaPixel(1, 0, 255);
  return image;
}

std::vector<uint8_t> EncodeTransparencyKind(const TBitmap&, const TEncodeOptions& options) {
  return {static_cast<uint8_t>(options.alpha ? options.alpha->TransparencyType() : TTransparencyType::ttNone)};
}

class ImageOutputs : public testing::Test {
 protected:
  ImageOutputs() : codecs_(test::CodecsWithPngStandIn(DecodeAlphaPicture, EncodeTransparencyKind)) {
    object_.SetCodecs(codecs_);
  }
  void LoadAlphaPicture() { object_.ReadVariant(std::vector<uint8_t>{0x89, 'P', 'N', 'G'}); }

  std::vector<TImageCodec> codecs_;
  TImageFunctions object_;
};

template <class Member>
std::u16string MessageOf(Member member) {
  try {
    member();
  } catch (const Exception& error) {
    return error.Message();
  }
  return u"(no error)";
}

TEST_F(ImageOutputs, TypeNamesAfterOneDotInAnyCase) {
  object_.ReadVariant(GradientBmp(5, 3, PixelFormat::pf24bit));
  const std::vector<uint8_t> bytes = object_.VariantOut(u"bmp");
  for (const char16_t* name : {u".BMP", u"Bmp", u"bMp"}) EXPECT_EQ(object_.VariantOut(name), bytes);
  for (const char16_t* name : {u" bmp", u"bmp ", u"..bmp", u"", u"pcx", u"jpeg2000"}) {
    EXPECT_EQ(MessageOf([&] { object_.VariantOut(name); }), msg::kUnsupportedImageType);
  }
  // The writers without a codec yet are named types all the same.
  for (const char16_t* name : {u"gif", u".TIFF", u"tif", u"WBMP"}) {
    const std::u16string message = MessageOf([&] { object_.VariantOut(name); });
    EXPECT_EQ(message.rfind(msg::kWriterNotAvailable, 0), 0u) << Utf16ToUtf8(message);
  }
  // JPEG has its writer under every one of its names.
  for (const char16_t* name : {u"jpe", u".JPG", u"Jpeg"}) {
    const std::vector<uint8_t> jpeg = object_.VariantOut(name);
    ASSERT_GE(jpeg.size(), 2u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
  }
  EXPECT_EQ(object_.VariantOut(u".PNG"), object_.VariantOut(u"Png"));
}

TEST_F(ImageOutputs, WbmpIsNotWrittenAsNothing) {
  object_.ReadVariant(GradientBmp(5, 3, PixelFormat::pf24bit));
  // No WBMP writer yet: the type raises like every missing writer rather
  // than reporting an empty encoding as success.
  EXPECT_EQ(MessageOf([&] { object_.VariantOut(u"wbmp"); }), std::u16string(msg::kWriterNotAvailable) + u".wbmp");
  EXPECT_EQ(MessageOf([&] { object_.NewFileSize(u"WBMP"); }), std::u16string(msg::kWriterNotAvailable) + u".wbmp");
}

TEST_F(ImageOutputs, ByteArraySizeAndResolution) {
  object_.ReadVariant(GradientBmp(5, 3, PixelFormat::pf24bit));
  object_.SetXDPI(300);
  const std::vector<uint8_t> bytes = object_.VariantOut(u"bmp");
  EXPECT_EQ(object_.NewFileSize(u"bmp"), static_cast<int32_t>(bytes.size()));
  // This road stores no resolution: the header's pixels-per-metre fields are 0.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 38, bytes.begin() + 46), std::vector<uint8_t>(8, 0));
}

TEST_F(ImageOutputs, PillowReadsTheByteArray) {
  if (!test::RequireOracles({test::Oracle::kPillow})) return;
  object_.ReadVariant(GradientBmp(5, 3, PixelFormat::pf24bit));
  const test::ScratchDir scratch;
  const auto bmp = scratch / "out.bmp";
  test::WriteAll(bmp, object_.VariantOut(u"bmp"));
  const auto decoded = test::PillowDecode({bmp}, scratch);
  ASSERT_TRUE(decoded);
  test::ExpectPixelsMatch(object_.State().Image(), decoded->front());
}

TEST_F(ImageOutputs, PythonDecodesBase64OutToTheByteArray) {
#ifdef _WIN32
  GTEST_SKIP() << "Python is out of reach under Wine";
#else
  object_.ReadVariant(GradientBmp(37, 11, PixelFormat::pf24bit));
  const std::u16string text = object_.Base64Out(u"bmp");
  const test::ScratchDir scratch;
  const auto text_file = scratch / "out.b64";
  const auto decoded_file = scratch / "decoded";
  test::WriteAll(text_file, std::vector<uint8_t>(text.begin(), text.end()));
  const std::string command = "/usr/bin/python3 -c \"import base64, sys; open(sys.argv[2], 'wb').write("
                              "base64.decodebytes(open(sys.argv[1], 'rb').read()))\" '" +
                              text_file.string() + "' '" + decoded_file.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(test::ReadAll(decoded_file), object_.VariantOut(u"bmp"));
#endif
}

TEST_F(ImageOutputs, EveryOutputButPngFlattensTheAlphaChannel) {
  object_.SetBackgroundColor(u"#FFFFFF");
  LoadAlphaPicture();
  EXPECT_EQ(object_.VariantOut(u"png"), std::vector<uint8_t>{uint8_t(TTransparencyType::ttAlpha)});
  EXPECT_EQ(object_.State().Alpha().TransparencyType(), TTransparencyType::ttAlpha);

  const std::vector<uint8_t> bmp = object_.VariantOut(u"bmp");
  EXPECT_EQ(object_.State().Alpha().TransparencyType(), TTransparencyType::ttNone);
  EXPECT_EQ(object_.State().Image().PixelColor(0, 0), clWhite);  // transparent: the background
  EXPECT_EQ(object_.State().Image().PixelColor(1, 0), kPixel);   // opaque: kept
  EXPECT_EQ(object_.VariantOut(u"png"), std::vector<uint8_t>{uint8_t(TTransparencyType::ttNone)});

  for (auto output : {+[](TImageFunctions& o) { o.Base64Out(u"bmp"); },
                      +[](TImageFunctions& o) { o.NewFileSize(u"bmp"); },
                      +[](TImageFunctions& o) { DeleteBitmapHandle(o.BMPHandle()); }}) {
    LoadAlphaPicture();
    output(object_);
    EXPECT_EQ(object_.State().Alpha().TransparencyType(), TTransparencyType::ttNone);
  }
}

TEST_F(ImageOutputs, BitmapHandlesAreNewCopiesOwnedByTheCaller) {
  object_.ReadVariant(GradientBmp(5, 3, PixelFormat::pf24bit));
  const int32_t first = object_.BMPHandle();
  const int32_t second = object_.BMPHandle();
  EXPECT_NE(first, second);
  const std::unique_ptr<TBitmap> copy = TakeOverBitmapHandle(first);
  EXPECT_EQ(copy->Width(), 5);
  EXPECT_EQ(copy->PixelColor(4, 2), object_.State().Image().PixelColor(4, 2));
  EXPECT_TRUE(DeleteBitmapHandle(second));
  EXPECT_EQ(object_.Width(), 5);
}

TEST_F(ImageOutputs, StreamsTheEncodingToTheResponse) {
  struct Record {
    std::vector<std::u16string> headers;
    std::vector<uint8_t> body;
  } record;
  struct Sink final : IAspResponse {
    explicit Sink(Record& r) : record(r) {}
    void AddHeader(const std::u16string& name, const std::u16string& value) override {
      record.headers.push_back(name + u": " + value);
    }
    void BinaryWrite(std::span<const uint8_t> bytes) override {
      record.body.insert(record.body.end(), bytes.begin(), bytes.end());
    }
    bool Buffer() override { return false; }
    void Flush() override {}
    bool IsClientConnected() override { return true; }
    Record& record;
  };
  object_.SetResponseSource([&record] { return std::make_unique<Sink>(record); });
  object_.ReadVariant(GradientBmp(300, 200, PixelFormat::pf24bit));
  object_.StreamToBrowser(u"bmp");
  const std::vector<uint8_t> bytes = object_.VariantOut(u"bmp");
  EXPECT_EQ(record.headers, std::vector<std::u16string>{u"Content-Length: 180054"});
  EXPECT_EQ(record.body, bytes);
  EXPECT_EQ(MessageOf([&] { object_.StreamToBrowser(u"tga"); }), msg::kUnsupportedImageType);
}

}  // namespace
}  // namespace pk
