#include "jpeg/exif.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "jpeg/exif_number_text.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

std::vector<std::u16string> Lines(const TExif& exif) {
  std::vector<std::u16string> lines;
  for (int32_t i = 0; i < exif.ExifData().Count(); ++i) lines.push_back(exif.ExifData().GetItem(i));
  return lines;
}

struct SetValueCase {
  const char16_t* name;
  std::u16string value;
  std::optional<std::u16string> stored;  // nullopt: refused
};

void CheckSetValue(const std::vector<SetValueCase>& cases) {
  for (const SetValueCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(c.name) + u"=" + c.value));
    TExif exif;
    exif.ExifData().Add(u"Make=Before");
    const auto before = Lines(exif);
    const bool stored = exif.SetValue(c.name, c.value);
    ASSERT_EQ(stored, c.stored.has_value());
    if (!stored) {
      EXPECT_EQ(Lines(exif), before);
      continue;
    }
    const TExifLookupRecord* row = FindExifTagByName(c.name);
    EXPECT_EQ(exif.ExifData().GetValues(row->TagName), *c.stored);
    EXPECT_EQ(exif.ExifData().GetValues(u"ExifVersion"), u"30,32,32,30");
  }
}

TEST(ExifSetValue, NormalisesEachTypeAndRefusesWhatDoesNotFit) {
  CheckSetValue({
      // RATIONAL: a real becomes a fraction; "n/d" within 31 bits and 10 characters.
      {u"xresolution", u"72", u"72/1"},
      {u"XResolution", u"0.5", u"1/2"},
      {u"XResolution", u"300/1", u"300/1"},
      {u"XResolution", u"+0300/01", u"300/1"},
      {u"XResolution", u"-1", std::nullopt},
      {u"XResolution", u"-1/2", std::nullopt},
      {u"XResolution", u"300/0", std::nullopt},
      {u"XResolution", u"12345678901/1", std::nullopt},
      {u"XResolution", u"1/2/3", std::nullopt},
      {u"XResolution", u"1/", std::nullopt},
      {u"XResolution", u"abc", std::nullopt},
      {u"XResolution", u"72,72", std::nullopt},
      {u"GPSLatitude", u"51/1 30/1, 0.25", u"51/1,30/1,1/4"},
      {u"GPSLatitude", u"51/1 30/1", std::nullopt},
      // SRATIONAL: signed numerator, the denominator's sign moved to it.
      {u"ExposureBiasValue", u"-0.75", u"-3/4"},
      {u"ExposureBiasValue", u"-2/3", u"-2/3"},
      {u"ExposureBiasValue", u"2/-3", u"-2/3"},
      {u"ExposureBiasValue", u"1/0", std::nullopt},
      // SHORT: any number of items, low 16 bits.
      {u"ISOSpeedRatings", u"100 200", u"100,200"},
      {u"Orientation", u"65537", u"1"},
      {u"Orientation", u"-1", u"65535"},
      {u"Orientation", u"1.5", std::nullopt},
      {u"Orientation", u"2147483648", std::nullopt},
      {u"BitsPerSample", u"8,8", u"8,8"},
      // SSHORT: low 16 bits, signed.
      {u"TimeZoneOffset", u"-2", u"-2"},
      {u"TimeZoneOffset", u"65535", u"-1"},
      // LONG: 64-bit input, low 32 bits unsigned.
      {u"JpegInterchangeFormat", u"4294967297", u"1"},
      {u"JpegInterchangeFormat", u"-1", u"4294967295"},
      // BYTE: low 8 bits; the XP tags take any number of items.
      {u"GPSAltitudeRef", u"257", u"1"},
      {u"GPSVersionID", u"2 2", std::nullopt},
      {u"XPTitle", u"65 0 98 0", u"65,0,98,0"},
      // UNDEFINED: two hexadecimal digits, lower case, not counted.
      {u"FileSource", u"0A", u"0a"},
      {u"ComponentsConfiguration", u"01 02 03 00", u"01,02,03,00"},
      {u"FileSource", u"3", std::nullopt},
      {u"FileSource", u"003", std::nullopt},
      // ASCII: the whole text; fixed counts cut or padded.
      {u"Make", u"  Canon, Inc. ", u"  Canon, Inc. "},
      {u"GPSLatitudeRef", u"North", u"N"},
      {u"DateTime", u"2024", u"2024               "},
      // Names and empty values.
      {u"NoSuchTag", u"1", std::nullopt},
      {u"", u"1", std::nullopt},
      {u"Make", u" , ,", std::nullopt},
      {u"Orientation", u"", std::nullopt},
  });
}

