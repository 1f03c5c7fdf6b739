// TBMPImage: resolution handling around the platform BMP codec, the header
// probe, and the byte-exact 24-bit writer (file header, 40-byte information
// header, bottom-up rows of Width × 3 bytes rounded up to a multiple of 4, and 4
// for a width of 0).
#include "core/bmp_image.h"

#include <algorithm>
#include <array>
#include <cstring>
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

void PatchResolution(std::span<uint8_t> bmp_data, TBmpResolution resolution) {
  bmp::StoreLE32(bmp_data, kXPelsAt, resolution.x);
  bmp::StoreLE32(bmp_data, kYPelsAt, resolution.y);
}

// The 24-bit layout straight into its buffer. A width of 0 still gets 4-byte
// rows (the stride of width 1), and those rows stay zero.
std::vector<uint8_t> Encode24BitBmp(const TBitmap& image, TBmpResolution resolution) {
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

  const auto headers = bmp::EncodeHeaders(file, info);
  std::vector<uint8_t> out(static_cast<size_t>(bmp::kWrittenHeadersSize + image_size));
  std::copy(headers.begin(), headers.end(), out.begin());
  if (image.Width() == 0) return out;
  uint8_t* row = out.data() + bmp::kWrittenHeadersSize;
  for (int y = image.Height() - 1; y >= 0; --y, row += stride) {
    std::memcpy(row, image.ScanLine(y), static_cast<size_t>(stride));
  }
  return out;
}

}  // namespace

TBmpResolution ReadBmpResolution(std::span<const uint8_t> head) {
  // Headers shorter than 40 bytes have no resolution fields.
  if (head.size() < static_cast<size_t>(kHeadBytes) || HeaderSize(head) < bmp::kInfoHeaderSize) return {};
  return {bmp::LoadLE32(head, kXPelsAt), bmp::LoadLE32(head, kYPelsAt)};
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

std::vector<uint8_t> EncodeBmpFile(const TBitmap& image, TBmpResolution resolution) {
  if (image.GetPixelFormat() == PixelFormat::pf24bit) return Encode24BitBmp(image, resolution);
  TMemoryStream stream;
  WriteBmp(stream, image);
  std::vector<uint8_t> bytes = stream.Release();
  if (static_cast<int64_t>(bytes.size()) >= kProbeMinimum) PatchResolution(bytes, resolution);
  return bytes;
}

TBMPImage::TBMPImage() = default;

void TBMPImage::AssignTo(TBitmap& dest) const { dest.Assign(*this); }

void TBMPImage::LoadFromStream(TStream& stream) {
  const int64_t start = stream.Position();
  const TBmpResolution resolution = ReadBmpResolution(ReadHead(stream, start).Span());
  stream.SetPosition(start);
  TBitmap::LoadFromStream(stream);
  FXPelsPerMeter = resolution.x;
  FYPelsPerMeter = resolution.y;
}

void TBMPImage::SaveToStream(TStream& stream) {
  const int64_t start = stream.Position();
  const std::vector<uint8_t> bytes = EncodeBmpFile(*this, {FXPelsPerMeter, FYPelsPerMeter});
  stream.WriteBytes(bytes);
  // The platform writer's data has its resolution patched in afterwards, which
  // leaves the stream where the BMP begins; the 24-bit layout leaves it after.
  if (GetPixelFormat() != PixelFormat::pf24bit && static_cast<int64_t>(bytes.size()) >= kProbeMinimum)
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
