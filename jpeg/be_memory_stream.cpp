#include "jpeg/be_memory_stream.h"

#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk {
namespace {

template <int64_t N>
void ReadWhole(TMemoryStream& stream, uint8_t (&bytes)[N]) {
  if (stream.Remaining() < N) throw EReadError(msg::kStreamReadError);
  stream.ReadBuffer(bytes, N);
}

}  // namespace

void TBEMemoryStream::ReadShort(uint16_t& buffer) {
  uint8_t bytes[2];
  ReadWhole(*this, bytes);
  buffer = LoadU16(bytes, Order());
}

void TBEMemoryStream::ReadLong(uint32_t& buffer) {
  uint8_t bytes[4];
  ReadWhole(*this, bytes);
  buffer = LoadU32(bytes, Order());
}

}  // namespace pk
