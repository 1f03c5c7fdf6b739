#include "automation/colour_text_conversion.h"

#include "core/colour_text.h"

namespace pk {

namespace {

std::optional<uint32_t> HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return std::nullopt;
}

// The two hex digits of the channel that starts at `start`; fewer or none when
// the text ends early.
std::u16string_view ChannelDigits(std::u16string_view text, size_t start) {
  return start < text.size() ? text.substr(start, 2) : std::u16string_view();
}

}  // namespace

std::optional<TColor> ColourFromText(std::u16string_view text) {
  const std::u16string normal = NormalizeColorText(text);
  // Blue, green and red digits make at most six, so the value always fits the
  // colour value's 24 bits.
  const std::u16string digits = std::u16string(ChannelDigits(normal, 4)) +
                                std::u16string(ChannelDigits(normal, 2)) + std::u16string(ChannelDigits(normal, 0));
  TColor value = 0;
  for (char16_t c : digits) {
    const std::optional<uint32_t> digit = HexDigit(c);
    if (!digit) return std::nullopt;
    value = (value << 4) | *digit;
  }
  return value;
}

std::u16string ColourToText(uint32_t colour) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text;
  for (const uint8_t byte : {GetRValue(colour), GetGValue(colour), GetBValue(colour)}) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

}  // namespace pk
