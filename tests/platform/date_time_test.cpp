#include "platform/date_time.h"

#include <chrono>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {
namespace {

namespace chr = std::chrono;

// The value of a civil date by std::chrono: days since 30 December 1899.
double ChronoValue(const chr::year_month_day& ymd) {
  const chr::sys_days zero = chr::year{1899} / chr::December / 30;
  return static_cast<double>((chr::sys_days{ymd} - zero).count());
}

struct Civil {
  int year, month, day;
};

Civil Decoded(TDateTime value) {
  uint16_t y, m, d;
  DecodeDate(value, y, m, d);
  return {y, m, d};
}

TEST(DateTime, EncodeAndDecodeAgreeWithChronoOnEveryDayOfTheRange) {
  const chr::sys_days first = chr::year{1} / chr::January / 1;
  const chr::sys_days last = chr::year{9999} / chr::December / 31;
  for (chr::sys_days day = first; day <= last; day += chr::days{1}) {
    const chr::year_month_day ymd{day};
    const int y = static_cast<int>(ymd.year());
    const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
    const int d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    const double expected = ChronoValue(ymd);
    TDateTime value;
    ASSERT_TRUE(TryEncodeDate(y, m, d, value)) << y << "-" << m << "-" << d;
    ASSERT_EQ(value, expected) << y << "-" << m << "-" << d;
    const Civil back = Decoded(ComposeDateTime(value, 0.75));
    ASSERT_TRUE(back.year == y && back.month == m && back.day == d) << y << "-" << m << "-" << d;
  }
}

TEST(DateTime, KnownValues) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, InvalidDatesAndTimesAreRefused) {
  const Civil bad_dates[] = {{0, 1, 1},     {10000, 1, 1}, {2023, 2, 29}, {1900, 2, 29}, {2024, 2, 30},
                             {2024, 13, 1}, {2024, 0, 1},  {2024, 1, 0},  {2024, 4, 31}, {-5, 1, 1}};
  for (const Civil& c : bad_dates) {
    TDateTime value = 42;
    EXPECT_FALSE(TryEncodeDate(c.year, c.month, c.day, value)) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(value, 42);
    EXPECT_THROW(EncodeDate(c.year, c.month, c.day), EConvertError);
  }
  TDateTime leap;
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, leap));

  struct Time { int h, m, s, ms; };
  const Time bad_times[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
  for (const Time& t : bad_times) {
    TDateTime value;
    EXPECT_FALSE(TryEncodeTime(t.h, t.m, t.s, t.ms, value)) << t.h << ":" << t.m << ":" << t.s << "." << t.ms;
  }
  try {
    EncodeTime(24, 0, 0, 0);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), msg::kTimeEncodeError);
  }
}

TEST(DateTime, DecodeTimeRoundsToTheMillisecond) {
  uint16_t h, m, s, ms;
  DecodeTime(EncodeDate(2024, 5, 31) + EncodeTime(13, 5, 9, 999), h, m, s, ms);
  EXPECT_EQ(h, 13);
  EXPECT_EQ(m, 5);
  EXPECT_EQ(s, 9);
  EXPECT_EQ(ms, 999);
}

TEST(DateTime, ATimeThatRoundsToMidnightBelongsToTheNextDay) {
  const TDateTime value = 1.0 - 1e-10;  // 31 December 1899, 23:59:59.99999
  const Civil date = Decoded(value);
  EXPECT_EQ(date.year, 1899);
  EXPECT_EQ(date.month, 12);
  EXPECT_EQ(date.day, 31);
  uint16_t h, m, s, ms;
  DecodeTime(value, h, m, s, ms);
  EXPECT_EQ(h + m + s + ms, 0);
}

TEST(DateTime, NegativeValuesCountTheTimeForwardFromTheTruncatedDay) {
  const Civil date = Decoded(-1.25);
  EXPECT_EQ(date.year, 1899);
  EXPECT_EQ(date.month, 12);
  EXPECT_EQ(date.day, 29);
  uint16_t h, m, s, ms;
  DecodeTime(-1.25, h, m, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)), -1.25);
  EXPECT_EQ(ComposeDateTime(EncodeDate(1900, 1, 1), EncodeTime(6, 0, 0, 0)), 2.25);
}

TEST(DateTime, ValuesOutsideTheCalendarRaise) {
  const double outside[] = {-693594.0, 2958466.0, -693594.5, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), -1e300};
  for (double v : outside) {
    uint16_t a, b, c, d;
    EXPECT_THROW(DecodeDate(v, a, b, c), EConvertError) << v;
    EXPECT_THROW(DecodeTime(v, a, b, c, d), EConvertError) << v;
  }
  const Civil first = Decoded(-693593.5);  // 1 January 0001, 12:00
  EXPECT_EQ(first.year, 1);
  EXPECT_EQ(first.day, 1);
  const Civil last = Decoded(2958465.99999);
  EXPECT_EQ(last.year, 9999);
  EXPECT_EQ(last.day, 31);
}

}  // namespace
}  // namespace pk
