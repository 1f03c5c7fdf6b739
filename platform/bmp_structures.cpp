// Little-endian loads and stores of the BMP headers, byte by byte with bounds
// checks, so the same code serves the reader, the writers and the header probe.
#include "platform/bmp_structures.h"

#include "platform/exceptions.h"
#include "platform/messages.h"

namespace pk::bmp {
namespace {

void CheckRange(size_t size, size_t offset, size_t count) {
  if (offset > size || size - offset < count) throw EInvalidGraphic(msg::kBmpTruncatedHeader);
}

}  // namespace

uint16_t LoadLE16(std::span<const uint8_t> bytes, size_t offset) {
  CheckRange(bytes.size(), offset, 2);
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

uint32_t LoadLE32(std::span<const uint8_t> bytes, size_t offset) {
  CheckRange(bytes.size(), offset, 4);
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16) | (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

void StoreLE16(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
  CheckRange(bytes.size(), offset, 2);
  bytes[offset] = static_cast<uint8_t>(value);
  bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void StoreLE32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
  CheckRange(bytes.size(), offset, 4);
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

FileHeader DecodeFileHeader(std::span<const uint8_t> bytes) {
  FileHeader h;
  h.bfType = LoadLE16(bytes, 0);
  h.bfSize = LoadLE32(bytes, 2);
  h.bfReserved1 = LoadLE16(bytes, 6);
  h.bfReserved2 = LoadLE16(bytes, 8);
  h.bfOffBits = LoadLE32(bytes, 10);
  return h;
}

CoreHeader DecodeCoreHeader(std::span<const uint8_t> bytes) {
  CoreHeader h;
  h.bcSize = LoadLE32(bytes, 0);
  h.bcWidth = LoadLE16(bytes, 4);
  h.bcHeight = LoadLE16(bytes, 6);
  h.bcPlanes = LoadLE16(bytes, 8);
  h.bcBitCount = LoadLE16(bytes, 10);
  return h;
}

InfoHeader DecodeInfoHeader(std::span<const uint8_t> bytes) {
  InfoHeader h;
  h.biSize = LoadLE32(bytes, 0);
  h.biWidth = static_cast<int32_t>(LoadLE32(bytes, 4));
  h.biHeight = static_cast<int32_t>(LoadLE32(bytes, 8));
  h.biPlanes = LoadLE16(bytes, 12);
  h.biBitCount = LoadLE16(bytes, 14);
  h.biCompression = LoadLE32(bytes, 16);
  h.biSizeImage = LoadLE32(bytes, 20);
  h.biXPelsPerMeter = static_cast<int32_t>(LoadLE32(bytes, 24));
  h.biYPelsPerMeter = static_cast<int32_t>(LoadLE32(bytes, 28));
  h.biClrUsed = LoadLE32(bytes, 32);
  h.biClrImportant = LoadLE32(bytes, 36);
  // The OS/2 2.x header uses bytes 40-63 for fields of its own, not masks.
  if (h.biSize >= kRgbMasksHeaderSize && h.biSize != kOs2InfoHeaderSize) {
    h.biRedMask = LoadLE32(bytes, 40);
    h.biGreenMask = LoadLE32(bytes, 44);
    h.biBlueMask = LoadLE32(bytes, 48);
    if (h.biSize >= kRgbaMasksHeaderSize) h.biAlphaMask = LoadLE32(bytes, 52);
  }
  return h;
}

std::array<uint8_t, kWrittenHeadersSize> EncodeHeaders(const FileHeader& file, const InfoHeader& info) {
  std::array<uint8_t, kWrittenHeadersSize> out{};
  std::span<uint8_t> b(out);
  StoreLE16(b, 0, file.bfType);
  StoreLE32(b, 2, file.bfSize);
  StoreLE16(b, 6, file.bfReserved1);
  StoreLE16(b, 8, file.bfReserved2);
  StoreLE32(b, 10, file.bfOffBits);
  std::span<uint8_t> i = b.subspan(kFileHeaderSize);
  StoreLE32(i, 0, kInfoHeaderSize);
  StoreLE32(i, 4, static_cast<uint32_t>(info.biWidth));
  StoreLE32(i, 8, static_cast<uint32_t>(info.biHeight));
  StoreLE16(i, 12, info.biPlanes);
  StoreLE16(i, 14, info.biBitCount);
  StoreLE32(i, 16, info.biCompression);
  StoreLE32(i, 20, info.biSizeImage);
  StoreLE32(i, 24, static_cast<uint32_t>(info.biXPelsPerMeter));
  StoreLE32(i, 28, static_cast<uint32_t>(info.biYPelsPerMeter));
  StoreLE32(i, 32, info.biClrUsed);
  StoreLE32(i, 36, info.biClrImportant);
  return out;
}

}  // namespace pk::bmp
