// RFC 1123 date texts, as HTTP headers and PNG text chunks carry them:
// "Sun, 06 Nov 1994 08:49:37 GMT". The reader takes the fields from their
// fixed places and never raises; the writer leaves the zone to its caller.
#pragma once

#include <string>
#include <string_view>

#include "platform/date_time.h"

namespace pk {

// Day at 1-based characters 6-7, month name (English, exact case) at 9-11,
// year at 13-16, hour, minute and second at 18-19, 21-22 and 24-25; the
// weekday, the separators and the zone are not read. Any failure (a field
// that is not decimal, an unknown month, an invalid date or time, a text too
// short) gives 0.
TDateTime ParseHttpDate(std::u16string_view text);

// "Fri, 31 May 2024 13:05:09": weekday, day, month name, year and time, with
// no zone. Raises EConvertError for a value outside years 1 to 9999.
std::u16string FormatHttpDate(TDateTime value);

}  // namespace pk