TEST(ExifSetValue, ReplacesTheTagsLineAndKeepsTheVersionLines) {
  TExif exif;
  ASSERT_TRUE(exif.SetValue(u"make", u"A"));
  ASSERT_TRUE(exif.SetValue(u"Model", u"B"));
  ASSERT_TRUE(exif.SetValue(u"MAKE", u"C"));
  EXPECT_EQ(Lines(exif), (std::vector<std::u16string>{u"ExifVersion=30,32,32,30", u"Model=B", u"Make=C"}));
  // Any other version is set back; a GPS tag brings the GPS version.
  ASSERT_TRUE(exif.SetValue(u"ExifVersion", u"30 32 31 30"));
  EXPECT_EQ(exif.ExifData().GetValues(u"ExifVersion"), u"30,32,32,30");
  EXPECT_EQ(exif.ExifData().IndexOfName(u"GPSVersionID"), -1);
  ASSERT_TRUE(exif.SetValue(u"GPSAltitude", u"100"));
  EXPECT_EQ(exif.ExifData().GetValues(u"GPSVersionID"), u"2,2,0,0");
  ASSERT_TRUE(exif.SetValue(u"GPSVersionID", u"2 3 0 0"));
  EXPECT_EQ(exif.ExifData().GetValues(u"GPSVersionID"), u"2,2,0,0");
}

// --- One test per mended fault ------------------------------------------

TEST(ExifFaults, RealsBeyond32BitsAreRefusedNotWrapped) {
  EXPECT_THROW(FloatToRationalText(5e9), EConvertError);
  TExif exif;
  EXPECT_FALSE(exif.SetValue(u"XResolution", u"5e9"));
  EXPECT_FALSE(exif.SetValue(u"ExposureBiasValue", u"-5e9"));
  EXPECT_FALSE(exif.SetValue(u"XResolution", u"1e400"));
  EXPECT_EQ(exif.ExifData().Count(), 0);
}

TEST(ExifFaults, UndefinedItemsMustBeHexadecimal) {
  TExif exif;
  EXPECT_FALSE(exif.SetValue(u"FileSource", u"zz"));
  EXPECT_FALSE(exif.SetValue(u"ComponentsConfiguration", u"01 02 0g 00"));
  EXPECT_FALSE(exif.SetValue(u"UserComment", u"41 53 43 49 49 00 00 00 -1"));
  EXPECT_EQ(exif.ExifData().Count(), 0);
}

TEST(ExifFaults, SignedRationalsKeepTheirSign) {
  TExif exif;
  ASSERT_TRUE(exif.SetValue(u"ShutterSpeedValue", u"-3/4"));
  EXPECT_EQ(exif.ExifData().GetValues(u"ShutterSpeedValue"), u"-3/4");
  EXPECT_EQ(RationalTextToFloat(exif.ExifData().GetValues(u"ShutterSpeedValue")), -0.75);
  EXPECT_FALSE(exif.SetValue(u"ShutterSpeedValue", u"4294967293/4"));  // would read as -3/4 when written
}

TEST(ExifFaults, RationalPartsBeyond31BitsAreRefusedNotWrapped) {
  // Ten digits fit the length limit but not 32 bits: 9999999999 would wrap to 1410065407.
  TExif exif;
  EXPECT_FALSE(exif.SetValue(u"XResolution", u"9999999999/1"));
  EXPECT_FALSE(exif.SetValue(u"XResolution", u"1/4294967296"));
  EXPECT_FALSE(exif.SetValue(u"BrightnessValue", u"-9999999999/1"));
  EXPECT_EQ(exif.ExifData().Count(), 0);
}

TEST(ExifFaults, NegativeFractionsOfTenDigitsAreTakenAgain) {
  // The fraction of a negative real may need ten digits and the sign: the
  // value stored must be accepted when it is set again.
  TExif exif;
  ASSERT_TRUE(exif.SetValue(u"ShutterSpeedValue", u"-6.8440042002644"));
  const std::u16string stored = exif.ExifData().GetValues(u"ShutterSpeedValue");
  EXPECT_EQ(stored, u"-1559161547/227814230");
  ASSERT_TRUE(exif.SetValue(u"ShutterSpeedValue", stored));
  EXPECT_EQ(exif.ExifData().GetValues(u"ShutterSpeedValue"), stored);
  ASSERT_TRUE(exif.SetValue(u"ExposureBiasValue", u"2/-1000000000"));
  EXPECT_EQ(exif.ExifData().GetValues(u"ExposureBiasValue"), u"-2/1000000000");
  // Digits beyond ten are still refused, and an unsigned part counts its sign.
  EXPECT_FALSE(exif.SetValue(u"ShutterSpeedValue", u"-00000000001/1"));
  EXPECT_FALSE(exif.SetValue(u"XResolution", u"+0000000001/1"));
}

