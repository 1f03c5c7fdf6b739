// Independent readers and writers of IPTC data: exiftool and Pillow read the
// APP13 segment we write, and we read the one exiftool writes (fixtures from
// tests/jpeg/make_fixtures_iptc.sh). Under CI a missing oracle fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "jpeg/file_info.h"
#include "platform/date_time.h"
#include "tests/support/run_command.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using Bytes = std::vector<uint8_t>;

#ifndef _WIN32

bool UnderCI() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

#define REQUIRE_FIXTURE(path)                                                  \
  do {                                                                         \
    if (!std::filesystem::exists(path)) {                                      \
      if (UnderCI()) FAIL() << "missing oracle fixture " << (path);            \
      GTEST_SKIP() << "oracle fixture missing (exiftool or Pillow absent?)";   \
    }                                                                          \
  } while (0)

// The payload of the first APP13 segment of a JPEG file, or nothing.
Bytes App13Payload(const Bytes& jpeg) {
  size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
    const size_t length = size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
    if (length < 2 || at + 2 + length > jpeg.size()) break;
    if (jpeg[at + 1] == 0xED) return Bytes(jpeg.begin() + at + 4, jpeg.begin() + at + 2 + length);
    at += 2 + length;
  }
  return {};
}

TFileInfo Record() {
  TFileInfo info;
  info.Caption = u"Caption with caf\u00E9";
  info.ObjectName = u"Object";
  info.Byline = u"Author";
  info.City = u"Lyon";
  info.CopyrightNotice = u"(c) someone";
  info.DateCreated = EncodeDate(2023, 7, 4);
  info.TimeCreated = EncodeTime(9, 5, 3, 0);
  info.DateReleased = EncodeDate(999, 1, 2);
  info.Keywords.Add(u"one");
  info.Keywords.Add(u"two");
  info.Keywords.Add(u"three");
  info.Urgency = 5;
  info.CopyrightFlag = true;
  info.ImageURL = u"http://example.com/";
  return info;
}

TEST(IPTCOracles, ExiftoolAndPillowReadOurSegment) {
  const auto base = test::GeneratedFile("jpeg/base.jpg");
  REQUIRE_FIXTURE(base);
  const TApp14Segment segment = Record().WriteToApp14();
  TMemoryStream app13;
  segment.GetOutput(app13);
  Bytes jpeg = test::ReadAll(base);
  jpeg.insert(jpeg.begin() + 2, app13.Bytes().begin(), app13.Bytes().end());
  test::ScratchDir dir;
  const auto file = dir / "ours.jpg";
  test::WriteAll(file, jpeg);

  EXPECT_EQ(test::RunAndCapture("exiftool -args -charset iptc=Latin -IPTC:all -Photoshop:CopyrightFlag -Photoshop:URL " +
                          file.string()),
            "-ApplicationRecordVersion=2\n"
            "-Caption-Abstract=Caption with caf\xC3\xA9\n"
            "-ObjectName=Object\n"
            "-City=Lyon\n"
            "-By-line=Author\n"
            "-CopyrightNotice=(c) someone\n"
            "-DateCreated=2023:07:04\n"
            "-ReleaseDate=0999:01:02\n"
            "-TimeCreated=09:05:03\n"
            "-Keywords=one, two, three\n"
            "-Urgency=5 (normal urgency)\n"
            "-CopyrightFlag=True\n"
            "-URL=http://example.com/\n");

  std::string expected;
  std::vector<std::pair<int, std::string>> datasets;
  const TBIMSegment& iptc = segment.GetBIMSegment(0);
  for (int32_t i = 0; i < iptc.SegmentCount(); ++i) {
    std::string hex;
    char pair[3];
    for (char16_t c : iptc.GetItem(i).Text) {
      std::snprintf(pair, sizeof pair, "%02x", unsigned(c & 0xFF));
      hex += pair;
    }
    datasets.emplace_back(iptc.GetItem(i).SegmentType, hex);
  }
  std::stable_sort(datasets.begin(), datasets.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (const auto& [number, hex] : datasets) expected += "2:" + std::to_string(number) + "=" + hex + "\n";
  EXPECT_EQ(test::RunAndCapture("/usr/bin/python3 -c '\n"
                          "import sys\n"
                          "from PIL import Image, IptcImagePlugin\n"
                          "info = IptcImagePlugin.getiptcinfo(Image.open(sys.argv[1]))\n"
                          "for (r, n), v in sorted(info.items()):\n"
                          "    for item in (v if isinstance(v, list) else [v]):\n"
                          "        print(f\"{r}:{n}={item.hex()}\")\n"
                          "' " + file.string()),
            expected);
}

TEST(IPTCOracles, WeReadWhatExiftoolWrites) {
  const auto tagged = test::GeneratedFile("jpeg/exiftool_iptc.jpg");
  REQUIRE_FIXTURE(tagged);
  const Bytes payload = App13Payload(test::ReadAll(tagged));
  ASSERT_FALSE(payload.empty());
  TMemoryStream stream(payload);
  TApp14Segment segment;
  segment.ReadSegment(stream);
  TFileInfo info;
  info.ReadFromAPP14(segment);
  // The envelope record before them is 19 bytes long, so every record-2
  // dataset starts at an odd offset of the resource data.
  EXPECT_EQ(info.Caption, u"Caption from exiftool, caf\u00E9");
  EXPECT_EQ(info.ObjectName, u"Object name");
  EXPECT_EQ(info.Byline, u"Photographer");
  EXPECT_EQ(info.City, u"Lyon");
  EXPECT_EQ(info.LocalCaption, u"Local");
  ASSERT_EQ(info.Keywords.Count(), 3);
  EXPECT_EQ(info.Keywords.GetItem(0), u"one");
  EXPECT_EQ(info.Keywords.GetItem(2), u"three");
  EXPECT_EQ(info.DateCreated, EncodeDate(2023, 7, 4));
  EXPECT_EQ(info.TimeCreated, EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(info.Urgency, 3);
}

#else

TEST(IPTCOracles, RunNativelyOnly) { GTEST_SKIP() << "the oracles run natively only"; }

#endif

}  // namespace
}  // namespace pk
