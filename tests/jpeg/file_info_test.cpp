#include "jpeg/file_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jpeg/jpeg_error.h"
#include "platform/date_time.h"

namespace pk {
namespace {

using Bytes = std::vector<uint8_t>;

struct Dataset {
  uint8_t number;
  std::u16string text;
};

TApp14Segment Segment(const std::vector<Dataset>& datasets) {
  TApp14Segment segment;
  TBIMSegment& iptc = segment.AddBIMSegment();
  iptc.SegmentType = kIPTCResource;
  for (const Dataset& d : datasets) {
    TSegmentData& data = iptc.AddSegment();
    data.SegmentType = d.number;
    data.Text = d.text;
  }
  return segment;
}

TFileInfo ReadDatasets(const std::vector<Dataset>& datasets) {
  TFileInfo info;
  info.ReadFromAPP14(Segment(datasets));
  return info;
}

Bytes Saved(const TFileInfo& info) {
  TMemoryStream stream;
  info.SaveToStream(stream);
  return {stream.Bytes().begin(), stream.Bytes().end()};
}

TFileInfo Loaded(const Bytes& bytes) {
  TMemoryStream stream(bytes);
  TFileInfo info;
  info.LoadFromStream(stream);
  return info;
}

TEST(FileInfo, FirstAndLastOccurrencesWinByField) {
  const TFileInfo info = ReadDatasets({{120, u"first"}, {120, u"second"}, {121, u"one"}, {121, u"two"},
                                       {25, u"a"}, {25, u"b"}, {25, u"a"}, {20, u"cat"}, {5, u""}, {5, u"name"},
                                       {12, u"ignored"}, {231, u"e7"}, {232, u"e8"}});
  EXPECT_EQ(info.Caption, u"first");
  EXPECT_EQ(info.LocalCaption, u"two");
  ASSERT_EQ(info.Keywords.Count(), 3);
  EXPECT_EQ(info.Keywords.GetItem(2), u"a");
  ASSERT_EQ(info.SupplementalCategories.Count(), 1);
  EXPECT_EQ(info.ObjectName, u"name");  // an empty first occurrence does not count
  EXPECT_EQ(info.E7, u"e7");
  EXPECT_EQ(info.E8, u"e8");
}

TEST(FileInfo, NumbersDatesAndTimesReadFromTheirTexts) {
  const TDateTime july4 = EncodeDate(2023, 7, 4);
  struct Case {
    uint8_t number;
    std::u16string text;
    TDateTime date;
    TDateTime time;
  };
  const Case cases[] = {
      {55, u"20230704", july4, 0},        {55, u"20231301", 0, 0},          {55, u"20230230", 0, 0},
      {55, u"2023070", 0, 0},             {55, u"   10704", EncodeDate(1, 7, 4), 0},
      {60, u"143000+0100", 0, EncodeTime(14, 30, 0, 0)}, {60, u"14:30:00", 0, EncodeTime(14, 30, 0, 0)},
      {60, u"14.30.05", 0, EncodeTime(14, 30, 5, 0)},    {60, u"1430", 0, 0},
      {60, u"25:00:00", 0, 0},            {60, u"14:61:00", 0, 0},          {60, u"ab:cd:ef", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.number) << " " << std::string(c.text.begin(), c.text.end()));
    const TFileInfo info = ReadDatasets({{c.number, c.text}});
    EXPECT_EQ(info.DateCreated, c.date);
    EXPECT_EQ(info.TimeCreated, c.time);
  }
  struct Urgency {
    std::u16string text;
    uint8_t value;
  };
  for (const Urgency& u : {Urgency{u"300", 44}, Urgency{u"x", 0}, Urgency{u" 5", 5}, Urgency{u"-1", 255},
                           Urgency{u"99999999999", 0}}) {
    EXPECT_EQ(ReadDatasets({{10, u"3"}, {10, u.text}}).Urgency, u.value);
  }
}

TEST(FileInfo, EmptyIPTCResourceEndsTheReading) {
  auto add_flag_and_url = [](TApp14Segment& segment) {
    TBIMSegment& flag = segment.AddBIMSegment();
    flag.SegmentType = kCopyrightFlagResource;
    flag.SetSegmentText(u"\x01");
    TBIMSegment& url = segment.AddBIMSegment();
    url.SegmentType = kURLResource;
    url.SetSegmentText(u"www");
  };
  TApp14Segment empty = Segment({});
  add_flag_and_url(empty);
  TFileInfo info;
  info.ReadFromAPP14(empty);
  EXPECT_FALSE(info.CopyrightFlag);
  EXPECT_EQ(info.ImageURL, u"");
  TApp14Segment filled = Segment({{120, u"c"}});
  add_flag_and_url(filled);
  info.ReadFromAPP14(filled);
  EXPECT_TRUE(info.CopyrightFlag);
  EXPECT_EQ(info.ImageURL, u"www");
}

Bytes Output(const TApp14Segment& segment) {
  TMemoryStream out;
  segment.GetOutput(out);
  return {out.Bytes().begin(), out.Bytes().end()};
}

TEST(FileInfo, NewRecordWritesOnlyTheRecordVersion) {
  Bytes expected = {0xFF, 0xED, 0x00, 0x2A};
  for (char c : std::string("Photoshop 3.0")) expected.push_back(uint8_t(c));
  expected.insert(expected.end(), {0x00, '8', 'B', 'I', 'M', 0x04, 0x04, 0x07});
  for (char c : std::string("Caption")) expected.push_back(uint8_t(c));
  expected.insert(expected.end(), {0x00, 0x00, 0x00, 0x07, 0x1C, 0x02, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00});
  EXPECT_EQ(Output(TFileInfo().WriteToApp14()), expected);
}

TFileInfo FilledFileInfo() {
  TFileInfo info;
  info.Caption = u"Caption \u00E9";
  info.ObjectName = u"Object";
  info.Byline = u"Author";
  info.City = u"Lyon";
  info.CopyrightNotice = u"(c) someone";
  info.CustomField20 = u"custom";
  info.ImageNotes = u"notes";
  info.E7 = u"not written";
  info.DateCreated = EncodeDate(2023, 7, 4);
  info.TimeCreated = EncodeTime(9, 5, 3, 250);
  info.DateReleased = EncodeDate(999, 1, 2);
  info.Keywords.Add(u"one");
  info.Keywords.Add(u"two");
  info.SupplementalCategories.Add(u"sup");
  info.Urgency = 5;
  info.ImageURL = u"http://example.com/";
  info.CopyrightFlag = true;
  return info;
}

TEST(FileInfo, WrittenRecordReadsBack) {
  const TFileInfo source = FilledFileInfo();
  const TApp14Segment segment = source.WriteToApp14();
  ASSERT_EQ(segment.BIMCount(), 3);
  EXPECT_EQ(segment.GetBIMSegment(1).IDString(), u"Image URL");
  EXPECT_EQ(segment.GetBIMSegment(2).IDString(), u"Copyright Flag");
  std::vector<uint8_t> numbers;
  const TBIMSegment& iptc = segment.GetBIMSegment(0);
  for (int32_t i = 0; i < iptc.SegmentCount(); ++i) numbers.push_back(iptc.GetItem(i).SegmentType);
  EXPECT_EQ(numbers, (std::vector<uint8_t>{0, 120, 5, 90, 80, 116, 219, 230, 55, 30, 60, 25, 25, 20, 10}));
  EXPECT_EQ(iptc.GetItem(9).Text, u"09990102");  // the year keeps four digits
  EXPECT_EQ(iptc.GetItem(10).Text, u"09:05:03");

  TMemoryStream stream;
  segment.GetOutput(stream);
  stream.SetPosition(4);
  TMemoryStream payload;
  payload.CopyFrom(stream, stream.Size() - 4);
  TApp14Segment parsed;
  parsed.ReadSegment(payload);
  TFileInfo back;
  back.ReadFromAPP14(parsed);
  TFileInfo expected = source;
  expected.E7.clear();
  expected.TimeCreated = EncodeTime(9, 5, 3, 0);  // milliseconds are dropped
  EXPECT_EQ(Output(back.WriteToApp14()), Output(expected.WriteToApp14()));
  EXPECT_EQ(back.DateReleased, EncodeDate(999, 1, 2));
  EXPECT_EQ(back.E7, u"");
}

TEST(FileInfo, FileInfoFileHasTheDocumentedLayout) {
  TFileInfo info;
  info.CopyrightFlag = true;
  info.ImageURL = u"ab";
  const Bytes bytes = {0xAA, 0x01, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x00,
                       0x62, 0x00, 0x00, 0x1C, 0x02, 0x00, 0x00, 0x02, 0x00, 0x02};
  EXPECT_EQ(Saved(info), bytes);
  const TFileInfo back = Loaded(bytes);
  EXPECT_TRUE(back.CopyrightFlag);
  EXPECT_EQ(back.ImageURL, u"ab");
  EXPECT_TRUE(back.HasFileInfo);

  TFileInfo dirty = FilledFileInfo();
  TMemoryStream header(Bytes{0xAA, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
  dirty.LoadFromStream(header);
  EXPECT_FALSE(dirty.HasFileInfo);
  EXPECT_EQ(Saved(dirty), Saved(TFileInfo()));
}

TEST(FileInfo, FileInfoFileRoundTripsEveryWrittenField) {
  TFileInfo source = FilledFileInfo();
  source.E7.clear();
  source.TimeCreated = EncodeTime(9, 5, 3, 0);
  source.HasFileInfo = true;
  const TFileInfo back = Loaded(Saved(source));
  EXPECT_EQ(Saved(back), Saved(source));
  EXPECT_EQ(Output(back.WriteToApp14()), Output(source.WriteToApp14()));
}

TEST(FileInfo, LongURLIsCutSoTheFileReadsBack) {
  TFileInfo info;
  info.ImageURL = std::u16string(300, u'u');
  info.Caption = u"kept";
  const Bytes bytes = Saved(info);
  EXPECT_EQ(bytes[6], 0xFF);
  const TFileInfo back = Loaded(bytes);
  EXPECT_EQ(back.ImageURL, std::u16string(254, u'u'));
  EXPECT_EQ(back.Caption, u"kept");
}

TEST(FileInfo, MalformedFileInfoFilesRaise) {
  const Bytes cases[] = {
      {},
      {0xAA, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00},
      {0xAA, 0x01, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x61},
      {0xAA, 0x01, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x61, 0x00, 0x62},
      {0xAA, 0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x61, 0x00},
  };
  for (const Bytes& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    try {
      Loaded(bytes);
      ADD_FAILURE() << "no error";
    } catch (const EJPEG& e) {
      EXPECT_EQ(e.Message(), u"Invalid File Info.");
    }
  }
}

TEST(FileInfo, MarkedFollowsTheMarkedText) {
  TFileInfo info;
  info.MarkedString = u"true";
  EXPECT_FALSE(info.Marked());
  EXPECT_FALSE(info.MarkedDefined());
  info.SetMarkedDefined(true);
  EXPECT_EQ(info.MarkedString, u"False");
  info.SetMarked(true);
  EXPECT_TRUE(info.Marked() && info.MarkedDefined());
  info.SetMarkedDefined(false);
  EXPECT_EQ(info.MarkedString, u"");
}

TEST(FileInfo, AssignCopiesEverythingAndClearResets) {
  TFileInfo source = FilledFileInfo();
  source.HasFileInfo = true;
  source.MarkedString = u"True";
  source.E8 = u"e8";
  TFileInfo copy;
  copy.Keywords.Add(u"old");
  copy.Assign(source);
  EXPECT_EQ(copy.E7, u"not written");
  EXPECT_EQ(copy.E8, u"e8");
  EXPECT_TRUE(copy.HasFileInfo);
  EXPECT_EQ(copy.Keywords.Count(), 2);
  EXPECT_EQ(Output(copy.WriteToApp14()), Output(source.WriteToApp14()));
  copy.Keywords.Add(u"three");
  EXPECT_EQ(source.Keywords.Count(), 2);
  copy.Clear();
  EXPECT_EQ(Output(copy.WriteToApp14()), Output(TFileInfo().WriteToApp14()));
  EXPECT_FALSE(copy.HasFileInfo);
  EXPECT_EQ(copy.MarkedString, u"");
  EXPECT_EQ(copy.E7, u"");
}

TEST(FileInfo, SecondNamesReachTheSameFields) {
  TFileInfo info;
  info.Title() = u"t";
  info.Author() = u"a";
  info.AuthorPosition() = u"p";
  EXPECT_EQ(info.ObjectName, u"t");
  EXPECT_EQ(info.Byline, u"a");
  EXPECT_EQ(info.BylineTitle, u"p");
}

}  // namespace
}  // namespace pk
