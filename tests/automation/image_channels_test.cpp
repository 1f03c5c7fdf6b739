// The object's per-format rules over the codec registry: the extensions the
// load checks accept, the formats its own load road reads, the writer an
// extension picks, the type names the writers by name take, and the TIFF
// compression codes both ways.
#include "automation/image_channels.h"

#include <gtest/gtest.h>

#include "core/image_codec.h"
#include "formats/image_codecs.h"

namespace pk {
namespace {

TEST(ImageChannels, EveryRegisteredFormatHasItsRulesAndTheLoadChecksTheirExtensions) {
  struct Case {
    TGraphicsFormat format;
    std::u16string_view accepted;
    std::u16string_view refused;
    bool object_road_reads;
  };
  const Case cases[] = {
      {TGraphicsFormat::gfBMP, u"bmp", u"BMP", true},   {TGraphicsFormat::gfGIF, u"gif", u"png", true},
      {TGraphicsFormat::gfJPG, u"jpe", u"jfif", true},  {TGraphicsFormat::gfPCX, u"pcx", u"", false},
      {TGraphicsFormat::gfPNG, u"png", u".png", true},  {TGraphicsFormat::gfWBMP, u"wbm", u"wbmp2", false},
      {TGraphicsFormat::gfPSD, u"psd", u"pdd", false},  {TGraphicsFormat::gfTIF, u"tif", u"tf", true},
      {TGraphicsFormat::gfPDF, u"pdf", u"ai", false},
  };
  for (const Case& c : cases) {
    const TFormatChannels* channels = ChannelsOf(c.format);
    ASSERT_NE(channels, nullptr) << static_cast<int>(c.format);
    EXPECT_NE(FindImageCodec(ImageCodecs(), c.format), nullptr);
    EXPECT_TRUE(AcceptsExtension(*channels, c.accepted));
    EXPECT_FALSE(AcceptsExtension(*channels, c.refused));
    EXPECT_EQ(channels->object_road_reads, c.object_road_reads);
  }
  EXPECT_EQ(ChannelsOf(TGraphicsFormat::gfUnknown), nullptr);
}

TEST(ImageChannels, WriteFileAndTheWritersByNamePickTheirFormats) {
  EXPECT_EQ(WriteFormatFor(u".bmp"), TGraphicsFormat::gfBMP);
  EXPECT_EQ(WriteFormatFor(u".tiff"), TGraphicsFormat::gfTIF);
  for (std::u16string_view other : {u".jpeg", u"", u".wbmp", u".pcx"}) EXPECT_EQ(WriteFormatFor(other), TGraphicsFormat::gfJPG);

  EXPECT_EQ(FormatForTypeName(u"png"), TGraphicsFormat::gfPNG);
  EXPECT_EQ(FormatForTypeName(u".PNG"), TGraphicsFormat::gfPNG);
  EXPECT_EQ(FormatForTypeName(u"Jpe"), TGraphicsFormat::gfJPG);
  EXPECT_EQ(FormatForTypeName(u"WBMP"), TGraphicsFormat::gfWBMP);
  for (std::u16string_view refused : {u" png", u"..png", u"pcx", u"psd", u"pdf", u"", u"."})
    EXPECT_EQ(FormatForTypeName(refused), TGraphicsFormat::gfUnknown);
}

TEST(ImageChannels, TiffCompressionCodesBothWays) {
  EXPECT_EQ(CompressionTypeOf(3), TxCompressionType::ctGroup3);
  EXPECT_EQ(CompressionTypeOf(4), TxCompressionType::ctGroup4);
  EXPECT_EQ(CompressionTypeOf(5), TxCompressionType::ctLZW);
  EXPECT_EQ(CompressionTypeOf(32773), TxCompressionType::ctPackbits);
  EXPECT_EQ(CompressionTypeOf(1), TxCompressionType::ctNone);
  EXPECT_EQ(CompressionTypeOf(7), TxCompressionType::ctNone);
  EXPECT_EQ(TiffCompressionOf(TxCompressionType::ctLZW), 32773);
  EXPECT_EQ(TiffCompressionOf(TxCompressionType::ctPackbits), 32773);
  EXPECT_EQ(TiffCompressionOf(TxCompressionType::ctGroup3), 4);
  EXPECT_EQ(TiffCompressionOf(TxCompressionType::ctNone), 1);
  EXPECT_EQ(TiffCompressionOf(static_cast<TxCompressionType>(9)), 1);
}

}  // namespace
}  // namespace pk
