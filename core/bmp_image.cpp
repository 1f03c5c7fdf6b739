// TBMPImage: resolution handling around the platform BMP codec, the header
// probe, and the byte-exact 24-bit writer (file header, 40-byte information
// header, bottom-up rows of Width × 3 bytes rounded up to a multiple of 4, and 4
// for a width of 0).
#include "core/bmp_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "platform/bmp_structures.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/stream.h"

namespace pk {
namespace {

// Positions in a BMP, counted from its first byte.
constexpr size_t kHeaderSizeAt = 14;
constexpr size_t kWidthAt = 18;
constexpr size_t kCoreHeightAt = 20;
constexpr size_t kHeightAt = 22;
constexpr size_t kXPelsAt = 38;
constexpr size_t kYPelsAt = 42;
constexpr int64_t kHeadBytes = 46;  // through the vertical resolution

// The probe wants more than the headers: the bytes of a core-header BMP, or of
// one with a longer header, past its 26 or 54 bytes of headers.
constexpr int64_t kCoreProbeMinimum = bmp::kFileHeaderSize + bmp::kCoreHeaderSize + 1;
constexpr int64_t kProbeMinimum = bmp::kWrittenHeadersSize + 1;

struct Head {
  std::array<uint8_t, kHeadBytes> bytes{};
  int64_t size = 0;
  std::span<const uint8_t> Span() const { return {bytes.data(), static_cast<size_t>(size)}; }
};

// Up to the first 46 bytes at start; the stream is left after them.
Head ReadHead(TStream& stream, int64_t start) {
  Head head;
  head.size = std::clamp<int64_t>(stream.Size() - start, 0, kHeadBytes);
  stream.ReadBuffer(head.bytes.data(), head.size);
  return head;
}

uint32_t HeaderSize(const Head& head) {
  return head.size >= static_cast<int64_t>(kHeaderSizeAt + 4) ? bmp::LoadLE32(head.Span(), kHeaderSizeAt) : 0;
}

struct Resolution {
  uint32_t x = 0;
  uint32_t y = 0;
};

// Headers shorter than 40 bytes have no resolution fields.
Resolution ResolutionOf(const Head& head) {
  if (head.size < kHeadBytes || HeaderSize(head) < bmp::kInfoHeaderSize) return {};
  return {bmp::LoadLE32(head.Span(), kXPelsAt), bmp::LoadLE32(head.Span(), kYPelsAt)};
}

}  // namespace

TBMPImage::TBMPImage() = default;

void TBMPImage::AssignTo(TBitmap& dest) const { dest.Assign(*this); }

void TBMPImage::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  const Resolution resolution = ResolutionOf(ReadHead(stream, start));
  stream.SetPosition(start);
  TBitmap::LoadFromStream(stream);
  FXPelsPerMeter = resolution.x;
  FYPelsPerMeter = resolution.y;
}

void TBMPImage::SaveToStream(TStream& stream) {
  if (GetPixelFormat() == PixelFormat::pf24bit) {
    Write24BitBmp(stream);
    return;
  }
  const int64_t start = stream.Position();
  TBitmap::SaveToStream(stream);
  if (stream.Size() - start >= kProbeMinimum) PatchResolution(stream, start);
}

void TBMPImage::PatchResolution(TStream& stream, int64_t start) const {
  std::array<uint8_t, 8> values{};
  bmp::StoreLE32(values, 0, FXPelsPerMeter);
  bmp::StoreLE32(values, 4, FYPelsPerMeter);
  stream.SetPosition(start + static_cast<int64_t>(kXPelsAt));
  stream.WriteBytes(values);
  stream.SetPosition(start);
}

void TBMPImage::Write24BitBmp(TStream& stream) const {
  // A width of 0 still gets 4-byte rows, so the stride is that of width 1.
  const int64_t stride = pk::RowBytes(std::max(Width(), 1), PixelFormat::pf24bit);
  const int64_t image_size = CheckedBitmapBytes(std::max(Width(), 1), Height(), PixelFormat::pf24bit);
  bmp::FileHeader file;
  file.bfType = bmp::kSignature;
  file.bfOffBits = bmp::kWrittenHeadersSize;
  file.bfSize = static_cast<uint32_t>(bmp::kWrittenHeadersSize + image_size);
  bmp::InfoHeader info;
  info.biWidth = Width();
  info.biHeight = Height();
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = bmp::kRgb;
  info.biSizeImage = static_cast<uint32_t>(image_size);
  info.biXPelsPerMeter = static_cast<int32_t>(FXPelsPerMeter);
  info.biYPelsPerMeter = static_cast<int32_t>(FYPelsPerMeter);

  TMemoryStream memory;
  memory.WriteBytes(bmp::EncodeHeaders(file, info));
  memory.SetSize(bmp::kWrittenHeadersSize + image_size);
  // At width 0 the bitmap has no row bytes at all: its rows stay zero.
  if (Width() > 0) {
    uint8_t* out = memory.Memory() + bmp::kWrittenHeadersSize;
    for (int y = Height() - 1; y >= 0; --y, out += stride) std::memcpy(out, ScanLine(y), static_cast<size_t>(stride));
  }
  stream.WriteBytes(memory.Bytes());
}

void TBMPImage::GetDimensionsFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  const Head head = ReadHead(stream, start);
  const std::span<const uint8_t> bytes = head.Span();
  if (head.size < kCoreProbeMinimum || bmp::LoadLE16(bytes, 0) != bmp::kSignature)
    throw EInvalidGraphic(msg::kInvalidBitmap);
  const uint32_t header_size = HeaderSize(head);
  if (header_size == bmp::kCoreHeaderSize) {
    FReadWidth = bmp::LoadLE16(bytes, kWidthAt);
    FReadHeight = bmp::LoadLE16(bytes, kCoreHeightAt);
  } else {
    if (header_size < bmp::kCoreHeaderSize || stream.Size() - start < kProbeMinimum)
      throw EInvalidGraphic(msg::kInvalidBitmap);
    FReadWidth = bmp::LoadLE32(bytes, kWidthAt);
    const uint32_t height = bmp::LoadLE32(bytes, kHeightAt);
    // Top-down data stores the row count negated.
    FReadHeight = static_cast<int32_t>(height) < 0 ? 0u - height : height;
  }
  const Resolution resolution = ResolutionOf(head);
  FReadXPelsPerMeter = resolution.x;
  FReadYPelsPerMeter = resolution.y;
}

void TBMPImage::GetDimensionsFromFile(const std::u16string& file_name) {
  TFileStream file(file_name, FileMode::fmOpenRead);
  GetDimensionsFromStream(file);
}

bool TBMPImage::IsGrayScale() const {
  const PixelFormat format = GetPixelFormat();
  if (!IsPaletted(format)) return false;
  for (int i = 0; i < PaletteCapacity(format); ++i) {
    const TColor c = ColorTableEntry(i);
    if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c)) return false;
  }
  return true;
}

}  // namespace pk
