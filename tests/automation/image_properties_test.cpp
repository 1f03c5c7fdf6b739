// The automation object's state and plain properties: the defaults of a new
// object, the setters that do more than store, colour text both ways, the
// resolution conversions and the member table the COM shell is checked
// against.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include "automation/image_functions.h"
#include "automation/member_table.h"
#include "core/graphics_format.h"

namespace pk {
namespace {

TEST(ImageFunctionsDefaults, NewObjectReadsItsDocumentedDefaults) {
  TImageFunctions object;
  EXPECT_EQ(object.Width(), 0);
  EXPECT_EQ(object.Height(), 0);
  EXPECT_EQ(object.ColorDepth(), 24);
  EXPECT_EQ(object.JpegQuality(), 90);
  EXPECT_EQ(object.OverwriteChr(), u"~");
  EXPECT_EQ(object.OverwriteMode(), TxowMode::owAlways);
  EXPECT_TRUE(object.IgnoreInputFileType());
  EXPECT_EQ(object.TextSize(), 16);
  EXPECT_TRUE(object.TextOpaque());
  EXPECT_EQ(object.TransparentColor(), u"FFFFFF");
  EXPECT_EQ(object.TextBG(), u"FFFFFF");
  EXPECT_EQ(object.BackgroundColor(), u"FFFFFF");
  EXPECT_EQ(object.TextColor(), u"000000");
  EXPECT_EQ(object.OriginalImageType(), u"");
  EXPECT_EQ(object.Test(), u"");
  EXPECT_FALSE(object.HasAlpha());
  EXPECT_FALSE(object.HasBackground());
  EXPECT_FALSE(object.Tile());
  EXPECT_EQ(object.CompressionType(), TxCompressionType::ctNone);
  EXPECT_EQ(object.TextJustify(), TxJustifyType::jtLeft);
  EXPECT_EQ(object.Filename(), u"");
  EXPECT_EQ(object.FileSize(), 0);
  EXPECT_EQ(object.ReadWidth(), 0);
  EXPECT_EQ(object.ExtraAlphaValue(), 0);
  EXPECT_EQ(object.Settings().FOriginalImageType, TGraphicsFormat::gfUnknown);
  EXPECT_EQ(object.Settings().FTile, TWMStyle::wmSingle);
  const TImageState& state = object.State();
  EXPECT_EQ(state.Alpha().TransparencyType(), TTransparencyType::ttNone);
  for (uint8_t alpha : state.TransparentArray()) ASSERT_EQ(alpha, 255);
}

TEST(ImageFunctionsProperties, SettersThatDoMoreThanStore) {
  TImageFunctions object;
  object.SetExtraAlphaValue(0x1234);
  EXPECT_EQ(object.ExtraAlphaValue(), 0x34);
  object.SetExtraAlphaValue(-1);
  EXPECT_EQ(object.ExtraAlphaValue(), 255);

  object.SetKeepAlpha(true);
  EXPECT_FALSE(object.KeepAlpha());

  object.SetTile(true);
  EXPECT_TRUE(object.Tile());
  EXPECT_EQ(object.Settings().FTile, TWMStyle::wmTile);
  object.SetTile(false);
  EXPECT_EQ(object.Settings().FTile, TWMStyle::wmSingle);

  // Plain setters store without range checks, enumerations included.
  object.SetJpegQuality(300);
  EXPECT_EQ(object.JpegQuality(), 300);
  object.SetOverwriteMode(static_cast<TxowMode>(7));
  EXPECT_EQ(static_cast<int32_t>(object.OverwriteMode()), 7);
  object.SetTextJustify(static_cast<TxJustifyType>(-3));
  EXPECT_EQ(static_cast<int32_t>(object.TextJustify()), -3);
}

TEST(ImageFunctionsProperties, VersionNamesProductNumberAndBuildWidth) {
  const std::u16string version = TImageFunctions::Version();
  EXPECT_NE(version.find(u"PixmarlKit"), std::u16string::npos);
  EXPECT_NE(version.find(u"1.0.0.0"), std::u16string::npos);
  EXPECT_NE(version.find(sizeof(void*) == 8 ? u"64 bit" : u"32 bit"), std::u16string::npos);
}

struct ColourCase {
  std::u16string text;
  std::u16string read_back;  // empty: refused, the previous value stays
};

TEST(ImageFunctionsProperties, ColourTextRoundTripsAndRefusals) {
  const ColourCase cases[] = {
      {u"FF0000", u"FF0000"},
      {u"#ff8000", u"FF8000"},
      {u"$00FF00", u"00FF00"},
      {u"ooOoFF", u"0000FF"},
      {u"123456789", u"123456"},  // characters past the sixth are not read
      // Short text gives short pieces read as one number in blue-green-red
      // order: "FF" alone is red, "FFF" red with a little green.
      {u"FF", u"FF0000"},
      {u"FFF", u"FF0F00"},
      {u"", u"000000"},
      {u"#", u""},  // a lone "#" is kept, and it is not a hexadecimal digit
      {u"zz", u""},
      {u"12 456", u""},
      {u"-12345", u""},
      {u"xyz", u""},
  };
  for (const ColourCase& c : cases) {
    TImageFunctions object;
    object.SetTextBG(u"ABCDEF");
    object.SetTextBG(c.text);
    object.SetTextColor(u"ABCDEF");
    object.SetTextColor(c.text);
    object.SetTransparentColor(u"ABCDEF");
    object.SetTransparentColor(c.text);
    object.SetBackgroundColor(u"ABCDEF");
    object.SetBackgroundColor(c.text);
    const std::u16string expected = c.read_back.empty() ? u"ABCDEF" : c.read_back;
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(object.TextBG(), expected);
    EXPECT_EQ(object.TextColor(), expected);
    EXPECT_EQ(object.TransparentColor(), expected);
    EXPECT_EQ(object.BackgroundColor(), expected);
  }
  EXPECT_EQ(TImageFunctions::StrToOLEColor(u"#FF8000"), 33023);
  EXPECT_EQ(TImageFunctions::StrToOLEColor(u"zz"), 0);
  EXPECT_EQ(TImageFunctions::StrToOLEColor(u"ooOoFF"), 16711680);
  EXPECT_EQ(TImageFunctions::OLEColorToStr(255), u"FF0000");
  EXPECT_EQ(TImageFunctions::OLEColorToStr(16711680), u"0000FF");
  EXPECT_EQ(TImageFunctions::OLEColorToStr(-1), u"FFFFFF");
}

TEST(ImageFunctionsProperties, BackgroundColorSetsHasBackgroundOnlyWhenItConverts) {
  TImageFunctions object;
  object.SetBackgroundColor(u"nothex");
  EXPECT_FALSE(object.HasBackground());
  object.SetBackgroundColor(u"102030");
  EXPECT_TRUE(object.HasBackground());
  EXPECT_EQ(object.BackgroundColor(), u"102030");
}

TEST(ImageFunctionsResolution, ConversionsRoundHalfToEvenAndClampInsteadOfFailing) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  struct Case {
    int32_t dpi_in, dpm_out;
  };
  for (const Case& c : {Case{96, 3780}, Case{72, 2835}, Case{300, 11811}, Case{0, 0}, Case{-96, -3780},
                        Case{1, 39}, Case{kMax, kMax}, Case{kMin, kMin}}) {
    EXPECT_EQ(TImageFunctions::DPItoDPM(c.dpi_in), c.dpm_out) << c.dpi_in;
  }
  struct Back {
    int32_t dpm_in, dpi_out;
  };
  for (const Back& c : {Back{3780, 96}, Back{2835, 72}, Back{11811, 300}, Back{0, 0}, Back{-3780, -96},
                        Back{20, 1}, Back{kMax, 54546085}, Back{kMin, -54546085}}) {
    EXPECT_EQ(TImageFunctions::DPMtoDPI(c.dpm_in), c.dpi_out) << c.dpm_in;
  }
}

TEST(ImageFunctionsDetection, FirstByteDecidesTheType) {
  struct Case {
    uint8_t byte;
    TGraphicsFormat format;
    std::u16string_view text;
  };
  const Case cases[] = {
      {0x00, TGraphicsFormat::gfWBMP, u"wbmp"}, {0x0A, TGraphicsFormat::gfPCX, u"pcx"},
      {'%', TGraphicsFormat::gfPDF, u"pdf"},    {'8', TGraphicsFormat::gfPSD, u"psd"},
      {'B', TGraphicsFormat::gfBMP, u"bmp"},    {'G', TGraphicsFormat::gfGIF, u"gif"},
      {'I', TGraphicsFormat::gfTIF, u"tif"},    {'M', TGraphicsFormat::gfTIF, u"tif"},
      {0x89, TGraphicsFormat::gfPNG, u"png"},   {0xFF, TGraphicsFormat::gfJPG, u"jpg"},
      {'b', TGraphicsFormat::gfUnknown, u""},   {0x01, TGraphicsFormat::gfUnknown, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectImageType(c.byte), c.format) << int(c.byte);
    EXPECT_EQ(GraphicsFormatText(c.format), c.text) << int(c.byte);
  }
}

TEST(ImageFunctionsMembers, TableListsEveryMemberOnceWithItsDispid) {
  std::set<std::pair<int32_t, TMemberKind>> seen;
  std::set<std::string_view> names;
  int properties_in_range = 0;
  for (const TMemberInfo& m : kImageFunctionsMembers) {
    EXPECT_GE(m.dispid, 201);
    EXPECT_LE(m.dispid, 287);
    EXPECT_TRUE(seen.insert({m.dispid, m.kind}).second) << m.name;
    names.insert(m.name);
    if (m.dispid >= 237 && m.dispid <= 286) {
      EXPECT_NE(m.kind, TMemberKind::kMethod) << m.name;
      if (m.kind == TMemberKind::kPropertyGet) ++properties_in_range;
    }
    if (m.kind == TMemberKind::kPropertyPut) {
      EXPECT_EQ(m.result, TComType::kVoid);
      EXPECT_GE(m.param_count, 1);
    }
  }
  EXPECT_EQ(properties_in_range, 50);  // every dispid from 237 to 286 is a property
  EXPECT_EQ(names.size(), 87u);  // 37 methods and 50 properties
  int direct = 0;
  for (const TMemberInfo& m : kImageFunctionsMembers) direct += m.direct_result;
  EXPECT_EQ(direct, 4);
}

}  // namespace
}  // namespace pk
