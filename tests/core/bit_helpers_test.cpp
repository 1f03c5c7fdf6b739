#include "core/bit_helpers.h"

#include <gtest/gtest.h>

namespace pk {
namespace {

TEST(BitHelpers, PositionsRunFromTheMostSignificantBit) {
  for (uint8_t pos = 1; pos <= 8; ++pos) {
    const uint8_t only = static_cast<uint8_t>(0x80 >> (pos - 1));
    EXPECT_EQ(GetPixelBit(only, pos), 1);
    EXPECT_EQ(GetPixelBit(static_cast<uint8_t>(~only), pos), 0);
    EXPECT_EQ(GetPixelBitOrdered(only, static_cast<uint8_t>(9 - pos), true), 1);
  }
  EXPECT_EQ(GetPixelBitOrdered(0x01, 1, true), 1);
  EXPECT_EQ(GetPixelBitOrdered(0x01, 1, false), 0);
  for (uint8_t pos : {0, 9, 255}) {
    EXPECT_EQ(GetPixelBit(0xFF, pos), 0);
    EXPECT_EQ(GetPixelBitOrdered(0xFF, pos, true), 0);
  }
}

TEST(BitHelpers, SetPixelBitSetsOnlyForOne) {
  struct Case {
    uint8_t before, pos, value, after;
  };
  const Case cases[] = {
      {0x00, 1, 1, 0x80}, {0x00, 8, 1, 0x01}, {0xFF, 3, 0, 0xDF},
      {0xFF, 3, 2, 0xDF},  // any value but 1 clears
      {0x5A, 0, 1, 0x5A},  {0x5A, 9, 0, 0x5A},
  };
  for (const Case& c : cases) {
    uint8_t b = c.before;
    SetPixelBit(b, c.pos, c.value);
    EXPECT_EQ(b, c.after) << int(c.before) << " " << int(c.pos) << " " << int(c.value);
  }
}

TEST(BitHelpers, Nibbles) {
  EXPECT_EQ(GetPixelNibble(0xA5, 0), 0xA);
  EXPECT_EQ(GetPixelNibble(0xA5, 1), 0x5);
  EXPECT_EQ(GetPixelNibble(0xA5, 2), 0);
  struct Case {
    uint8_t which, value, after;
  };
  const Case cases[] = {{1, 3, 0xA3}, {0, 3, 0x35}, {2, 3, 0xA5}, {1, 0x13, 0xA3}, {0, 0xF3, 0x35}};
  for (const Case& c : cases) {
    uint8_t b = 0xA5;
    SetPixelNibble(b, c.which, c.value);
    EXPECT_EQ(b, c.after) << int(c.which) << " " << int(c.value);
  }
}

}  // namespace
}  // namespace pk
