// Number texts. Parsing goes through std::from_chars, which never consults the
// locale; the grammar is checked first so that from_chars' extras ("inf",
// "nan", hexadecimal floats) are not accepted.
#include "jpeg/exif_number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "jpeg/messages.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

constexpr double kMaxDenominator = 1e9;
constexpr double kMaxNumerator = 2147483647.0;

std::u16string_view TrimSpaces(std::u16string_view text) {
  const size_t first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The text as ASCII without a leading "+" (from_chars takes only "-"); empty
// when it holds a character outside ASCII.
std::string AsciiNumber(std::u16string_view text) {
  if (!text.empty() && text.front() == u'+') text.remove_prefix(1);
  std::string ascii;
  for (const char16_t c : text) {
    if (c > 0x7F) return {};
    ascii.push_back(static_cast<char>(c));
  }
  return ascii;
}

size_t SkipSign(std::u16string_view text, size_t at) {
  return at < text.size() && (text[at] == u'+' || text[at] == u'-') ? at + 1 : at;
}

size_t SkipDigits(std::u16string_view text, size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

bool IsRealText(std::u16string_view text) {
  size_t at = SkipSign(text, 0);
  const size_t whole = at;
  at = SkipDigits(text, at);
  size_t digits = at - whole;
  if (at < text.size() && text[at] == u'.') {
    const size_t fraction = ++at;
    at = SkipDigits(text, at);
    digits += at - fraction;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
    at = SkipSign(text, at + 1);
    const size_t exponent = at;
    at = SkipDigits(text, at);
    if (at == exponent) return false;
  }
  return at == text.size();
}

int64_t IntegerOrConvertError(std::u16string_view text) {
  const auto value = ParseInteger(text);
  if (!value) throw EConvertError(u"'" + std::u16string(text) + msg::kNotAValidInteger);
  return *value;
}

}  // namespace

std::vector<std::u16string_view> SplitNonEmpty(std::u16string_view text, std::u16string_view separators) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find_first_of(separators, start), text.size());
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::u16string DecimalText(int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return std::u16string(digits, end);
}

std::optional<int64_t> ParseInteger(std::u16string_view text) {
  text = TrimSpaces(text);
  const size_t digits = SkipSign(text, 0);
  if (digits == text.size() || SkipDigits(text, digits) != text.size()) return std::nullopt;
  const std::string ascii = AsciiNumber(text);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

std::optional<double> ParseReal(std::u16string_view text) {
  text = TrimSpaces(text);
  if (!IsRealText(text)) return std::nullopt;
  const std::string ascii = AsciiNumber(text);
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

double RationalTextToFloat(std::u16string_view text) {
  const auto parts = SplitNonEmpty(text, u"/");
  if (parts.size() == 1) {
    const auto value = ParseReal(parts[0]);
    if (!value) throw EConvertError(msg::kConversionNotANumber);
    return *value;
  }
  if (parts.size() != 2) return 0;
  const int64_t numerator = IntegerOrConvertError(parts[0]);
  const int64_t denominator = IntegerOrConvertError(parts[1]);
  if (denominator == 0) throw EConvertError(msg::kConversionDivisionByZero);
  return static_cast<double>(numerator) / static_cast<double>(denominator);
}

std::u16string FloatToRationalText(double value) {
  const double x = std::fabs(value);
  if (!(x < kMaxNumerator + 1)) throw EConvertError(msg::kConversionOutOfRange);
  // Convergents h/k of the continued fraction of x: (h1, k1) the latest,
  // (h2, k2) the one before. Every accepted h stays within 32 bits and every
  // k within 10^9, so the final conversions cannot overflow.
  const double a0 = std::trunc(x);
  double f = x - a0;
  double h2 = 1, k2 = 0, h1 = a0, k1 = 1;
  while (f != 0 && 1 / f < kMaxDenominator) {
    const double y = 1 / f;
    const double a = std::trunc(y);
    f = y - a;
    const double h = a * h1 + h2;
    const double k = a * k1 + k2;
    if (k > kMaxDenominator || h > kMaxNumerator) {
      // The best fraction within the limits may be a semiconvergent between
      // the last two convergents.
      const double t = std::trunc((kMaxDenominator - k2) / k1);
      if (t > 0 && t * h1 + h2 < kMaxNumerator) {
        const double hs = t * h1 + h2, ks = t * k1 + k2;
        if (std::fabs(x - hs / ks) < std::fabs(x - h1 / k1)) h1 = hs, k1 = ks;
      }
      break;
    }
    h2 = h1, k2 = k1, h1 = h, k1 = k;
  }
  const int64_t numerator = static_cast<int64_t>(h1);
  const int64_t denominator = static_cast<int64_t>(k1);
  return DecimalText(value < 0 ? -numerator : numerator) + u"/" + DecimalText(denominator);
}

}  // namespace pk
