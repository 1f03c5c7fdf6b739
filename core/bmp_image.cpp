// TBMPImage: resolution handling around the platform BMP codec, the header
// probe, and the byte-exact 24-bit writer (file header, 40-byte information
// header, bottom-up rows of Width × 3 bytes rounded up to a multiple of 4, and 4
// for a width of 0).
#include "core/bmp_image.h"

#include <algorithm>
#include <array>
#include <span>

#include "platform/bmp_codec.h"
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

uint32_t HeaderSize(std::span<const uint8_t> head) {
  return head.size() >= kHeaderSizeAt + 4 ? bmp::LoadLE32(head, kHeaderSizeAt) : 0;
}

// The 24-bit layout, row by row. A width of 0 still gets 4-byte rows (the
// stride of width 1), and those rows are zero.
void Write24BitBmp(TStream& stream, const TBitmap& image, TBmpResolution resolution) {
  const int64_t stride = pk::RowBytes(std::max(image.Width(), 1), PixelFormat::pf24bit);
  const int64_t image_size = CheckedBitmapBytes(std::max(image.Width(), 1), image.Height(), PixelFormat::pf24bit);
  bmp::FileHeader file;
  file.bfType = bmp::kSignature;
  file.bfOffBits = bmp::kWrittenHeadersSize;
  file.bfSize = static_cast<uint32_t>(bmp::kWrittenHeadersSize + image_size);
  bmp::InfoHeader info;
  info.biWidth = image.Width();
  info.biHeight = image.Height();
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = bmp::kRgb;
  info.biSizeImage = static_cast<uint32_t>(image_size);
  info.biXPelsPerMeter = static_cast<int32_t>(resolution.x);
  info.biYPelsPerMeter = static_cast<int32_t>(resolution.y);

  stream.WriteBytes(bmp::EncodeHeaders(file, info));
  const std::array<uint8_t, 4> empty_row{};
  for (int y = image.Height() - 1; y >= 0; --y)
    stream.WriteBuffer(image.Width() == 0 ? empty_row.data() : image.ScanLine(y), stride);
}

}  // namespace

TBmpResolution ReadBmpResolution(std::span<const uint8_t> head) {
  // Headers shorter than 40 bytes have no resolution fields.
  if (head.size() < static_cast<size_t>(kHeadBytes) || HeaderSize(head) < bmp::kInfoHeaderSize) return {};
  return {bmp::LoadLE32(head, kXPelsAt), bmp::LoadLE32(head, kYPelsAt)};
}

TBmpResolution ReadBmpResolution(TStream& stream) {
  const int64_t start = stream.Position();
  const TBmpResolution resolution = ReadBmpResolution(ReadHead(stream, start).Span());
  stream.SetPosition(start);
  return resolution;
}

TBmpProbe ProbeBmpHeader(std::span<const uint8_t> head, int64_t data_size) {
  if (data_size < kCoreProbeMinimum || head.size() < static_cast<size_t>(kCoreProbeMinimum) ||
      bmp::LoadLE16(head, 0) != bmp::kSignature)
    throw EInvalidGraphic(msg::kInvalidBitmap);
  TBmpProbe probe;
  const uint32_t header_size = HeaderSize(head);
  if (header_size == bmp::kCoreHeaderSize) {
    probe.width = bmp::LoadLE16(head, kWidthAt);
    probe.height = bmp::LoadLE16(head, kCoreHeightAt);
  } else {
    if (header_size < bmp::kCoreHeaderSize || data_size < kProbeMinimum) throw EInvalidGraphic(msg::kInvalidBitmap);
    probe.width = bmp::LoadLE32(head, kWidthAt);
    const uint32_t height = bmp::LoadLE32(head, kHeightAt);
    // Top-down data stores the row count negated.
    probe.height = static_cast<int32_t>(height) < 0 ? 0u - height : height;
  }
  probe.resolution = ReadBmpResolution(head);
  return probe;
}

void WriteBmpFile(TStream& stream, const TBitmap& image, TBmpResolution resolution) {
  if (image.GetPixelFormat() == PixelFormat::pf24bit) {
    Write24BitBmp(stream, image, resolution);
    return;
  }
  const int64_t start = stream.Position();
  WriteBmp(stream, image);
  const int64_t end = stream.Position();
  if (end - start < kProbeMinimum) return;
  // The vertical resolution follows the horizontal one.
  std::array<uint8_t, 8> pels{};
  bmp::StoreLE32(pels, 0, resolution.x);
  bmp::StoreLE32(pels, kYPelsAt - kXPelsAt, resolution.y);
  stream.SetPosition(start + kXPelsAt);
  stream.WriteBytes(pels);
  stream.SetPosition(end);
}

TBMPImage::TBMPImage() = default;

void TBMPImage::AssignTo(TBitmap& dest) const { dest.Assign(*this); }

void TBMPImage::LoadFromStream(TStream& stream) {
  const TBmpResolution resolution = ReadBmpResolution(stream);
  TBitmap::LoadFromStream(stream);
  FXPelsPerMeter = resolution.x;
  FYPelsPerMeter = resolution.y;
}

void TBMPImage::SaveToStream(TStream& stream) {
  const int64_t start = stream.Position();
  WriteBmpFile(stream, *this, {FXPelsPerMeter, FYPelsPerMeter});
  // Data of the platform writer that has its resolution patched in leaves the
  // stream where the BMP begins; the 24-bit layout leaves it after.
  if (GetPixelFormat() != PixelFormat::pf24bit && stream.Position() - start >= kProbeMinimum)
    stream.SetPosition(start);
}

void TBMPImage::GetDimensionsFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  const Head head = ReadHead(stream, start);
  const TBmpProbe probe = ProbeBmpHeader(head.Span(), stream.Size() - start);
  FReadWidth = probe.width;
  FReadHeight = probe.height;
  FReadXPelsPerMeter = probe.resolution.x;
  FReadYPelsPerMeter = probe.resolution.y;
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
