// One pixel of a 1-bit or 4-bit row. Bit positions run 1 to 8 from the most
// significant bit, so pixel x of a 1-bit row is position (x mod 8) + 1 of byte
// x div 8; nibble 0 is the high half of a byte (the even pixel of a 4-bit
// row), nibble 1 the low half. Positions and selectors outside their ranges
// read 0 and change nothing, so callers never need to guard them.
#pragma once

#include <cstdint>

namespace pk {

constexpr uint8_t BitMask(uint8_t pos) { return pos >= 1 && pos <= 8 ? static_cast<uint8_t>(0x80 >> (pos - 1)) : 0; }

constexpr uint8_t GetPixelBit(uint8_t b, uint8_t pos) { return (b & BitMask(pos)) != 0 ? 1 : 0; }

// Reverse reads bytes whose bits run least significant first.
constexpr uint8_t GetPixelBitOrdered(uint8_t b, uint8_t pos, bool reverse) {
  return GetPixelBit(b, reverse ? static_cast<uint8_t>(9 - pos) : pos);
}

// Value 1 sets the bit, any other value clears it.
constexpr void SetPixelBit(uint8_t& b, uint8_t pos, uint8_t value) {
  b = value == 1 ? static_cast<uint8_t>(b | BitMask(pos)) : static_cast<uint8_t>(b & ~BitMask(pos));
}

constexpr uint8_t GetPixelNibble(uint8_t b, uint8_t which) {
  return which == 0 ? static_cast<uint8_t>(b >> 4) : which == 1 ? static_cast<uint8_t>(b & 0x0F) : 0;
}

// Value is 0..15; only its low four bits are stored, so the neighbouring pixel
// is never touched.
constexpr void SetPixelNibble(uint8_t& b, uint8_t which, uint8_t value) {
  if (which == 0) b = static_cast<uint8_t>((b & 0x0F) | (value & 0x0F) << 4);
  if (which == 1) b = static_cast<uint8_t>((b & 0xF0) | (value & 0x0F));
}

}  // namespace pk
