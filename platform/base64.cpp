#include "platform/base64.h"

namespace pk {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kLineLength = 76;

}  // namespace

std::u16string Base64Encode(std::span<const uint8_t> bytes) {
  const size_t characters = (bytes.size() + 2) / 3 * 4;
  std::u16string text;
  text.reserve(characters + characters / kLineLength * 2);
  size_t line = 0;
  auto put = [&](char16_t c) {
    text += c;
    if (++line == kLineLength) {
      text += u"\r\n";
      line = 0;
    }
  };
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t left = bytes.size() - i;
    const uint32_t group = uint32_t{bytes[i]} << 16 | (left > 1 ? uint32_t{bytes[i + 1]} << 8 : 0) |
                           (left > 2 ? uint32_t{bytes[i + 2]} : 0);
    put(static_cast<char16_t>(kAlphabet[group >> 18 & 63]));
    put(static_cast<char16_t>(kAlphabet[group >> 12 & 63]));
    put(left > 1 ? static_cast<char16_t>(kAlphabet[group >> 6 & 63]) : u'=');
    put(left > 2 ? static_cast<char16_t>(kAlphabet[group & 63]) : u'=');
  }
  return text;
}

}  // namespace pk
