#include "jpeg/be_memory_stream.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/exceptions.h"

namespace pk {
namespace {

TEST(BEMemoryStream, ReadsInTheChosenByteOrder) {
  struct Case {
    bool big_endian;
    uint16_t short_value;
    uint32_t long_value;
  };
  for (const Case& c : {Case{true, 0x1234, 0x56789ABC}, Case{false, 0x3412, 0xBC9A7856}}) {
    TBEMemoryStream s(std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
    s.IsBigEndian = c.big_endian;
    uint16_t w = 0;
    uint32_t l = 0;
    s.ReadShort(w);
    s.ReadLong(l);
    EXPECT_EQ(w, c.short_value);
    EXPECT_EQ(l, c.long_value);
    EXPECT_EQ(s.Position(), 6);
  }
  EXPECT_FALSE(TBEMemoryStream().IsBigEndian);
}

// Reading past the end raises the stream's read error and moves nothing.
TEST(BEMemoryStream, ReadingPastTheEndRaisesAndKeepsThePosition) {
  TBEMemoryStream s(std::vector<uint8_t>{1, 2, 3});
  uint16_t w = 7;
  uint32_t l = 7;
  EXPECT_THROW(s.ReadLong(l), EReadError);
  EXPECT_EQ(s.Position(), 0);
  s.SetPosition(2);
  EXPECT_THROW(s.ReadShort(w), EReadError);
  EXPECT_EQ(s.Position(), 2);
  s.SetPosition(10);  // a memory stream may sit beyond its end
  EXPECT_THROW(s.ReadShort(w), EReadError);
  EXPECT_EQ(w, 7);
  EXPECT_EQ(l, 7u);
}

}  // namespace
}  // namespace pk