TEST(ExifFaults, FixedLengthTextsLeaveRoomForTheTerminatingZero) {
  TExif exif;
  ASSERT_TRUE(exif.SetValue(u"DateTime", u"2024:01:02 03:04:05 and then some"));
  EXPECT_EQ(exif.ExifData().GetValues(u"DateTime"), u"2024:01:02 03:04:05");  // 19 + the zero = 20
  ASSERT_TRUE(exif.SetValue(u"GPSDateStamp", u"2024:01:02"));
  EXPECT_EQ(exif.ExifData().GetValues(u"GPSDateStamp"), u"2024:01:02");  // 10 + the zero = 11
}

TEST(ExifFaults, FixedLengthTextsCountUtf8Bytes) {
  // The writer stores UTF-8: "é" takes two bytes, "😀" four; no character is cut in half.
  TExif exif;
  ASSERT_TRUE(exif.SetValue(u"GPSLatitudeRef", u"é"));
  EXPECT_EQ(exif.ExifData().GetValues(u"GPSLatitudeRef"), u" ");
  ASSERT_TRUE(exif.SetValue(u"RelatedSoundFile", u"ééééééé"));
  EXPECT_EQ(exif.ExifData().GetValues(u"RelatedSoundFile"), u"éééééé");
  ASSERT_TRUE(exif.SetValue(u"RelatedSoundFile", u"abcdefghij\U0001F600"));
  EXPECT_EQ(exif.ExifData().GetValues(u"RelatedSoundFile"), u"abcdefghij  ");
}

TEST(ExifFaults, GainControlIsAShort) {
  TExif exif;
  EXPECT_EQ(exif.GetDataType(u"GainControl"), 3);
  ASSERT_TRUE(exif.SetValue(u"GainControl", u"0"));
  EXPECT_EQ(exif.ExifData().GetValues(u"GainControl"), u"0");
}

TEST(ExifFaults, UnicodeCommentWrittenHereReadsBack) {
  TExif exif;
  exif.WriteUserComment(u"Привет, 世界");
  EXPECT_EQ(exif.ExifData().GetValues(u"UserComment").substr(0, 24), u"55,4e,49,43,4f,44,45,00,");
  EXPECT_EQ(exif.ReadUserComment(), u"Привет, 世界");
}

// --- Encoded text tags ---------------------------------------------------

TEST(ExifUserComment, RoundTripsAsciiAndUnicode) {
  for (const std::u16string text : {u"Hello, world", u"caf\u00e9 \u00ff", u"\u0416", u"x"}) {
    TExif exif;
    exif.WriteUserComment(text);
    EXPECT_EQ(exif.ReadUserComment(), text);
  }
  TExif exif;
  exif.WriteUserComment(u"Hi");
  EXPECT_EQ(exif.ExifData().GetValues(u"UserComment"), u"41,53,43,49,49,00,00,00,48,69");
}

TEST(ExifUserComment, ReadsOnlyTheKnownPrefixesWithAtLeastOneByte) {
  struct Case {
    const char16_t* value;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"41,53,43,49,49,00,00,00,48,69", u"Hi"},
      {u"55,4E,49,43,4F,44,45,00,16,04,41", u"\u0416"},  // a lone last byte is dropped
      {u"41,53,43,49,49,00,00,00", u""},
      {u"41,53,43,49,49,00,00,00,", u""},
      {u"4A,49,53,00,00,00,00,00,48,69", u""},  // JIS is not read
      {u"41,53,43,49,49,00,00,00,48,zz", u""},
  };
  for (const Case& c : cases) {
    TExif exif;
    exif.ExifData().Add(std::u16string(u"UserComment=") + c.value);
    EXPECT_EQ(exif.ReadUserComment(), c.text) << testing::PrintToString(std::u16string(c.value));
  }
}

TEST(ExifXPInfo, StoresLowThenHighBytesInDecimal) {
  TExif exif;
  exif.WriteXPInfo(u"xptitle", u"Ab");
  EXPECT_EQ(exif.ExifData().GetValues(u"XPTitle"), u"65,0,98,0");
  EXPECT_EQ(exif.ReadXPInfo(u"XPTITLE"), u"Ab");
  exif.WriteXPInfo(u"XPSubject", u"\u0416\u4e16");
  EXPECT_EQ(exif.ExifData().GetValues(u"XPSubject"), u"22,4,22,78");
  EXPECT_EQ(exif.ReadXPInfo(u"XPSubject"), u"\u0416\u4e16");
  exif.WriteXPInfo(u"Make", u"x");  // not an XP tag
  EXPECT_EQ(exif.ExifData().IndexOfName(u"Make"), -1);
  EXPECT_EQ(exif.ReadXPInfo(u"Make"), u"");
}

