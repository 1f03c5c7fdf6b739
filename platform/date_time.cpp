// Calendar arithmetic for TDateTime: day numbers counted from 1 January of
// year 1 through the 400-, 100- and 4-year cycles of the Gregorian calendar,
// and the split of a value into a day and a millisecond of that day, which
// both decoders share so that date and time never disagree about a value
// that rounds up to midnight.
#include "platform/date_time.h"

#include <algorithm>
#include <cmath>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/numeric.h"

namespace pk {
namespace {

constexpr int64_t kMsecsPerDay = 86'400'000;
// Days from 1 January of year 1 to 30 December 1899, the value 0.
constexpr int64_t kDayNumberOfZero = 693'593;
// Day numbers of 1 January 0001 and of 31 December 9999.
constexpr int64_t kFirstDayNumber = 0;
constexpr int64_t kLastDayNumber = 3'652'058;

constexpr int kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int64_t DayNumber(int year, int month, int day) {
  const int64_t before = year - 1;
  return before * 365 + before / 4 - before / 100 + before / 400 + kDaysBeforeMonth[month - 1] +
         (month > 2 && IsLeapYear(year) ? 1 : 0) + day - 1;
}

struct CivilDate {
  int year;
  int month;
  int day;
};

CivilDate CivilFromDayNumber(int64_t n) {
  const int64_t cycles400 = n / 146'097;
  n %= 146'097;
  // The last day of a 400-year cycle (and of a 4-year one) closes a leap
  // year, not a fifth century (or year).
  const int64_t centuries = std::min<int64_t>(n / 36'524, 3);
  n -= centuries * 36'524;
  const int64_t cycles4 = n / 1'461;
  n %= 1'461;
  const int64_t years = std::min<int64_t>(n / 365, 3);
  n -= years * 365;
  CivilDate date{static_cast<int>(cycles400 * 400 + centuries * 100 + cycles4 * 4 + years + 1), 1, 0};
  while (n >= DaysInMonth(date.year, date.month)) n -= DaysInMonth(date.year, date.month++);
  date.day = static_cast<int>(n) + 1;
  return date;
}

struct DayAndMsec {
  int64_t day_number;
  int64_t msec;
};

DayAndMsec Split(TDateTime value) {
  const double whole = std::trunc(value);
  if (!(whole >= static_cast<double>(kFirstDayNumber - kDayNumberOfZero) &&
        whole <= static_cast<double>(kLastDayNumber - kDayNumberOfZero)))
    throw EConvertError(msg::kDateOutOfRange);
  DayAndMsec split{static_cast<int64_t>(whole) + kDayNumberOfZero, Round(std::fabs(value - whole) * kMsecsPerDay)};
  if (split.msec >= kMsecsPerDay) {
    if (split.day_number < kLastDayNumber) {
      ++split.day_number;
      split.msec -= kMsecsPerDay;
    } else {
      split.msec = kMsecsPerDay - 1;
    }
  }
  return split;
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  value = static_cast<double>(DayNumber(year, month, day) - kDayNumberOfZero);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& value) {
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || msec < 0 || msec >= 1000)
    return false;
  const int64_t total = ((int64_t{hour} * 60 + minute) * 60 + second) * 1000 + msec;
  value = static_cast<double>(total) / kMsecsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value;
  if (!TryEncodeDate(year, month, day, value)) throw EConvertError(msg::kDateEncodeError);
  return value;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime value;
  if (!TryEncodeTime(hour, minute, second, msec, value)) throw EConvertError(msg::kTimeEncodeError);
  return value;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day) {
  const CivilDate date = CivilFromDayNumber(Split(value).day_number);
  year = static_cast<uint16_t>(date.year);
  month = static_cast<uint16_t>(date.month);
  day = static_cast<uint16_t>(date.day);
}

void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec) {
  const int64_t ms = Split(value).msec;
  hour = static_cast<uint16_t>(ms / 3'600'000);
  minute = static_cast<uint16_t>(ms / 60'000 % 60);
  second = static_cast<uint16_t>(ms / 1000 % 60);
  msec = static_cast<uint16_t>(ms % 1000);
}

}  // namespace pk
