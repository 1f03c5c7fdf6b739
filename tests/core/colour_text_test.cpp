#include "core/colour_text.h"

#include <gtest/gtest.h>

namespace pk {
namespace {

TEST(ColourText, NormalizeDropsOnePrefixAndReadsTheLetterOAsZero) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"#ff00o0", u"ff0000"}, {u"$O0FF00", u"00FF00"}, {u"#", u"#"},       {u"$", u"$"},
      {u"Gold", u"G0ld"},      {u"##12", u"#12"},       {u"", u""},         {u"oO", u"00"},
      {u"12#456", u"12#456"},  {u"#1234567", u"1234567"}, {u"\u00f6o", u"\u00f60"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(NormalizeColorText(text), expected);
}

}  // namespace
}  // namespace pk
