// A memory stream that also reads 16- and 32-bit numbers in a byte order the
// data chooses (EXIF, RMETA and TIFF readers set it from the "II"/"MM" mark).
// It changes nothing else of the memory stream.
#pragma once

#include <cstdint>

#include "core/byte_order.h"
#include "platform/stream.h"

namespace pk {

class TBEMemoryStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;

  bool IsBigEndian = false;

  ByteOrder Order() const { return IsBigEndian ? ByteOrder::boBigEndian : ByteOrder::boLittleEndian; }

  // With fewer bytes left than the number needs, EReadError "Stream read
  // error" and the position is left where it was.
  void ReadShort(uint16_t& buffer);
  void ReadLong(uint32_t& buffer);
};

}  // namespace pk
