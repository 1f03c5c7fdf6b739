// The PackBits run-length scheme of TIFF strips (compression 32773) and PSD
// image data. A packet is a header byte n and its data: n 0..127 is followed
// by n + 1 literal bytes, n 129..255 by one byte repeated 257 - n times, and
// n 128 is a packet of its own with no data.
#pragma once

#include <cstdint>
#include <span>

#include "platform/stream.h"

namespace pk {

// Decodes from source's position to dest's position, packet by packet, until
// packed_size bytes have been read or unpacked_size bytes written (a packed
// size ending inside a packet still completes it). Output stops at
// unpacked_size: the excess of the last packet is dropped. Any stream error,
// a source that runs out of data included, raises a plain Exception "Error in
// UnPackBits procedure"; the streams keep what was read and written so far.
void UnPackBits(TStream& dest, TStream& source, uint32_t packed_size, uint32_t unpacked_size);

// Appends the encoding of bytes to stream (nothing for no bytes). Two equal
// bytes already make a repeat packet; literals end before such a pair.
void PackBitsEncode(TStream& stream, std::span<const uint8_t> bytes);

}  // namespace pk
