// HTTP dates: the reader never raises, and a date it reads is written back as
// a text that reads as the same date.
#include "core/http_date.h"
#include "fuzz/fuzz_target.h"

namespace pk::fuzz {

void FuzzHttpDate(std::span<const uint8_t> data) {
  const std::u16string text = Utf16Units(data);
  const TDateTime value = ParseHttpDate(text);
  if (value == 0) return;
  FuzzRequire(ParseHttpDate(FormatHttpDate(value) + u" GMT") == value, "a date read is written back the same");
}

}  // namespace pk::fuzz
