// Normalisation of input values into value texts. Every number is parsed into
// a 64-bit integer or a double first and range-checked before it is narrowed,
// so no input wraps silently into another value except where the type keeps
// low bits by rule (BYTE, SHORT, SSHORT, LONG).
#include "jpeg/exif_value_text.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "jpeg/exif_number_text.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

using enum TIFDDataType;

constexpr size_t kMaxRationalPartLength = 10;
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

bool TakesAnyNumberOfItems(const TExifLookupRecord& row) {
  return row.DataType == ifdShort || IsXPTag(row);
}

bool IsCounted(TIFDDataType type) { return type != ifdASCII && type != ifdUndefined; }

std::optional<int64_t> IntegerWithin(std::u16string_view text, int64_t low, int64_t high) {
  const auto value = ParseInteger(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

std::optional<int64_t> Int32Item(std::u16string_view item) { return IntegerWithin(item, kInt32Min, kInt32Max); }

std::vector<std::u16string_view> SplitAt(std::u16string_view text, char16_t separator) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t end; (end = text.find(separator, start)) != std::u16string_view::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::optional<std::u16string> FractionOfReal(std::u16string_view text, bool allow_negative) {
  const auto value = ParseReal(text);
  if (!value || (!allow_negative && *value < 0)) return std::nullopt;
  try {
    return FloatToRationalText(*value);
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

// A part is at most 10 characters, the minus sign of a signed type aside: the
// fraction written for a negative real may have a numerator of ten digits, and
// a value the component wrote must be taken again.
bool WithinPartLength(std::u16string_view part, bool is_signed) {
  if (is_signed && part.starts_with(u'-')) part.remove_prefix(1);
  return part.size() <= kMaxRationalPartLength;
}

std::optional<std::u16string> RationalItem(std::u16string_view item, bool is_signed) {
  const auto parts = SplitAt(item, u'/');
  if (parts.size() == 1) return FractionOfReal(item, is_signed);
  if (parts.size() != 2 || !WithinPartLength(parts[0], is_signed) || !WithinPartLength(parts[1], is_signed))
    return std::nullopt;
  auto numerator = IntegerWithin(parts[0], is_signed ? kInt32Min : 0, kInt32Max);
  auto denominator = IntegerWithin(parts[1], is_signed ? kInt32Min : 1, kInt32Max);
  if (!numerator || !denominator || *denominator == 0) return std::nullopt;
  if (*denominator < 0) {
    // The value text keeps denominators unsigned: n/-d is stored as -n/d.
    numerator = -*numerator, denominator = -*denominator;
    if (*numerator > kInt32Max || *denominator > kInt32Max) return std::nullopt;
  }
  return DecimalText(*numerator) + u"/" + DecimalText(*denominator);
}

std::optional<char16_t> LowerHexDigit(char16_t c) {
  if ((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')) return c;
  if (c >= u'A' && c <= u'F') return static_cast<char16_t>(c - u'A' + u'a');
  return std::nullopt;
}

std::optional<std::u16string> UndefinedItem(std::u16string_view item) {
  if (item.size() != 2) return std::nullopt;
  const auto high = LowerHexDigit(item[0]), low = LowerHexDigit(item[1]);
  if (!high || !low) return std::nullopt;
  return std::u16string{*high, *low};
}

std::optional<std::u16string> NormaliseItem(TIFDDataType type, std::u16string_view item) {
  switch (type) {
    case ifdByte:
      if (const auto v = Int32Item(item)) return DecimalText(static_cast<uint8_t>(*v));
      return std::nullopt;
    case ifdShort:
      if (const auto v = Int32Item(item)) return DecimalText(static_cast<uint16_t>(*v));
      return std::nullopt;
    case ifdSShort:
      if (const auto v = Int32Item(item)) return DecimalText(static_cast<int16_t>(static_cast<uint16_t>(*v)));
      return std::nullopt;
    case ifdLong:
      if (const auto v = ParseInteger(item)) return DecimalText(static_cast<uint32_t>(*v));
      return std::nullopt;
    case ifdRational:
      return RationalItem(item, false);
    case ifdSRational:
      return RationalItem(item, true);
    case ifdUndefined:
      return UndefinedItem(item);
    case ifdASCII:
      break;
  }
  return std::nullopt;
}

// UTF-8 bytes of the character starting at text[at], and the code units it takes.
std::pair<size_t, size_t> Utf8Length(std::u16string_view text, size_t at) {
  const char16_t c = text[at];
  if (c < 0x80) return {1, 1};
  if (c < 0x800) return {2, 1};
  const bool pair = c >= 0xD800 && c <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
  return pair ? std::pair<size_t, size_t>{4, 2} : std::pair<size_t, size_t>{3, 1};
}

// The text cut or padded to exactly `bytes` bytes once written as UTF-8.
std::u16string FitUtf8Bytes(std::u16string_view text, size_t bytes) {
  size_t used = 0, at = 0;
  while (at < text.size()) {
    const auto [length, units] = Utf8Length(text, at);
    if (used + length > bytes) break;
    used += length, at += units;
  }
  std::u16string fitted(text.substr(0, at));
  fitted.append(bytes - used, u' ');
  return fitted;
}

}  // namespace

std::vector<std::u16string_view> SplitExifItems(std::u16string_view value) { return SplitNonEmpty(value, u" ,"); }

std::optional<std::u16string> NormaliseExifValue(const TExifLookupRecord& row, std::u16string_view value) {
  const auto items = SplitExifItems(value);
  if (items.empty()) return std::nullopt;
  if (row.DataType == ifdASCII) {
    if (row.Count == 0) return std::u16string(value);
    return FitUtf8Bytes(value, row.Count - 1u);
  }
  const size_t expected = TakesAnyNumberOfItems(row) ? items.size() : row.Count;
  if (IsCounted(row.DataType) && items.size() != expected) return std::nullopt;
  std::u16string text;
  for (const auto item : items) {
    const auto normalised = NormaliseItem(row.DataType, item);
    if (!normalised) return std::nullopt;
    if (!text.empty()) text += u',';
    text += *normalised;
  }
  return text;
}

}  // namespace pk
