#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace pk {
namespace {

TEST(TextEncoding, Utf8RoundTripIncludingSurrogatePairs) {
  const std::u16string text = u"a\u00e9\u20ac\U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(TextEncoding, StrictUtf8RefusesMalformedSequences) {
  for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80", "caf\xE9"})
    EXPECT_FALSE(Utf8ToUtf16Strict(bad).has_value()) << bad;
  EXPECT_EQ(Utf8ToUtf16Strict("caf\xC3\xA9"), u"caf\u00e9");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");
}

TEST(TextEncoding, Windows1252BothWays) {
  EXPECT_EQ(Windows1252ToUtf16("\x80\x99\xE9\x81"), u"\u20ac\u2122\u00e9\u0081");
  EXPECT_EQ(Utf16ToWindows1252(u"\u20ac\u00e9\u0081\u4e00"), "\x80\xE9\x81?");
  EXPECT_EQ(Latin1ToBytes(BytesToLatin1("\x01\xFF")), "\x01\xFF");
}

}  // namespace
}  // namespace pk
