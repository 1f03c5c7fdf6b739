#include "core/byte_reader.h"

#include "core/messages.h"
#include "core/parse_error.h"

namespace pk {

void ByteReader::Seek(size_t position) {
  if (position > data_.size()) throw ParseError(msg::kParseSeekOutOfRange);
  position_ = position;
}

void ByteReader::Skip(size_t count) { Take(count); }

const uint8_t* ByteReader::Take(size_t count) {
  if (count > Remaining()) throw ParseError(msg::kParseUnexpectedEnd);
  const uint8_t* at = data_.data() + position_;
  position_ += count;
  return at;
}

uint8_t ByteReader::U8() { return *Take(1); }

uint16_t ByteReader::U16() { return LoadU16(Take(2), order_); }

uint32_t ByteReader::U32() { return LoadU32(Take(4), order_); }

std::span<const uint8_t> ByteReader::Bytes(size_t count) { return {Take(count), count}; }

}  // namespace pk
