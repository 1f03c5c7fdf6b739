// The on-disk structures of BMP data, field by field with their byte sizes, and
// their little-endian encoding. All integers in a BMP are little-endian; the
// loads copy bytes and check the span, so a header can be decoded straight from
// untrusted bytes without trusting its length.
//
// A BMP is a 14-byte file header followed by one information header whose first
// four bytes give its size: 12 (OS/2 core: 16-bit width and height, 3-byte
// colour entries), 40 (the common one), 52 and 56 (40 plus the red, green, blue
// and alpha masks), 64 (OS/2 2.x, the first 40 bytes as usual), 108 and 124
// (the masks followed by colour-space data the component does not use).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace pk::bmp {

inline constexpr uint16_t kSignature = 0x4D42;  // "BM"
inline constexpr int kFileHeaderSize = 14;
inline constexpr uint32_t kCoreHeaderSize = 12;
inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kRgbMasksHeaderSize = 52;
inline constexpr uint32_t kRgbaMasksHeaderSize = 56;
inline constexpr uint32_t kOs2InfoHeaderSize = 64;
inline constexpr uint32_t kV4HeaderSize = 108;
inline constexpr uint32_t kV5HeaderSize = 124;
// Both headers of the common layout, as this component writes them.
inline constexpr int kWrittenHeadersSize = kFileHeaderSize + kInfoHeaderSize;

// biCompression values.
inline constexpr uint32_t kRgb = 0;
inline constexpr uint32_t kRle8 = 1;
inline constexpr uint32_t kRle4 = 2;
inline constexpr uint32_t kBitFields = 3;
inline constexpr uint32_t kAlphaBitFields = 6;

struct FileHeader {        // 14 bytes
  uint16_t bfType = 0;     // 2: "BM"
  uint32_t bfSize = 0;     // 4: size of the whole BMP (often wrong in the wild; not trusted)
  uint16_t bfReserved1 = 0;  // 2
  uint16_t bfReserved2 = 0;  // 2
  uint32_t bfOffBits = 0;  // 4: pixel data, counted from the first byte of the BMP
};

struct CoreHeader {        // 12 bytes
  uint32_t bcSize = 0;     // 4: 12
  uint16_t bcWidth = 0;    // 2
  uint16_t bcHeight = 0;   // 2: always bottom-up
  uint16_t bcPlanes = 0;   // 2
  uint16_t bcBitCount = 0; // 2: 1, 4, 8 or 24
};

struct InfoHeader {               // 40 bytes, then the masks of the longer versions
  uint32_t biSize = 0;            // 4
  int32_t biWidth = 0;            // 4
  int32_t biHeight = 0;           // 4: negative for rows stored top-down
  uint16_t biPlanes = 0;          // 2
  uint16_t biBitCount = 0;        // 2
  uint32_t biCompression = 0;     // 4
  uint32_t biSizeImage = 0;       // 4: bytes of pixel data (may be 0 when uncompressed)
  int32_t biXPelsPerMeter = 0;    // 4
  int32_t biYPelsPerMeter = 0;    // 4
  uint32_t biClrUsed = 0;         // 4: colour-table entries, 0 for all 2^bits
  uint32_t biClrImportant = 0;    // 4
  // Headers of 52 bytes and more:
  uint32_t biRedMask = 0;         // 4 (offset 40)
  uint32_t biGreenMask = 0;       // 4 (offset 44)
  uint32_t biBlueMask = 0;        // 4 (offset 48)
  // Headers of 56 bytes and more except the OS/2 one:
  uint32_t biAlphaMask = 0;       // 4 (offset 52)
};

// Loads at offset; EInvalidGraphic when the span is too short.
uint16_t LoadLE16(std::span<const uint8_t> bytes, size_t offset);
uint32_t LoadLE32(std::span<const uint8_t> bytes, size_t offset);
void StoreLE16(std::span<uint8_t> bytes, size_t offset, uint16_t value);
void StoreLE32(std::span<uint8_t> bytes, size_t offset, uint32_t value);

FileHeader DecodeFileHeader(std::span<const uint8_t> bytes);
CoreHeader DecodeCoreHeader(std::span<const uint8_t> bytes);
// Decodes the first biSize bytes (the masks only where the header has them);
// bytes must hold at least the 40-byte part.
InfoHeader DecodeInfoHeader(std::span<const uint8_t> bytes);

// The file header and a 40-byte information header, as written.
std::array<uint8_t, kWrittenHeadersSize> EncodeHeaders(const FileHeader& file, const InfoHeader& info);

}  // namespace pk::bmp
