#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/bmp_codec.h"
#include "platform/canvas.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/palette.h"
#include "platform/pixel_rows.h"
#include "platform/stream.h"
#include "platform/text_encoding.h"

namespace pk {

int64_t CheckedBitmapBytes(int64_t width, int64_t height, PixelFormat format) {
  if (width < 0 || height < 0 || width > INT32_MAX || height > INT32_MAX)
    throw EInvalidGraphic(msg::kInvalidBitmapSize);
  const int64_t stride = pk::RowBytes(width, format);
  if (height != 0 && stride > kMaxBitmapBytes / height) {
    const std::string claim = std::to_string(width) + " x " + std::to_string(height) + " pixels at " +
                              std::to_string(BitsPerPixel(format)) + " bits per pixel exceed the 2 GiB limit";
    throw EOutOfResources(msg::kBitmapTooLarge + Utf8ToUtf16(claim));
  }
  return stride * height;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, PixelFormat format)
    : width_(width),
      height_(height),
      format_(format),
      stride_(pk::RowBytes(width, format)),
      pixels_(static_cast<size_t>(CheckedBitmapBytes(width, height, format)), 0) {}

TBitmap::TBitmap(const TBitmap& other)
    : width_(other.width_),
      height_(other.height_),
      format_(other.format_),
      stride_(other.stride_),
      pixels_(other.pixels_),
      color_table_(other.color_table_),
      palette_(other.palette_) {}

TBitmap::TBitmap(TBitmap&& other) noexcept { TakeState(other); }

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
  if (&other != this) TakeState(other);
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::TakeState(TBitmap& other) noexcept {
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  format_ = std::exchange(other.format_, PixelFormat::pf24bit);
  stride_ = std::exchange(other.stride_, 0);
  pixels_ = std::move(other.pixels_);
  color_table_ = std::move(other.color_table_);
  palette_ = std::move(other.palette_);
  other.pixels_.clear();
  other.color_table_.clear();
  other.palette_.clear();
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  TBitmap copy(source);
  TakeState(copy);
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  TBitmap fresh(width, height, format_);
  fresh.color_table_ = color_table_;
  fresh.palette_ = palette_;
  // Only the overlapping pixels move: the old rows' padding must not turn into
  // pixels of a wider bitmap.
  const int columns = std::min(width_, width);
  for (int y = 0; y < std::min(height_, height); ++y)
    CopyPixels(ScanLine(y), 0, fresh.ScanLine(y), 0, columns, format_);
  TakeState(fresh);
}

uint8_t* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= height_) throw EInvalidGraphic(msg::kScanLineOutOfRange);
  return pixels_.data() + static_cast<int64_t>(row) * stride_;
}

const uint8_t* TBitmap::ScanLine(int row) const {
  if (row < 0 || row >= height_) throw EInvalidGraphic(msg::kScanLineOutOfRange);
  return pixels_.data() + static_cast<int64_t>(row) * stride_;
}

TColor TBitmap::ColorTableEntry(int index) const {
  return index >= 0 && static_cast<size_t>(index) < color_table_.size() ? color_table_[index] : clBlack;
}

void TBitmap::SetColorTable(std::span<const TColor> colors) {
  if (!IsPaletted(format_)) return;
  const size_t n = std::min(colors.size(), static_cast<size_t>(PaletteCapacity(format_)));
  std::vector<TColor> table(colors.begin(), colors.begin() + n);
  color_table_ = std::move(table);
}

bool TBitmap::HasPalette() const { return IsPaletted(format_) ? !color_table_.empty() : !palette_.empty(); }

std::vector<TColor> TBitmap::Palette() const { return IsPaletted(format_) ? color_table_ : palette_; }

void TBitmap::SetPalette(std::span<const TColor> colors) {
  if (!IsPaletted(format_)) {
    std::vector<TColor> palette(colors.begin(), colors.end());
    palette_ = std::move(palette);
    return;
  }
  const size_t n = std::min(colors.size(), static_cast<size_t>(PaletteCapacity(format_)));
  std::vector<TColor> table(colors.begin(), colors.begin() + n);
  if (!Empty() && !table.empty()) {
    // A pixel's new index depends only on its old one: map the indexes through
    // a table worked out first, so the pixels change only once nothing can fail.
    uint8_t remap[256];
    for (int i = 0; i < PaletteCapacity(format_); ++i)
      remap[i] = static_cast<uint8_t>(NearestColorIndex(table, ColorTableEntry(i)));
    uint8_t chunk[256];
    for (int y = 0; y < height_; ++y) {
      uint8_t* row = ScanLine(y);
      for (int x = 0; x < width_; x += 256) {
        const int count = std::min(256, width_ - x);
        ReadIndexes(row, format_, x, count, chunk);
        for (int i = 0; i < count; ++i) chunk[i] = remap[chunk[i]];
        WriteIndexes(chunk, format_, x, count, row);
      }
    }
  }
  color_table_ = std::move(table);
}

int TBitmap::PixelIndex(int x, int y) const {
  uint8_t index = 0;
  ReadIndexes(ScanLine(y), format_, x, 1, &index);
  return index;
}

void TBitmap::SetPixelIndex(int x, int y, int index) {
  const auto value = static_cast<uint8_t>(index);
  WriteIndexes(&value, format_, x, 1, ScanLine(y));
}

