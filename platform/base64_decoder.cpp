#include "platform/base64_decoder.h"

namespace pk {

namespace {

// The 6-bit value of a Base64 letter, or -1 for any other character.
int LetterValue(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return -1;
}

}  // namespace

std::vector<uint8_t> DecodeBase64Lenient(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3 + 2);
  uint32_t bits = 0;
  int bit_count = 0;
  for (char16_t c : text) {
    const int value = LetterValue(c);
    if (value < 0) continue;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    bit_count += 6;
    if (bit_count >= 8) {
      bit_count -= 8;
      bytes.push_back(static_cast<uint8_t>(bits >> bit_count));
      bits &= (1u << bit_count) - 1;
    }
  }
  return bytes;
}

}  // namespace pk
