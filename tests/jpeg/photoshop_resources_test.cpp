#include "jpeg/photoshop_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "tests/support/byte_building.h"

namespace pk {
namespace {

using test::Append;
using test::Bytes;

void AppendU32(Bytes& b, uint32_t v) { Append(b, {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}); }

// One resource block: signature, identifier, name with its pad, size, data
// with its pad.
Bytes Block(uint16_t id, const std::string& name, const Bytes& data) {
  Bytes b;
  Append(b, "8BIM");
  Append(b, {uint8_t(id >> 8), uint8_t(id)});
  b.push_back(uint8_t(name.size()));
  Append(b, name);
  if (name.size() % 2 == 0) b.push_back(0);
  AppendU32(b, uint32_t(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  if (data.size() % 2 != 0) b.push_back(0);
  return b;
}

Bytes Payload(const Bytes& resources) {
  Bytes b;
  Append(b, "Photoshop 3.0");
  b.push_back(0);
  b.insert(b.end(), resources.begin(), resources.end());
  return b;
}

TApp14Segment Read(const Bytes& payload) {
  TMemoryStream stream(payload);
  TApp14Segment segment;
  segment.ReadSegment(stream);
  return segment;
}

Bytes OutputPSD(const TApp14Segment& segment) {
  TMemoryStream out;
  segment.GetOutputPSD(out);
  EXPECT_EQ(out.Position(), out.Size());
  return {out.Bytes().begin(), out.Bytes().end()};
}

// One IPTC dataset: 1C, record, number, length, data.
Bytes Dataset(uint8_t record, uint8_t number, const std::string& text) {
  Bytes b = {0x1C, record, number, uint8_t(text.size() >> 8), uint8_t(text.size())};
  Append(b, text);
  return b;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes b;
  for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
  return b;
}

TEST(PhotoshopResources, CaptionPayloadRoundTripsToTheSameSegment) {
  const Bytes payload = Payload(Block(0x0404, "", Dataset(2, 120, "Hi")));
  ASSERT_EQ(payload.size(), 34u);
  const TApp14Segment segment = Read(payload);
  EXPECT_EQ(segment.IDString(), u"Photoshop 3.0");
  ASSERT_EQ(segment.BIMCount(), 1);
  const TBIMSegment& iptc = segment.GetBIMSegment(0);
  EXPECT_EQ(iptc.SegmentType, kIPTCResource);
  EXPECT_EQ(iptc.IDString(), u"");
  ASSERT_EQ(iptc.SegmentCount(), 1);
  EXPECT_EQ(iptc.GetItem(0).SegmentType, 120);
  EXPECT_EQ(iptc.GetItem(0).Text, u"Hi");

  TMemoryStream out;
  out.WriteBytes(Bytes(50, 0xEE));  // leftovers of an earlier use go
  segment.GetOutput(out);
  EXPECT_EQ(out.Position(), 0);
  Bytes expected = {0xFF, 0xED, 0x00, 0x24};
  expected.insert(expected.end(), payload.begin(), payload.end());
  EXPECT_EQ(Bytes(out.Bytes().begin(), out.Bytes().end()), expected);
}

TEST(PhotoshopResources, NamesAndDataArePaddedToEvenLengths) {
  struct Case {
    std::string name;
    std::string text;
  };
  for (const Case& c : {Case{"", "x"}, Case{"Caption", "xy"}, Case{"ab", "xyz"}, Case{"Image URL", ""}}) {
    SCOPED_TRACE(c.name + "/" + c.text);
    const Bytes block = Block(0x040B, c.name, Bytes(c.text.begin(), c.text.end()));
    const TApp14Segment segment = Read(Payload(block));
    ASSERT_EQ(segment.BIMCount(), 1);
    EXPECT_EQ(segment.GetBIMSegment(0).IDString(), std::u16string(c.name.begin(), c.name.end()));
    EXPECT_EQ(segment.GetBIMSegment(0).SegmentText(), std::u16string(c.text.begin(), c.text.end()));
    EXPECT_EQ(OutputPSD(segment), block);
  }
}

TEST(PhotoshopResources, OnlyAWholeSignatureStartsAHeader) {
  Bytes stray = {'8', '8', 'B', 'I', 'M', 0x04, 0x0B, 0, 0, 0, 0, 0, 2, 'w', 'w'};
  EXPECT_EQ(Read(Payload(stray)).BIMCount(), 0);
  // An unkept resource is scanned through: a signature in its data counts.
  const Bytes hidden = Block(0x040B, "", {'u', 'r'});
  const Bytes resolution = Block(0x03ED, "", hidden);
  const TApp14Segment segment = Read(Payload(resolution));
  ASSERT_EQ(segment.BIMCount(), 1);
  EXPECT_EQ(segment.GetBIMSegment(0).SegmentText(), u"ur");
}

TEST(PhotoshopResources, FlagAndURLResourcesKeepTheirDocumentedBytes) {
  const TApp14Segment segment =
      Read(Payload(Join({Block(0x040A, "Copyright Flag", {0x01}), Block(0x040B, "", {'w', 'w', 'w', 0})})));
  ASSERT_EQ(segment.BIMCount(), 2);
  // The flag's pad byte is part of its text, so it writes back as two bytes.
  EXPECT_EQ(segment.GetBIMSegment(0).SegmentText(), std::u16string(u"\x01\x00", 2));
  EXPECT_EQ(segment.GetBIMSegment(0).DataSize(), 2u);
  EXPECT_EQ(segment.GetBIMSegment(1).SegmentText(), u"www");
  const Bytes written = OutputPSD(segment);
  EXPECT_EQ(Bytes(written.begin(), written.begin() + 28), Block(0x040A, "Copyright Flag", {0x01, 0x00}));
}

TEST(PhotoshopResources, CharactersAreWrittenAsTheirLowByte) {
  TApp14Segment segment;
  TBIMSegment& iptc = segment.AddBIMSegment();
  iptc.SegmentType = kIPTCResource;
  iptc.AddSegment().Text = u"\u0141\u00E9";
  EXPECT_EQ(OutputPSD(segment), Block(0x0404, "", {0x1C, 0x02, 0x00, 0x00, 0x02, 0x41, 0xE9}));
}

TEST(PhotoshopResources, DatasetsAreWalkedInSequence) {
  struct Case {
    const char* defect;
    Bytes data;
    std::vector<std::u16string> captions;
  };
  const std::string binary = {0x00, 0x1C, 0x02, 0x78, 0x00, 0x01, 'X', 0x00};
  Bytes extended = {0x1C, 0x02, 0x78, 0x80, 0x02, 0x00, 0x03};
  Append(extended, "ext");
  const Case cases[] = {
      // 1:00 of 7 bytes puts the record-2 datasets at odd offsets.
      {"odd envelope record", Join({Dataset(1, 0, "1234567"), Dataset(2, 120, "one"), Dataset(2, 120, "two")}),
       {u"one", u"two"}},
      {"dataset tag inside binary data", Join({Dataset(2, 202, binary), Dataset(2, 120, "after")}), {u"after"}},
      {"extended length form", Join({extended, Dataset(2, 120, "next")}), {u"ext", u"next"}},
      {"garbage before a dataset", Join({Bytes{0x00, 0x01, 0x02}, Dataset(2, 120, "found")}), {u"found"}},
      // The resource's pad byte is data too.
      {"length past the end", Bytes{0x1C, 0x02, 0x78, 0x00, 0x09, 'a', 'b'}, {std::u16string(u"ab\0", 3)}},
      {"extended length past the end", Bytes{0x1C, 0x02, 0x78, 0x80, 0x08, 0xFF, 0xFF}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defect);
    const TApp14Segment segment = Read(Payload(Block(0x0404, "", c.data)));
    ASSERT_EQ(segment.BIMCount(), 1);
    std::vector<std::u16string> captions;
    for (int32_t i = 0; i < segment.GetBIMSegment(0).SegmentCount(); ++i) {
      const TSegmentData& dataset = segment.GetBIMSegment(0).GetItem(i);
      if (dataset.SegmentType == 120) captions.push_back(dataset.Text);
    }
    EXPECT_EQ(captions, c.captions);
  }
}

TEST(PhotoshopResources, LongDatasetsUseTheExtendedLengthAndReadBack) {
  TApp14Segment segment;
  TBIMSegment& iptc = segment.AddBIMSegment();
  iptc.SegmentType = kIPTCResource;
  iptc.AddSegment().Text = std::u16string(40000, u'a');
  iptc.AddSegment().Text = u"short";
  EXPECT_EQ(iptc.DataSize(), 9u + 40000 + 5 + 5);
  TMemoryStream stream(OutputPSD(segment));
  TApp14Segment back;
  back.ReadSegmentPSD(stream);
  ASSERT_EQ(back.BIMCount(), 1);
  ASSERT_EQ(back.GetBIMSegment(0).SegmentCount(), 2);
  EXPECT_EQ(back.GetBIMSegment(0).GetItem(0).Text.size(), 40000u);
  EXPECT_EQ(back.GetBIMSegment(0).GetItem(1).Text, u"short");
}

// Malformed resource tables: each raises the read error or ends cleanly,
// keeping the resources before the broken one, and none allocates for the
// size it claims (the suite runs under ASan).
TEST(PhotoshopResources, MalformedTablesRaiseTheReadErrorOrEndCleanly) {
  const Bytes good = Block(0x040B, "", {'o', 'k'});
  auto with_size = [](uint32_t size) {
    Bytes b;
    Append(b, "8BIM");
    Append(b, {0x04, 0x04, 0x00, 0x00});
    AppendU32(b, size);
    return b;
  };
  struct Case {
    const char* defect;
    Bytes tail;
    bool raises;
  };
  const Case cases[] = {
      {"maximal size wraps when made even", with_size(0xFFFFFFFF), true},
      {"size past the end", Join({with_size(100), Bytes(10, 0x1C)}), true},
      {"odd size without its pad byte", Join({with_size(3), Bytes{0x1C, 0x02, 0x78}}), true},
      {"zero size", with_size(0), false},
      {"truncated name", Bytes{'8', 'B', 'I', 'M', 0x04, 0x0B, 0x09, 'I', 'm'}, true},
      {"missing name pad", Bytes{'8', 'B', 'I', 'M', 0x04, 0x0B, 0x00}, true},
      {"truncated size", Bytes{'8', 'B', 'I', 'M', 0x04, 0x0B, 0x00, 0x00, 0x00, 0x01}, true},
      {"truncated identifier", Bytes{'8', 'B', 'I', 'M', 0x04}, false},
      {"truncated signature", Bytes{'8', 'B', 'I'}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.defect);
    for (bool psd : {false, true}) {
      const Bytes resources = Join({good, c.tail});
      TMemoryStream stream(psd ? resources : Payload(resources));
      TApp14Segment segment;
      if (c.raises) {
        try {
          psd ? segment.ReadSegmentPSD(stream) : segment.ReadSegment(stream);
          ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
          EXPECT_EQ(e.Message(), u"Stream read error");
        }
      } else {
        psd ? segment.ReadSegmentPSD(stream) : segment.ReadSegment(stream);
      }
      ASSERT_GE(segment.BIMCount(), 1);
      EXPECT_EQ(segment.GetBIMSegment(0).SegmentText(), u"ok");
    }
  }
}

TEST(PhotoshopResources, PayloadWithoutZeroByteIsAllIdentifier) {
  const TApp14Segment segment = Read({'P', 'h', 'o', 't', 'o'});
  EXPECT_EQ(segment.IDString(), u"Photo");
  EXPECT_EQ(segment.BIMCount(), 0);
}

TEST(PhotoshopResources, BlockReadsFromTheStreamPosition) {
  TMemoryStream stream(Bytes{0xAA, 0x00, 0x00, 0x00, 0x03, 'a', 'b', 'c', 0x00, 0xBB});
  stream.SetPosition(1);
  TBIMSegment url;
  url.SegmentType = kURLResource;
  url.ReadSegment(stream);
  EXPECT_EQ(url.SegmentText(), u"abc");
  EXPECT_EQ(stream.Position(), 9);
  EXPECT_THROW(url.ReadSegment(stream), EReadError);
}

TEST(PhotoshopResources, ListsRefuseIndexesOutsideTheirEntries) {
  TApp14Segment segment;
  segment.AddBIMSegment();
  EXPECT_NO_THROW(segment.GetBIMSegment(0));
  EXPECT_THROW(segment.GetBIMSegment(1), EListError);
  EXPECT_THROW(segment.GetBIMSegment(0).GetItem(0), EListError);
  segment.SetBIMSegment(0, std::make_unique<TBIMSegment>());
  EXPECT_THROW(segment.SetBIMSegment(-1, std::make_unique<TBIMSegment>()), EListError);
}

TEST(PhotoshopResources, SegmentsLongerThanTheLengthFieldAreRefused) {
  TApp14Segment segment;
  TBIMSegment& url = segment.AddBIMSegment();
  url.SegmentType = kURLResource;
  url.SetSegmentText(std::u16string(70000, u'u'));
  TMemoryStream out;
  EXPECT_THROW(segment.GetOutput(out), EWriteError);
}

}  // namespace
}  // namespace pk
