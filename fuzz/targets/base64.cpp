// Base64 input: the bytes as UTF-16 units are text a script hands over. The
// lenient decoder skips everything outside the alphabet, so it must give
// exactly the whole bytes the letters carry, six bits a letter: never more
// than three bytes for four letters, and nothing for the other characters.
// The bytes written as Base64 (padding and line breaks included) read back as
// themselves.
#include <algorithm>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/base64.h"
#include "platform/base64_decoder.h"

namespace pk::fuzz {
namespace {

constexpr std::u16string_view kAlphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

void FuzzBase64(std::span<const uint8_t> data) {
  const std::u16string text = Utf16Units(data);
  const auto letters = std::ranges::count_if(text, [](char16_t c) { return kAlphabet.find(c) != kAlphabet.npos; });
  FuzzRequire(DecodeBase64Lenient(text).size() == static_cast<size_t>(letters) * 6 / 8,
              "lenient Base64 gives the whole bytes of its letters and no more");

  const std::vector<uint8_t> bytes(data.begin(), data.end());
  FuzzRequire(DecodeBase64Lenient(Base64Encode(bytes)) == bytes, "bytes written as Base64 read back as themselves");
}

}  // namespace pk::fuzz
