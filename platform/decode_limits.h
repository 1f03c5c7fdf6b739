// The limits every decoder checks a picture's claim against, in one record and
// one check. A decoder parses its header first, then calls CheckDecodeClaim
// with the size and pixel format it is about to allocate, before allocating
// anything: a few bytes declaring a huge picture are refused at once instead
// of costing gigabytes and seconds. Working buffers beyond the pixels (a row
// of wider samples, a decompressed strip) go through CheckDecodeBuffer.
//
// The record lives in the platform layer because the platform's own BMP
// reader is a decoder too; the codec interface above hands it to every format.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/pixel_format.h"

namespace pk {

struct TDecodeLimits {
  // Above any camera's picture, far below what the 32-bit DLL can hold.
  int64_t max_pixels = int64_t{1} << 28;
  // Bytes of one pixel buffer or working buffer.
  int64_t max_bytes = kMaxBitmapBytes;
};

// Checks a width × height picture in the pixel format against the limits and
// returns the bytes of its stride-padded rows. Negative sizes raise
// EInvalidGraphic; a claim above a limit raises EOutOfResources with a message
// naming the format ("BMP"), the claim and the limit.
int64_t CheckDecodeClaim(const TDecodeLimits& limits, std::u16string_view format_name, int64_t width,
                         int64_t height, PixelFormat format);

// Checks a working buffer of the given bytes (what names it in the message,
// e.g. "strip") against the byte limit; EOutOfResources above it.
void CheckDecodeBuffer(const TDecodeLimits& limits, std::u16string_view format_name, std::u16string_view what,
                       int64_t bytes);

}  // namespace pk
