// Byte order of multi-byte numbers in file data, and the loads and stores that
// honour it. Values are assembled from single bytes, so they work on any host
// and at any alignment, and never read through a cast pointer.
#pragma once

#include <cstdint>

namespace pk {

enum class ByteOrder { boLittleEndian, boBigEndian };

inline uint16_t LoadU16(const uint8_t* p, ByteOrder order) {
  if (order == ByteOrder::boBigEndian) return static_cast<uint16_t>(p[0] << 8 | p[1]);
  return static_cast<uint16_t>(p[1] << 8 | p[0]);
}

inline uint32_t LoadU32(const uint8_t* p, ByteOrder order) {
  const uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
  if (order == ByteOrder::boBigEndian) return b0 << 24 | b1 << 16 | b2 << 8 | b3;
  return b3 << 24 | b2 << 16 | b1 << 8 | b0;
}

inline void StoreU16(uint8_t* p, uint16_t value, ByteOrder order) {
  const uint8_t high = static_cast<uint8_t>(value >> 8), low = static_cast<uint8_t>(value);
  p[0] = order == ByteOrder::boBigEndian ? high : low;
  p[1] = order == ByteOrder::boBigEndian ? low : high;
}

inline void StoreU32(uint8_t* p, uint32_t value, ByteOrder order) {
  StoreU16(p + (order == ByteOrder::boBigEndian ? 0 : 2), static_cast<uint16_t>(value >> 16), order);
  StoreU16(p + (order == ByteOrder::boBigEndian ? 2 : 0), static_cast<uint16_t>(value), order);
}

}  // namespace pk
