// RFC 1123 date texts: see core/http_date.h. The fields sit at fixed
// positions, so the reader slices rather than tokenises.
#include "core/http_date.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "platform/numeric.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Day 0, 30 December 1899, was a Saturday.
constexpr std::array<const char*, 7> kWeekdayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr int kLastCharacterRead = 25;

// The decimal number in characters first..last (1-based) of the text.
std::optional<int> DecimalField(std::u16string_view text, size_t first, size_t last) {
  int value = 0;
  for (size_t i = first - 1; i < last; ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
  }
  return value;
}

// 1 to 12, or 0 for anything but an exact English abbreviation.
int MonthNumber(std::u16string_view name) {
  for (size_t i = 0; i < kMonthNames.size(); ++i)
    if (std::ranges::equal(kMonthNames[i], name)) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

TDateTime ParseHttpDate(std::u16string_view text) {
  if (text.size() < kLastCharacterRead) return 0;
  const std::optional<int> day = DecimalField(text, 6, 7), year = DecimalField(text, 13, 16);
  const std::optional<int> hour = DecimalField(text, 18, 19), minute = DecimalField(text, 21, 22),
                           second = DecimalField(text, 24, 25);
  if (!day || !year || !hour || !minute || !second) return 0;
  TDateTime date, time;
  if (!TryEncodeDate(*year, MonthNumber(text.substr(8, 3)), *day, date)) return 0;
  if (!TryEncodeTime(*hour, *minute, *second, 0, time)) return 0;
  return ComposeDateTime(date, time);
}

std::u16string FormatHttpDate(TDateTime value) {
  uint16_t year, month, day, hour, minute, second, msec;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  // The weekday of the decoded day, floor-modulo so that the days before
  // 1 January 1900 (whole-day values below 2) still land on theirs.
  const auto whole_days = static_cast<int64_t>(EncodeDate(year, month, day));
  const char* weekday = kWeekdayNames[FloorMod<int64_t>(whole_days - 2, 7)];
  char text[40];
  std::snprintf(text, sizeof text, "%s, %2.2d %s %4.4d %2.2d:%2.2d:%2.2d", weekday, day,
                kMonthNames[month - 1].data(), year, hour, minute, second);
  return Utf8ToUtf16(text);
}

}  // namespace pk
