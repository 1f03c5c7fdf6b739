#include "core/http_date.h"

#include <chrono>

#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "platform/exceptions.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

TEST(HttpDate, ParsesTheFixedFieldsOfAnRfc1123Date) {
  EXPECT_EQ(ParseHttpDate(u"Sun, 06 Nov 1994 08:49:37 GMT"), EncodeDate(1994, 11, 6) + EncodeTime(8, 49, 37, 0));
  // The weekday, the separators and the zone are not read.
  EXPECT_EQ(ParseHttpDate(u"Xyz? 06-Nov-1994T08.49.37"), EncodeDate(1994, 11, 6) + EncodeTime(8, 49, 37, 0));
}

TEST(HttpDate, MalformedTextsGiveZero) {
  const char16_t* texts[] = {
      u"Sun, 06 nov 1994 08:49:37 GMT",  // month in lower case
      u"Sun, 06 Nox 1994 08:49:37 GMT",  // unknown month
      u"Sun, 31 Nov 1994 08:49:37 GMT",  // no such day
      u"Sun, 29 Feb 1900 08:49:37 GMT",  // not a leap year
      u"Sun, 06 Nov 0000 08:49:37 GMT",  // year 0
      u"Sun, 06 Nov 1994 24:00:00 GMT",  // hour 24
      u"Sun, 06 Nov 1994 08:60:37 GMT",  // minute 60
      u"Sun, 06 Nov 1994 08:49:3x GMT",  // not decimal
      u"Sun,  6 Nov 1994 08:49:37 GMT",  // a space is not a digit
      u"Sun, +6 Nov 1994 08:49:37 GMT",  // nor is a sign
      u"Sun, 06 Nov 1994 08:49:3",       // too short
      u"",
  };
  for (const char16_t* text : texts) EXPECT_EQ(ParseHttpDate(text), 0.0) << Utf16ToUtf8(text);
}

TEST(HttpDate, DatesBeforeTheEpochKeepTheirTimeOfDay) {
  // Adding the time to a negative day value would move the clock backwards.
  const TDateTime value = ParseHttpDate(u"Fri, 01 Jan 1800 06:30:00 GMT");
  uint16_t y, m, d, h, n, s, ms;
  DecodeDate(value, y, m, d);
  DecodeTime(value, h, n, s, ms);
  EXPECT_EQ(y, 1800);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(n, 30);
}

TEST(HttpDate, FormatsWeekdayDateAndTimeWithoutAZone) {
  struct Case {
    TDateTime value;
    const char16_t* text;
  } cases[] = {
      {EncodeDate(2024, 5, 31) + EncodeTime(13, 5, 9, 0), u"Fri, 31 May 2024 13:05:09"},
      {EncodeDate(1900, 1, 1), u"Mon, 01 Jan 1900 00:00:00"},
      {0, u"Sat, 30 Dec 1899 00:00:00"},
      {1, u"Sun, 31 Dec 1899 00:00:00"},
      {-1.5, u"Fri, 29 Dec 1899 12:00:00"},
      {EncodeDate(1, 1, 1), u"Mon, 01 Jan 0001 00:00:00"},
      {EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 0), u"Fri, 31 Dec 9999 23:59:59"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatHttpDate(c.value), c.text) << c.value;
}

TEST(HttpDate, FormatThenParseRoundTrips) {
  const TDateTime value = EncodeDate(1994, 11, 6) + EncodeTime(8, 49, 37, 0);
  EXPECT_EQ(ParseHttpDate(FormatHttpDate(value) + u" GMT"), value);
}

TEST(HttpDate, WeekdaysAgreeWithChronoBeforeAndAfter1900) {
  namespace chr = std::chrono;
  static constexpr const char16_t* kNames[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  const chr::sys_days zero = chr::year{1899} / chr::December / 30;
  for (chr::sys_days day = chr::year{1} / chr::January / 1; day <= chr::year{9999} / chr::December / 31;
       day += chr::days{997}) {
    const double value = static_cast<double>((day - zero).count());
    const std::u16string text = FormatHttpDate(ComposeDateTime(value, 0.5));
    ASSERT_EQ(text.substr(0, 3), kNames[chr::weekday{day}.c_encoding()]) << value;
  }
  for (int value = -30; value <= 30; ++value) {
    const chr::weekday expected{zero + chr::days{value}};
    ASSERT_EQ(FormatHttpDate(value).substr(0, 3), kNames[expected.c_encoding()]) << value;
  }
}

TEST(HttpDate, FormattingAValueOutsideTheCalendarRaises) {
  EXPECT_THROW(FormatHttpDate(1e9), EConvertError);
}

}  // namespace
}  // namespace pk
