#include "jpeg/exif_number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "platform/exceptions.h"

namespace pk {
namespace {

TEST(FloatToRationalText, FindsTheClosestFractionWithinTheLimits) {
  struct Case {
    double x;
    const char16_t* text;
  };
  // The fractions of the last five reals are those Python's
  // Fraction.limit_denominator(10**9) gives: the expansions of 1/(3 + 1/5e8)
  // and 1/(2 + 1/(7 + 1/2e8)) pass 10^9 in their third denominator, the first
  // taking the semiconvergent, the second keeping its convergent.
  const Case cases[] = {
      {0.5, u"1/2"},
      {72, u"72/1"},
      {-0.75, u"-3/4"},
      {0, u"0/1"},
      {-0.0, u"0/1"},
      {1.0 / 3, u"1/3"},
      {0.1, u"1/10"},
      {123.456, u"15432/125"},
      {0.000123456789, u"40700/329670003"},
      {1.5e-9, u"1/666666667"},
      {1 / (3 + 1 / 5e8), u"333333333/1000000000"},
      {1 / (2 + 1 / (7 + 1 / 2e8)), u"7/15"},
      {-1 / (3 + 1 / 5e8), u"-333333333/1000000000"},
      {1e-10, u"0/1"},  // below the smallest step a denominator of 10^9 gives
      {2147483647, u"2147483647/1"},
      {-2147483647.5, u"-2147483647/1"},  // the numerator limit ends the expansion
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(FloatToRationalText(c.x), c.text);
  }
}

TEST(FloatToRationalText, RefusesWholePartsBeyond32BitsAndNonNumbers) {
  for (const double x : {2147483648.0, -3e9, 1e300, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(x);
    try {
      FloatToRationalText(x);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), u"Conversion error - value out of range.");
    }
  }
}

TEST(RationalTextToFloat, ReadsRealsAndFractions) {
  EXPECT_EQ(RationalTextToFloat(u"1/2"), 0.5);
  EXPECT_EQ(RationalTextToFloat(u"-3/4"), -0.75);
  EXPECT_EQ(RationalTextToFloat(u"72"), 72);
  EXPECT_EQ(RationalTextToFloat(u"0.25"), 0.25);
  EXPECT_EQ(RationalTextToFloat(u"2.5e-1"), 0.25);
  EXPECT_EQ(RationalTextToFloat(u"/1//4/"), 0.25);  // empty parts are dropped
  EXPECT_EQ(RationalTextToFloat(u"1/2/3"), 0);
  EXPECT_EQ(RationalTextToFloat(u""), 0);
}

TEST(RationalTextToFloat, RaisesTheConversionErrors) {
  struct Case {
    const char16_t* text;
    const char16_t* message;
  };
  const Case cases[] = {
      {u"abc", u"Conversion error - value is not a number."},
      {u"0,5", u"Conversion error - value is not a number."},
      {u"inf", u"Conversion error - value is not a number."},
      {u"1e999", u"Conversion error - value is not a number."},
      {u"1/0", u"Conversion error - division by zero."},
      {u"x/2", u"'x' is not a valid integer value"},
      {u"1/2.5", u"'2.5' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    try {
      RationalTextToFloat(c.text);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(NumberText, ReadsAPointWhateverTheLocale) {
  // A locale with a decimal comma, where there is one; the texts keep ".".
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_ALL, name)) break;
  }
  EXPECT_EQ(ParseReal(u"0.5"), 0.5);
  EXPECT_EQ(ParseReal(u"0,5"), std::nullopt);
  EXPECT_EQ(FloatToRationalText(2.25), u"9/4");
  std::setlocale(LC_ALL, "C");
}

TEST(NumberText, ParsesOnlyPlainDecimalNumbers) {
  EXPECT_EQ(ParseInteger(u" -42 "), -42);
  EXPECT_EQ(ParseInteger(u"+7"), 7);
  EXPECT_EQ(ParseInteger(u"9223372036854775807"), std::numeric_limits<int64_t>::max());
  for (const char16_t* text : {u"", u"-", u"1.0", u"0x10", u"$10", u"9223372036854775808", u"1 2", u"\uFF11"})
    EXPECT_EQ(ParseInteger(text), std::nullopt) << testing::PrintToString(std::u16string(text));
  EXPECT_EQ(ParseReal(u".5"), 0.5);
  EXPECT_EQ(ParseReal(u"5."), 5);
  EXPECT_EQ(ParseReal(u"-1E2"), -100);
  for (const char16_t* text : {u"", u".", u"e5", u"1e", u"nan", u"0x1p3", u"1.2.3"})
    EXPECT_EQ(ParseReal(text), std::nullopt) << testing::PrintToString(std::u16string(text));
}

}  // namespace
}  // namespace pk
