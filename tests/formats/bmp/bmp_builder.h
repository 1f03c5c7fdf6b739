// BMP data built byte by byte for tests: a 40-byte information header with
// any size, bit count, compression and resolution, and the small files that
// declare huge pictures.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/bmp_structures.h"

namespace pk::test {

// Headers of a BMP with a 40-byte information header, then the colour table
// and the pixel data.
inline std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                                const std::vector<uint8_t>& table, const std::vector<uint8_t>& pixels,
                                int32_t x_ppm = 0, int32_t y_ppm = 0) {
  bmp::FileHeader file;
  file.bfType = bmp::kSignature;
  file.bfOffBits = static_cast<uint32_t>(bmp::kWrittenHeadersSize + table.size());
  file.bfSize = static_cast<uint32_t>(file.bfOffBits + pixels.size());
  bmp::InfoHeader info;
  info.biSize = bmp::kInfoHeaderSize;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = bits;
  info.biCompression = compression;
  info.biSizeImage = static_cast<uint32_t>(pixels.size());
  info.biXPelsPerMeter = x_ppm;
  info.biYPelsPerMeter = y_ppm;
  const auto headers = bmp::EncodeHeaders(file, info);
  std::vector<uint8_t> bytes(headers.size() + table.size() + pixels.size());
  auto at = std::copy(headers.begin(), headers.end(), bytes.begin());
  at = std::copy(table.begin(), table.end(), at);
  std::copy(pixels.begin(), pixels.end(), at);
  return bytes;
}

struct HugeClaim {
  const char* name;
  std::vector<uint8_t> bytes;
  size_t size;
  const char16_t* message;
};

inline std::vector<HugeClaim> HugeClaims() {
  return {
      {"RLE8 65536 x 32768 in 54 bytes", Bmp(65536, 32768, 8, bmp::kRle8, {}, {}), 54,
       u"Image too large: BMP data declares 65536 x 32768 pixels, above the limit of 268435456 pixels"},
      {"RLE4 65000 x 65000 in 120 bytes", Bmp(65000, 65000, 4, bmp::kRle4, std::vector<uint8_t>(64), {0, 1}), 120,
       u"Image too large: BMP data declares 65000 x 65000 pixels, above the limit of 268435456 pixels"},
  };
}

}  // namespace pk::test
