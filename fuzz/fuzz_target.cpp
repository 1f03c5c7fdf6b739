#include "fuzz/fuzz_target.h"

#include <cstdio>
#include <cstdlib>

namespace pk::fuzz {

const TFuzzTarget* FindFuzzTarget(std::string_view name) {
  for (const TFuzzTarget& target : FuzzTargets()) {
    if (target.name == name) return &target;
  }
  return nullptr;
}

void FuzzRequire(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "fuzz rule broken: %s\n", rule);
  std::abort();
}

std::u16string Utf16Units(std::span<const uint8_t> data) {
  std::u16string text(data.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return text;
}

uint32_t TakeU32(std::span<const uint8_t>& data) {
  uint32_t value = 0;
  const size_t n = data.size() < 4 ? data.size() : 4;
  for (size_t i = 0; i < n; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
  data = data.subspan(n);
  return value;
}

uint8_t TakeU8(std::span<const uint8_t>& data) {
  if (data.empty()) return 0;
  const uint8_t value = data[0];
  data = data.subspan(1);
  return value;
}

}  // namespace pk::fuzz
