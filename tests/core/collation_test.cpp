#include "core/collation.h"

#include <gtest/gtest.h>

#include <string>

namespace pk {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(Collation, OrdersTextTheWayReadersExpect) {
  struct Case {
    std::u16string a, b;
    int insensitive, sensitive;  // sign of CollateText(a, b, ...)
  };
  const Case cases[] = {
      {u"abc", u"ABC", 0, -1},              // lower before upper, only when asked
      {u"aBc", u"abC", 0, 1},               // the first case difference decides
      {u"Abc", u"abd", -1, -1},             // letters before case
      {u"ab", u"abc", -1, -1},              // a prefix first
      {u"\u00e9", u"f", -1, -1},            // e-acute beside e, not after z
      {u"e", u"\u00e9", -1, -1},            // the plain letter before the accented
      {u"\u00c9", u"\u00e9", 0, 1},         // accented capitals fold
      {u"\u0178", u"\u00ff", 0, 1},         // Y-diaeresis pairs across blocks
      {u"\u0141ukasz", u"Lwow", -1, -1},    // L-stroke sorts as L
      {u"\u0393", u"\u03b3", 0, 1},         // Greek capitals fold
      {u"\u0416", u"\u0436", 0, 1},         // Cyrillic capitals fold
      {u"z", u"\u03b1", -1, -1},            // Latin before Greek
      {u" x", u"!x", -1, -1},               // blanks, then symbols,
      {u"!", u"0", -1, -1},                 // then digits,
      {u"9", u"a", -1, -1},                 // then letters,
      {u"z", u"\u4e00", -1, -1},            // then everything else
      {u"", u"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a.begin(), c.a.end()) + " / " + std::string(c.b.begin(), c.b.end()));
    EXPECT_EQ(Sign(CollateText(c.a, c.b, false)), c.insensitive);
    EXPECT_EQ(Sign(CollateText(c.a, c.b, true)), c.sensitive);
    EXPECT_EQ(Sign(CollateText(c.b, c.a, false)), -c.insensitive);
    EXPECT_EQ(Sign(CollateText(c.b, c.a, true)), -c.sensitive);
  }
}

}  // namespace
}  // namespace pk
