// A bounded cursor over bytes that the caller owns: every metadata and format
// parser reads untrusted data through it. Each read checks what remains first
// and raises ParseError instead of reading past the end, so a parser cannot
// step outside its segment whatever the data claims. Multi-byte numbers follow
// the reader's byte order, which a parser may switch when the data names it
// (TIFF and EXIF headers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_order.h"

namespace pk {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data, ByteOrder order = ByteOrder::boLittleEndian)
      : data_(data), order_(order) {}

  ByteOrder Order() const { return order_; }
  void SetOrder(ByteOrder order) { order_ = order; }

  size_t Position() const { return position_; }
  size_t Size() const { return data_.size(); }
  size_t Remaining() const { return data_.size() - position_; }

  // Moves to an absolute position from 0 to Size() (the end itself is allowed).
  void Seek(size_t position);
  void Skip(size_t count);

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  // The next count bytes, without copying; valid as long as the data is.
  std::span<const uint8_t> Bytes(size_t count);

 private:
  // The address of the next count bytes, advancing past them.
  const uint8_t* Take(size_t count);

  std::span<const uint8_t> data_;
  ByteOrder order_;
  size_t position_ = 0;
};

}  // namespace pk
