#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/bmp_codec.h"
#include "platform/canvas.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/palette.h"
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

TBitmap::TBitmap(int width, int height, PixelFormat format) {
  format_ = format;
  Allocate(width, height, format);
}

TBitmap::TBitmap(const TBitmap& other) { Assign(other); }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  Assign(other);
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  width_ = source.width_;
  height_ = source.height_;
  format_ = source.format_;
  stride_ = source.stride_;
  pixels_ = source.pixels_;
  color_table_ = source.color_table_;
  palette_ = source.palette_;
}

void TBitmap::Allocate(int width, int height, PixelFormat format) {
  const int64_t bytes = CheckedBitmapBytes(width, height, format);
  pixels_.assign(static_cast<size_t>(bytes), 0);
  width_ = width;
  height_ = height;
  stride_ = pk::RowBytes(width, format);
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  TBitmap old(*this);
  Allocate(width, height, format_);
  // Only the bits of the overlapping pixels move: the old rows' padding must not
  // turn into pixels of a wider bitmap.
  const int64_t bits = int64_t{std::min(old.width_, width_)} * BitCount();
  const auto whole = static_cast<size_t>(bits / 8);
  const int tail = static_cast<int>(bits % 8);
  for (int y = 0; y < std::min(old.height_, height_); ++y) {
    std::memcpy(ScanLine(y), old.ScanLine(y), whole);
    if (tail) ScanLine(y)[whole] = old.ScanLine(y)[whole] & static_cast<uint8_t>(0xFF00 >> tail);
  }
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
  color_table_.assign(colors.begin(), colors.begin() + n);
}

bool TBitmap::HasPalette() const { return IsPaletted(format_) ? !color_table_.empty() : !palette_.empty(); }

std::vector<TColor> TBitmap::Palette() const { return IsPaletted(format_) ? color_table_ : palette_; }

void TBitmap::SetPalette(std::span<const TColor> colors) {
  if (!IsPaletted(format_)) {
    palette_.assign(colors.begin(), colors.end());
    return;
  }
  const size_t n = std::min(colors.size(), static_cast<size_t>(PaletteCapacity(format_)));
  std::vector<TColor> table(colors.begin(), colors.begin() + n);
  if (!Empty() && !table.empty()) {
    ColorMatcher matcher(table);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixelIndex(x, y, matcher.Match(PixelColor(x, y)));
  }
  color_table_ = std::move(table);
}

int TBitmap::PixelIndex(int x, int y) const {
  const uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case PixelFormat::pf4bit: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case PixelFormat::pf8bit: return row[x];
    default: return 0;
  }
}

void TBitmap::SetPixelIndex(int x, int y, int index) {
  uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::pf1bit: {
      const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = (index & 1) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask);
      break;
    }
    case PixelFormat::pf4bit:
      row[x >> 1] = (x & 1) ? static_cast<uint8_t>((row[x >> 1] & 0xF0) | (index & 0x0F))
                            : static_cast<uint8_t>((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
      break;
    case PixelFormat::pf8bit: row[x] = static_cast<uint8_t>(index); break;
    default: break;
  }
}

TColor TBitmap::PixelColor(int x, int y) const {
  if (IsPaletted(format_)) return ColorTableEntry(PixelIndex(x, y));
  const uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::pf16bit: {
      const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
      const auto expand = [](unsigned c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); };
      return RGB(expand((v >> 10) & 31), expand((v >> 5) & 31), expand(v & 31));
    }
    case PixelFormat::pf24bit: return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: return RGB(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
  }
}

void TBitmap::SetPixelColor(int x, int y, TColor c) {
  if (IsPaletted(format_)) {
    SetPixelIndex(x, y, NearestColorIndex(color_table_, c));
    return;
  }
  uint8_t* row = ScanLine(y);
  switch (format_) {
    case PixelFormat::pf16bit: {
      const unsigned v = ((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3);
      row[2 * x] = static_cast<uint8_t>(v);
      row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
      break;
    }
    case PixelFormat::pf24bit:
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
      break;
    default:
      row[4 * x] = GetBValue(c);
      row[4 * x + 1] = GetGValue(c);
      row[4 * x + 2] = GetRValue(c);
      break;
  }
}

void TBitmap::SetPixelFormat(PixelFormat format) {
  if (format == format_) return;
  TBitmap old(*this);
  format_ = format;
  Allocate(old.width_, old.height_, format);
  color_table_.clear();
  palette_.clear();
  if (IsPaletted(format)) {
    if (IsPaletted(old.format_) && BitsPerPixel(old.format_) < BitsPerPixel(format)) {
      color_table_ = old.color_table_;
      for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) SetPixelIndex(x, y, old.PixelIndex(x, y));
      return;
    }
    color_table_ = DefaultPalette(format);
    ColorMatcher matcher(color_table_);
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixelIndex(x, y, matcher.Match(old.PixelColor(x, y)));
    return;
  }
  // A direct-colour target keeps the old palette as its logical palette.
  palette_ = old.Palette();
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) SetPixelColor(x, y, old.PixelColor(x, y));
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(*this);
  return *canvas_;
}

void TBitmap::Adopt(PixelFormat format, int width, int height, std::vector<TColor> table,
                    std::vector<uint8_t> rows) {
  const int64_t bytes = CheckedBitmapBytes(width, height, format);
  if (static_cast<int64_t>(rows.size()) != bytes) throw EInvalidGraphic(msg::kInvalidBitmapSize);
  format_ = format;
  width_ = width;
  height_ = height;
  stride_ = pk::RowBytes(width, format);
  pixels_ = std::move(rows);
  color_table_.clear();
  palette_.clear();
  SetColorTable(table);
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
