#include "core/byte_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/parse_error.h"

namespace pk {
namespace {

const std::vector<uint8_t> kBytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};

TEST(ByteReader, ReadsNumbersInEitherByteOrder) {
  struct Case {
    ByteOrder order;
    uint16_t u16;
    uint32_t u32;
    int16_t i16;
  };
  for (const Case& c : {Case{ByteOrder::boBigEndian, 0x1234, 0x56789ABC, -0x6544},
                        Case{ByteOrder::boLittleEndian, 0x3412, 0xBC9A7856, -0x4366}}) {
    ByteReader r(kBytes, c.order);
    EXPECT_EQ(r.U16(), c.u16);
    EXPECT_EQ(r.U32(), c.u32);
    r.Seek(4);
    EXPECT_EQ(r.I16(), c.i16);
    EXPECT_EQ(r.Remaining(), 0u);
  }
}

TEST(ByteReader, SignedLoadsAndOrderSwitch) {
  const std::vector<uint8_t> bytes{0xFF, 0xFF, 0xFF, 0xFE, 0x01, 0x00};
  ByteReader r(bytes, ByteOrder::boBigEndian);
  EXPECT_EQ(r.I32(), -2);
  r.SetOrder(ByteOrder::boLittleEndian);
  EXPECT_EQ(r.U16(), 1);
}

TEST(ByteReader, BytesAreAViewThatAdvances) {
  ByteReader r(kBytes);
  r.Skip(1);
  const auto view = r.Bytes(3);
  ASSERT_EQ(view.size(), 3u);
  EXPECT_EQ(view.data(), kBytes.data() + 1);
  EXPECT_EQ(r.Position(), 4u);
  EXPECT_TRUE(r.Bytes(0).empty());
  EXPECT_EQ(r.Position(), 4u);
}

// Every read that would pass the end raises and leaves the position alone.
TEST(ByteReader, EveryReadStopsAtTheEnd) {
  struct Case {
    const char* name;
    size_t start;
    void (*read)(ByteReader&);
  };
  const Case cases[] = {
      {"U8 at end", 6, [](ByteReader& r) { r.U8(); }},
      {"U16 with one left", 5, [](ByteReader& r) { r.U16(); }},
      {"I16 with one left", 5, [](ByteReader& r) { r.I16(); }},
      {"U32 with three left", 3, [](ByteReader& r) { r.U32(); }},
      {"I32 with three left", 3, [](ByteReader& r) { r.I32(); }},
      {"Bytes one too many", 2, [](ByteReader& r) { r.Bytes(5); }},
      {"Bytes of a huge count", 2, [](ByteReader& r) { r.Bytes(SIZE_MAX); }},
      {"Skip one too many", 0, [](ByteReader& r) { r.Skip(7); }},
      {"Skip of a huge count", 1, [](ByteReader& r) { r.Skip(SIZE_MAX); }},
      {"Seek past the end", 0, [](ByteReader& r) { r.Seek(7); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ByteReader r(kBytes);
    r.Seek(c.start);
    EXPECT_THROW(c.read(r), ParseError);
    EXPECT_EQ(r.Position(), c.start);
  }
}

TEST(ByteReader, ReadsUpToTheLastByteExactly) {
  ByteReader r(kBytes);
  r.Seek(2);
  EXPECT_EQ(r.U32(), 0xBC9A7856u);
  r.Seek(6);  // the end itself is a valid position
  EXPECT_EQ(r.Remaining(), 0u);
  r.Seek(5);
  EXPECT_EQ(r.U8(), 0xBC);
}

TEST(ByteReader, EmptyDataAllowsOnlyTheEmptyRead) {
  ByteReader r(std::span<const uint8_t>{});
  EXPECT_EQ(r.Size(), 0u);
  EXPECT_TRUE(r.Bytes(0).empty());
  r.Seek(0);
  EXPECT_THROW(r.U8(), ParseError);
}

TEST(ByteReader, ParseErrorIsAnExceptionWithAMessage) {
  ByteReader r(std::span<const uint8_t>{});
  try {
    r.U16();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Unexpected end of data");
  }
}

}  // namespace
}  // namespace pk
