#include "jpeg/exif_tag_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "platform/text_encoding.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

TEST(ExifTagTable, HoldsEveryTagOnceAndOnePlaceholderRow) {
  const TExifLookup& table = ExifTagTable();
  ASSERT_EQ(table.size(), 119u);
  EXPECT_EQ(table[30].TagName, u"");
  EXPECT_EQ(table[30].Code, 0xFFFF);
  std::set<std::u16string_view> names;
  std::set<std::pair<TTagType, uint16_t>> places;
  for (const TExifLookupRecord& row : table) {
    if (row.TagName.empty()) continue;
    EXPECT_TRUE(names.insert(row.TagName).second) << Utf16ToUtf8(row.TagName);
    EXPECT_TRUE(places.insert({row.TagType, row.Code}).second) << Utf16ToUtf8(row.TagName);
  }
  EXPECT_EQ(names.size(), 118u);
}

TEST(ExifTagTable, LooksUpByNameAndCode) {
  EXPECT_EQ(FindExifTagByName(u"gpsLATITUDE")->TagName, u"GPSLatitude");
  EXPECT_EQ(FindExifTagByName(u"gpsLATITUDE", true), nullptr);
  EXPECT_EQ(FindExifTagByName(u""), nullptr);  // the placeholder row matches no name
  EXPECT_EQ(FindExifTagByCode(0x0000)->TagName, u"GPSVersionID");
  EXPECT_EQ(FindExifTagByCode(0x8769), nullptr);  // a pointer, not a value tag
}

TEST(ExifTagTable, TypeNumbersAreTheDirectoryEntryTypes) {
  using enum TIFDDataType;
  const std::pair<TIFDDataType, int> expected[] = {{ifdByte, 1},      {ifdASCII, 2},     {ifdShort, 3},
                                                   {ifdLong, 4},      {ifdRational, 5},  {ifdUndefined, 7},
                                                   {ifdSRational, 10}, {ifdSShort, 8}};
  for (const auto& [type, number] : expected) EXPECT_EQ(TiffTypeNumber(type), number);
}

// --- The table against two independent tag lists ---------------------------
//
// tests/jpeg/make_fixtures_exif_tags.py writes what exiftool's own table says
// of each tag, and what exiv2 reports of a JPEG into which it wrote each tag by
// number with the type it gives that tag.

struct ToolTag {
  std::string name;
  int type = 0;
};
using ToolKey = std::tuple<std::string, std::string, int>;  // tool, directory, code

std::map<ToolKey, ToolTag> ReadToolTags(const std::filesystem::path& path) {
  std::map<ToolKey, ToolTag> tags;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string tool, directory, code;
    ToolTag tag;
    fields >> tool >> directory >> code >> tag.name >> tag.type;
    tags[{tool, directory, std::stoi(code, nullptr, 16)}] = tag;
  }
  return tags;
}

std::string DirectoryName(TTagType type) {
  switch (type) {
    case TTagType::ttTIFF: return "IFD0";
    case TTagType::ttExif: return "ExifIFD";
    case TTagType::ttGPS: return "GPS";
    case TTagType::ttThumbnail: return "IFD1";
  }
  return {};
}

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Where a tool's name differs from the table's beyond letter case.
const std::map<std::pair<std::string, std::string>, std::string> kToolNames = {
    {{"exiftool", "DateTime"}, "ModifyDate"},
    {{"exiftool", "DateTimeDigitized"}, "CreateDate"},
    {{"exiftool", "ExposureBiasValue"}, "ExposureCompensation"},
    {{"exiftool", "FocalLengthIn35mmFilm"}, "FocalLengthIn35mmFormat"},
    {{"exiftool", "ImageLength"}, "ImageHeight"},
    {{"exiftool", "ISOSpeedRatings"}, "ISO"},
    {{"exiftool", "JpegInterchangeFormat"}, "ThumbnailOffset"},
    {{"exiftool", "JpegInterchangeFormatLength"}, "ThumbnailLength"},
    {{"exiftool", "OECF"}, "Opto-ElectricConvFactor"},
    {{"exiftool", "PixelXDimension"}, "ExifImageWidth"},
    {{"exiftool", "PixelYDimension"}, "ExifImageHeight"},
    {{"exiftool", "XPComments"}, "XPComment"},
    {{"exiv2", "XPComments"}, "XPComment"},
};
// Tags a tool does not list in the table's directory: exiv2 drops
// PhotometricInterpretation from a JPEG's IFD0 and keeps TimeZoneOffset in
// IFD0, where exiftool and the table have it in the EXIF directory.
const std::set<std::pair<std::string, std::string>> kUnknownToTool = {
    {"exiv2", "PhotometricInterpretation"},
    {"exiv2", "TimeZoneOffset"},
};
// Tags a tool types otherwise: the tools write image sizes as LONG where the
// table has SHORT (TIFF and EXIF allow either), and exiftool reads three
// UNDEFINED tags but neither writes nor types them (0).
const std::map<std::pair<std::string, std::string>, int> kToolTypes = {
    {{"exiftool", "ImageWidth"}, 4},
    {{"exiftool", "ImageLength"}, 4},
    {{"exiv2", "ImageWidth"}, 4},
    {{"exiv2", "ImageLength"}, 4},
    {{"exiv2", "PixelXDimension"}, 4},
    {{"exiv2", "PixelYDimension"}, 4},
    {{"exiftool", "OECF"}, 0},
    {{"exiftool", "SpatialFrequencyResponse"}, 0},
    {{"exiftool", "DeviceSettingDescription"}, 0},
};

TEST(ExifTagTable, AgreesWithExiftoolAndExiv2) {
  if (!test::HaveGeneratedFixtures()) GTEST_SKIP() << "generated fixtures not available";
  const auto path = test::GeneratedFile("jpeg/exif_tags.txt");
  if (!std::filesystem::exists(path)) {
    // The fixture script writes the lists only when exiftool and exiv2 are there.
    const char* ci = std::getenv("CI");
    if (ci && std::string(ci) == "true") FAIL() << "exif_tags.txt missing: exiftool or exiv2 not installed";
    GTEST_SKIP() << "exiftool and exiv2 tag lists not generated";
  }
  const auto tags = ReadToolTags(path);
  for (const std::string tool : {"exiftool", "exiv2"}) {
    for (const TExifLookupRecord& row : ExifTagTable()) {
      if (row.TagName.empty()) continue;
      const std::string name = Utf16ToUtf8(row.TagName);
      SCOPED_TRACE(tool + " " + name);
      const auto found = tags.find({tool, DirectoryName(row.TagType), row.Code});
      if (kUnknownToTool.count({tool, name})) {
        EXPECT_EQ(found, tags.end()) << "now known: drop it from kUnknownToTool";
        continue;
      }
      if (found == tags.end()) {
        ADD_FAILURE() << "not listed by the tool";
        continue;
      }
      const auto other_name = kToolNames.find({tool, name});
      EXPECT_EQ(Folded(found->second.name), Folded(other_name == kToolNames.end() ? name : other_name->second));
      const auto other_type = kToolTypes.find({tool, name});
      const int type = other_type == kToolTypes.end() ? TiffTypeNumber(row.DataType) : other_type->second;
      EXPECT_EQ(found->second.type, type);
    }
  }
}

}  // namespace
}  // namespace pk
