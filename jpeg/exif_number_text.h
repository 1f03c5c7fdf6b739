// Numbers as EXIF value texts carry them: decimal integers, reals and
// rationals "numerator/denominator". The decimal point is always ".", whatever
// the locale, so a text reads the same on every machine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pk {

// The parts of a text between any of the separators, empty parts dropped.
std::vector<std::u16string_view> SplitNonEmpty(std::u16string_view text, std::u16string_view separators);

std::u16string DecimalText(int64_t value);

// A decimal integer: an optional sign and digits, with optional spaces around;
// nullopt for any other text or a value outside 64 bits.
std::optional<int64_t> ParseInteger(std::u16string_view text);
// A real: an optional sign, digits with an optional "." and fraction, and an
// optional exponent "e" or "E", with optional spaces around; nullopt for any
// other text or a value too large for a double.
std::optional<double> ParseReal(std::u16string_view text);

// The value of a real or a rational text. Empty parts between "/" are
// dropped; with more than two parts the value is 0. EConvertError "Conversion
// error - value is not a number." for a real that does not read, "Conversion
// error - division by zero." for a zero denominator, and the integer
// conversion error for a numerator or denominator that is not an integer.
double RationalTextToFloat(std::u16string_view text);

// The closest fraction with a denominator up to 10^9 and a numerator within 32
// bits, found by continued fractions: 0.5 gives "1/2", 72 "72/1", -0.75 "-3/4".
// EConvertError "Conversion error - value out of range." for a value whose
// whole part does not fit 32 bits, an infinity or a NaN.
std::u16string FloatToRationalText(double x);

}  // namespace pk