TEST(ExifXPInfo, ReadsWhatTheReaderLeaves) {
  struct Case {
    const char16_t* value;
    std::u16string text;
  };
  const Case cases[] = {
      {u"65,0,98,0,0,0", std::u16string(u"Ab\0", 3)},  // the terminating zero stays
      {u"65,0,98", u"A"},
      {u"65,0,256,0", u""},
      {u"65,0,x,0", u""},
  };
  for (const Case& c : cases) {
    TExif exif;
    exif.ExifData().Add(std::u16string(u"XPComments=") + c.value);
    EXPECT_EQ(exif.ReadXPInfo(u"XPComments"), c.text) << testing::PrintToString(std::u16string(c.value));
  }
}

// --- Lookups and the list ------------------------------------------------

TEST(ExifLookups, ByNameAndByCode) {
  const TExif exif;
  EXPECT_EQ(exif.GetDataType(u"TimeZoneOffset"), 8);
  EXPECT_EQ(exif.GetDataType(u"timezoneoffset"), 8);
  EXPECT_EQ(exif.GetDataType(u"ExposureBiasValue"), 10);
  EXPECT_EQ(exif.GetDataType(u"NoSuchTag"), 0);
  EXPECT_EQ(exif.GetDataType(u""), 0);
  EXPECT_EQ(exif.GetDataCount(u"datetime"), 20);
  EXPECT_EQ(exif.GetDataCount(u"ISOSpeedRatings"), 0);
  EXPECT_EQ(exif.GetDataCount(u"NoSuchTag"), 0);
  EXPECT_EQ(exif.GetTagName(65535), u"");
  EXPECT_EQ(exif.GetTagName(0), u"GPSVersionID");
  EXPECT_EQ(exif.GetTagName(0x010F), u"Make");
  EXPECT_EQ(exif.GetTagName(0x8769), u"");
}

TEST(ExifLookups, FindTagMatchesTheExactName) {
  TExifLookupRecord record{u"Keep", 7, TIFDDataType::ifdLong, TTagType::ttGPS, 9};
  ASSERT_TRUE(TExif::FindTag(u"GPSAltitude", record));
  EXPECT_EQ(record.TagName, u"GPSAltitude");
  EXPECT_EQ(record.Code, 6);
  EXPECT_EQ(record.DataType, TIFDDataType::ifdRational);
  EXPECT_EQ(record.TagType, TTagType::ttGPS);
  EXPECT_EQ(record.Count, 1);
  record = {u"Keep", 7, TIFDDataType::ifdLong, TTagType::ttExif, 9};
  EXPECT_FALSE(TExif::FindTag(u"gpsaltitude", record));
  EXPECT_EQ(record.Code, 0);
  EXPECT_EQ(record.TagName, u"Keep");
  EXPECT_EQ(record.TagType, TTagType::ttExif);
  EXPECT_EQ(record.Count, 9);
}

TEST(ExifList, DeleteValueNeedsANonEmptyValue) {
  TExif exif;
  exif.ExifData().Add(u"Make=");
  exif.ExifData().Add(u"Model=X");
  EXPECT_FALSE(exif.DeleteValue(u"Make"));
  EXPECT_FALSE(exif.DeleteValue(u"Artist"));
  EXPECT_TRUE(exif.DeleteValue(u"MODEL"));
  EXPECT_EQ(Lines(exif), std::vector<std::u16string>{u"Make="});
}

TEST(ExifList, AssignCopiesTheLinesAndTheUtf8FlagButNotTheThumbnailFlag) {
  TExif source;
  source.SetValue(u"Make", u"A");
  source.SetConvertUTF8(false);
  source.SetHasThumbnail(true);
  TExif copy;
  copy.ExifData().Add(u"Model=old");
  copy.Assign(source);
  EXPECT_EQ(Lines(copy), Lines(source));
  EXPECT_FALSE(copy.ConvertUTF8());
  EXPECT_FALSE(copy.HasThumbnail());
  copy.Assign(copy);
  EXPECT_EQ(Lines(copy), Lines(source));
  copy.Clear();
  EXPECT_EQ(copy.ExifData().Count(), 0);
  const TExif fresh;
  EXPECT_TRUE(fresh.ConvertUTF8());
  EXPECT_FALSE(fresh.HasThumbnail());
  EXPECT_FALSE(fresh.ReadingThumbnail);
}

}  // namespace
}  // namespace pk
