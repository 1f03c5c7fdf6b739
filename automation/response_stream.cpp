#include "automation/response_stream.h"

#include <algorithm>
#include <string>

namespace pk {
namespace {

std::u16string DecimalText(size_t value) {
  std::u16string text;
  for (char c : std::to_string(value)) text += static_cast<char16_t>(c);
  return text;
}

}  // namespace

void StreamToResponse(std::span<const uint8_t> bytes, const TResponseSource& response) {
  response()->AddHeader(u"Content-Length", DecimalText(bytes.size()));
  size_t sent = 0;
  while (sent < bytes.size()) {
    const size_t count = std::min(kResponseChunkSize, bytes.size() - sent);
    response()->BinaryWrite(bytes.subspan(sent, count));
    sent += count;
    if (response()->Buffer()) response()->Flush();
    if (sent < bytes.size() && !response()->IsClientConnected()) return;
  }
}

}  // namespace pk