TColor TBitmap::PixelColor(int x, int y) const {
  if (IsPaletted(format_)) return ColorTableEntry(PixelIndex(x, y));
  uint8_t bgr[3];
  ReadDirectBgr(ScanLine(y), format_, x, 1, bgr);
  return RGB(bgr[2], bgr[1], bgr[0]);
}

void TBitmap::SetPixelColor(int x, int y, TColor c) {
  if (IsPaletted(format_)) {
    SetPixelIndex(x, y, NearestColorIndex(color_table_, c));
    return;
  }
  const uint8_t bgr[3] = {GetBValue(c), GetGValue(c), GetRValue(c)};
  WriteDirectBgr(bgr, format_, x, 1, ScanLine(y));
}

namespace {

constexpr int kConvertChunk = 512;

// One row through triples, a chunk at a time: every chunk of from is read
// before the same pixels of to are written, so from and to may be the same row
// when the target's pixels are no wider than the source's.
void ConvertRow(const BgrReader& reader, BgrWriter& writer, const uint8_t* from, uint8_t* to, int width) {
  uint8_t bgr[3 * kConvertChunk];
  for (int x = 0; x < width; x += kConvertChunk) {
    const int count = std::min(kConvertChunk, width - x);
    reader.Read(from, x, count, bgr);
    writer.Write(bgr, x, count, to);
  }
}

}  // namespace

void TBitmap::SetPixelFormat(PixelFormat format) {
  if (format == format_) return;
  if (IsPaletted(format) && IsPaletted(format_) && BitsPerPixel(format_) < BitsPerPixel(format)) {
    WidenIndexes(format);
    return;
  }
  // A direct-colour target keeps the old palette as its logical palette.
  std::vector<TColor> table = IsPaletted(format) ? DefaultPalette(format) : std::vector<TColor>{};
  std::vector<TColor> palette = IsPaletted(format) ? std::vector<TColor>{} : Palette();
  const BgrReader reader(*this);
  BgrWriter writer(format, table);
  const int64_t stride = pk::RowBytes(width_, format);
  const bool whole_bytes = BitsPerPixel(format) >= 8 && BitCount() >= 8;
  if (whole_bytes && BitsPerPixel(format) <= BitCount()) {
    // Narrowing to whole bytes converts in place: rows shrink towards the
    // front of the buffer, no new buffer is touched (a 12-megapixel 32-bit
    // image would otherwise fault in 36 MB), and nothing below can fail.
    uint8_t* pixels = pixels_.data();
    const int64_t pixel_bytes = int64_t{width_} * (BitsPerPixel(format) / 8);
    for (int64_t y = 0; y < height_; ++y) {
      uint8_t* to = pixels + y * stride;
      ConvertRow(reader, writer, pixels + y * stride_, to, width_);
      std::memset(to + pixel_bytes, 0, static_cast<size_t>(stride - pixel_bytes));
    }
    pixels_.resize(static_cast<size_t>(stride * height_));
    format_ = format;
    stride_ = stride;
    color_table_ = std::move(table);
    palette_ = std::move(palette);
    return;
  }
  TBitmap fresh(width_, height_, format);
  fresh.color_table_ = std::move(table);
  fresh.palette_ = std::move(palette);
  for (int y = 0; y < height_; ++y) ConvertRow(reader, writer, ScanLine(y), fresh.ScanLine(y), width_);
  TakeState(fresh);
}

void TBitmap::WidenIndexes(PixelFormat format) {
  TBitmap fresh(width_, height_, format);
  fresh.color_table_ = color_table_;
  std::vector<uint8_t> indexes(static_cast<size_t>(width_));
  for (int y = 0; y < height_; ++y) {
    ReadIndexes(ScanLine(y), format_, 0, width_, indexes.data());
    WriteIndexes(indexes.data(), format, 0, width_, fresh.ScanLine(y));
  }
  TakeState(fresh);
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
  return *canvas_;
}

void TBitmap::Adopt(PixelFormat format, int width, int height, std::vector<TColor> table, TByteBuffer rows) {
  const int64_t bytes = CheckedBitmapBytes(width, height, format);
  if (static_cast<int64_t>(rows.size()) != bytes) throw EInvalidGraphic(msg::kInvalidBitmapSize);
  TBitmap fresh;
  fresh.format_ = format;
  fresh.width_ = width;
  fresh.height_ = height;
  fresh.stride_ = pk::RowBytes(width, format);
  fresh.pixels_ = std::move(rows);
  // Shrinking never reallocates, so nothing from here on can fail.
  table.resize(std::min(table.size(), static_cast<size_t>(PaletteCapacity(format))));
  fresh.color_table_ = std::move(table);
  TakeState(fresh);
}

void TBitmap::LoadFromStream(TStream& stream) { ReadBmp(stream, *this); }

void TBitmap::SaveToStream(TStream& stream) { WriteBmp(stream, *this); }

void TBitmap::LoadFromFile(const std::u16string& file_name) {
  TFileStream file(file_name, FileMode::fmOpenRead);
  LoadFromStream(file);
}

void TBitmap::SaveToFile(const std::u16string& file_name) {
  TFileStream file(file_name, FileMode::fmCreate);
  SaveToStream(file);
}

}  // namespace pk
