// Reading and writing text runs in streams: see core/stream_text.h.
#include "core/stream_text.h"

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/stream.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

// The count is a length field from the data: it is held against what the
// source really has left before it sizes a buffer.
std::string ReadCountedBytes(TStream& source, int64_t count) {
  if (count < 0 || count > source.Remaining()) throw EReadError(msg::kStreamReadError);
  std::string bytes(static_cast<size_t>(count), '\0');
  source.ReadBuffer(bytes.data(), count);
  return bytes;
}

}  // namespace

void WriteTextToStream(TStream& stream, std::u16string_view text) {
  const std::string bytes = Utf16ToUtf8(text);
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::u16string ReadStreamText(TStream& source, int64_t count) {
  const std::string bytes = ReadCountedBytes(source, count);
  if (std::optional<std::u16string> text = Utf8ToUtf16Strict(bytes)) return *std::move(text);
  return AnsiToUtf16(bytes);
}

std::string ReadStreamAnsiText(TStream& source, int64_t count) {
  return Utf16ToAnsi(AnsiToUtf16(ReadCountedBytes(source, count)));
}

}  // namespace pk
