// TDateTime: the platform's date-time value, a double counting days since
// 30 December 1899 with the time of day as the fraction. Metadata dates, HTTP
// dates and file times all travel in it, so its calendar rules live here once.
//
// The calendar is the proleptic Gregorian one, years 1 to 9999 (values
// -693593.0 to just below 2958466.0). A negative value keeps the platform's
// reading: the whole part, truncated towards zero, is the day, and the
// fraction's magnitude is the time from that day's midnight onwards, so
// -1.25 is 29 December 1899 06:00 (not 18:00). ComposeDateTime builds values
// by that rule; plain addition of a date and a time does not for dates before
// 30 December 1899.
#pragma once

#include <cstdint>

namespace pk {

using TDateTime = double;

// False for a date outside years 1 to 9999 or a day the month does not have.
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
// False unless hour < 24, minute < 60, second < 60 and msec < 1000.
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& value);
// As the Try forms, raising EConvertError "Invalid argument to date encode" /
// "Invalid argument to time encode".
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// A date (a whole day value) joined with a time of day (a fraction in [0, 1)).
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// The time of day is rounded to the millisecond; a time that rounds to
// midnight belongs to the next day. Values outside years 1 to 9999 (and NaN)
// raise EConvertError "Date value out of range".
void DecodeDate(TDateTime value, uint16_t& year, uint16_t& month, uint16_t& day);
void DecodeTime(TDateTime value, uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& msec);

}  // namespace pk
