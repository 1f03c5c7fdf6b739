// Base64 text: the padding of a last group of 1 or 2 bytes, and the line
// breaks after every 76 characters, also at the very end.
#include "platform/base64.h"

#include <gtest/gtest.h>

#include <vector>

namespace pk {
namespace {

std::u16string Encode(const std::string& text) {
  return Base64Encode(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(Base64Encode, StandardAlphabetAndPadding) {
  EXPECT_EQ(Encode(""), u"");
  EXPECT_EQ(Encode("f"), u"Zg==");
  EXPECT_EQ(Encode("fo"), u"Zm8=");
  EXPECT_EQ(Encode("foo"), u"Zm9v");
  const std::vector<uint8_t> high{0xFB, 0xFF, 0xBF};
  EXPECT_EQ(Base64Encode(high), u"+/+/");
}

TEST(Base64Encode, BreaksLinesAfterEvery76Characters) {
  struct Case {
    size_t bytes;
    size_t characters;
    std::vector<size_t> breaks;  // positions of each CR LF in the text
  };
  const Case cases[] = {
      {54, 72, {}},
      {56, 78, {76}},      // 76 characters ending in padding, then the break
      {57, 78, {76}},      // exactly 76 characters: the break still follows
      {100, 138, {76}},    // 136 characters, one break
      {114, 156, {76, 154}},
  };
  for (const Case& c : cases) {
    const std::u16string text = Base64Encode(std::vector<uint8_t>(c.bytes, 0xA5));
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(text.size(), c.characters);
    std::vector<size_t> breaks;
    for (size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", at + 2))
      breaks.push_back(at);
    EXPECT_EQ(breaks, c.breaks);
  }
}

}  // namespace
}  // namespace pk
