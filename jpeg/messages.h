// Every message the JPEG codec and the metadata classes raise, in one place:
// these texts reach script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kRMETAIndexOutOfRange[] = u"Index out of range";

// Number texts of EXIF values.
inline constexpr char16_t kConversionNotANumber[] = u"Conversion error - value is not a number.";
inline constexpr char16_t kConversionDivisionByZero[] = u"Conversion error - division by zero.";
inline constexpr char16_t kConversionOutOfRange[] = u"Conversion error - value out of range.";
// The run time's own integer conversion error: quote, the text, then this.
inline constexpr char16_t kNotAValidInteger[] = u"' is not a valid integer value";

}  // namespace pk::msg
