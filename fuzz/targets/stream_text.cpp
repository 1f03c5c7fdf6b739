// Counted stream text: the first four bytes are the count (as a signed
// number, so negative counts come too), the rest is the stream. A count
// beyond the bytes left is refused before anything is read; an accepted one
// moves the stream by exactly the count.
#include <vector>

#include "core/stream_text.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk::fuzz {
namespace {

template <typename Reader>
void CheckCountedRead(std::span<const uint8_t> bytes, int64_t count, Reader read) {
  TMemoryStream source(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  const bool fits = count >= 0 && count <= static_cast<int64_t>(bytes.size());
  try {
    const auto text = read(source, count);
    FuzzRequire(fits, "a count beyond the bytes left is refused");
    FuzzRequire(source.Position() == count, "a counted read moves the stream by the count");
    FuzzRequire(static_cast<int64_t>(text.size()) <= count, "counted text is never longer than its bytes");
  } catch (const EReadError&) {
    FuzzRequire(!fits, "a count within the bytes left is read");
    FuzzRequire(source.Position() == 0, "a refused count reads nothing");
  }
}

}  // namespace

void FuzzStreamText(std::span<const uint8_t> data) {
  const auto count = static_cast<int64_t>(static_cast<int32_t>(TakeU32(data)));
  CheckCountedRead(data, count, [](TStream& s, int64_t n) { return ReadStreamText(s, n); });
  CheckCountedRead(data, count, [](TStream& s, int64_t n) { return ReadStreamAnsiText(s, n); });
}

}  // namespace pk::fuzz
