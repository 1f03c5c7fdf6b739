// The platform BMP codec behind TBitmap::LoadFromStream and SaveToStream.
//
// Reading is two-phase. ParseLayout reads the headers (at most 138 bytes) into
// a plain BmpLayout and checks every count, offset and size against the bytes
// the stream actually holds, allocating nothing; only then are the colour table
// and the pixels read, and the bitmap is replaced only once all of it decoded.
// The BMP starts at the stream's position; its offsets count from there.
//
// What comes in and which pixel format it becomes:
//  - 1, 4 and 8 bits, uncompressed or RLE4/RLE8, keep their indexes (pf1bit,
//    pf4bit, pf8bit) with the colour table the file holds, which may be shorter
//    than 2^bits (biClrUsed);
//  - 16 bits 5-5-5 (uncompressed, or bit fields with exactly those masks) become
//    pf16bit, 24 bits pf24bit, 32 bits BGRX (uncompressed, or masks FF0000, FF00,
//    FF with an alpha mask of 0 or FF000000) pf32bit, all copied row by row;
//  - any other bit fields (5-6-5, 4-4-4-4, red-first orders...) are converted:
//    to pf32bit with the alpha channel when the file has an alpha mask, to
//    pf24bit otherwise; components narrower than 8 bits are widened by repeating
//    their bits (31 becomes 255, 16 becomes 132), as the 5-5-5 format reads.
// Rows may be stored bottom-up or top-down, compressed ones included. RLE data
// that ends early ends the decoding (the pixels not reached stay index 0), runs
// past the end of a row are clipped, and a delta that leaves the image raises.
//
// Writing gives every pixel format a 40-byte header, the colour-table entries
// the bitmap holds, and the rows bottom-up. A paletted bitmap holding no entries
// gets a black table of full size, since a count of 0 in the header means all.
#include "platform/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "platform/bitmap.h"
#include "platform/bmp_structures.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/numeric.h"
#include "platform/stream.h"

namespace pk {
namespace {

using bmp::InfoHeader;

constexpr int64_t kMaxHeadBytes = bmp::kFileHeaderSize + bmp::kV5HeaderSize;

// One colour component of a bit-field pixel.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

struct Masks {
  Channel red, green, blue, alpha;
};

enum class Decode { kCopy, kConvertMasks, kRle8, kRle4 };

// Everything the decoding needs, checked against the stream; positions are
// absolute stream positions.
struct BmpLayout {
  int width = 0;
  int height = 0;
  bool top_down = false;
  int bit_count = 0;
  PixelFormat format = PixelFormat::pf24bit;
  Decode decode = Decode::kCopy;
  Masks masks;
  int64_t table_pos = 0;
  int table_entries = 0;
  int table_entry_size = 4;
  int64_t pixels_pos = 0;
  int64_t pixels_size = 0;
  int64_t source_stride = 0;
};

bool IsKnownHeaderSize(uint32_t size) {
  switch (size) {
    case bmp::kCoreHeaderSize:
    case bmp::kInfoHeaderSize:
    case bmp::kRgbMasksHeaderSize:
    case bmp::kRgbaMasksHeaderSize:
    case bmp::kOs2InfoHeaderSize:
    case bmp::kV4HeaderSize:
    case bmp::kV5HeaderSize:
      return true;
    default:
      return false;
  }
}

// The core header seen as an information header: 16-bit unsigned sizes, always
// bottom-up, never compressed.
InfoHeader FromCoreHeader(const bmp::CoreHeader& core) {
  InfoHeader info;
  info.biSize = core.bcSize;
  info.biWidth = core.bcWidth;
  info.biHeight = core.bcHeight;
  info.biPlanes = core.bcPlanes;
  info.biBitCount = core.bcBitCount;
  return info;
}

Channel MakeChannel(uint32_t mask, int bit_count) {
  if (mask == 0) return {};
  if (bit_count < 32 && (mask >> bit_count) != 0) throw EInvalidGraphic(msg::kBmpBadMasks);
  const int shift = std::countr_zero(mask);
  const uint32_t bits = mask >> shift;
  if ((bits & (bits + 1)) != 0) throw EInvalidGraphic(msg::kBmpBadMasks);  // not one run of bits
  return {mask, shift, std::popcount(bits)};
}

uint8_t Extract(const Channel& c, uint32_t pixel) {
  if (c.bits == 0) return 0;
  const uint32_t value = (pixel & c.mask) >> c.shift;
  if (c.bits >= 8) return static_cast<uint8_t>(value >> (c.bits - 8));
  uint32_t wide = value << (8 - c.bits);
  for (int filled = c.bits; filled < 8; filled *= 2) wide |= wide >> filled;
  return static_cast<uint8_t>(wide);
}

// Decides how bit-field pixels decode: straight copies for the layouts the
// bitmap holds natively, a conversion for the rest.
void ApplyMasks(const InfoHeader& info, BmpLayout& layout) {
  const int bits = layout.bit_count;
  const Masks m{MakeChannel(info.biRedMask, bits), MakeChannel(info.biGreenMask, bits),
                MakeChannel(info.biBlueMask, bits), MakeChannel(info.biAlphaMask, bits)};
  const uint32_t r = m.red.mask, g = m.green.mask, b = m.blue.mask, a = m.alpha.mask;
  if ((r | g | b) == 0 || (r & g) || (r & b) || (g & b) || (a & (r | g | b))) throw EInvalidGraphic(msg::kBmpBadMasks);
  if (bits == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F && a == 0) {
    layout.format = PixelFormat::pf16bit;
    return;
  }
  if (bits == 32 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF && (a == 0 || a == 0xFF000000)) {
    layout.format = PixelFormat::pf32bit;
    return;
  }
  layout.decode = Decode::kConvertMasks;
  layout.masks = m;
  layout.format = a ? PixelFormat::pf32bit : PixelFormat::pf24bit;
}

PixelFormat UncompressedFormat(int bit_count) {
  switch (bit_count) {
    case 1: return PixelFormat::pf1bit;
    case 4: return PixelFormat::pf4bit;
    case 8: return PixelFormat::pf8bit;
    case 16: return PixelFormat::pf16bit;
    case 24: return PixelFormat::pf24bit;
    case 32: return PixelFormat::pf32bit;
    default: throw EInvalidGraphic(msg::kBmpUnsupportedFormat);
  }
}

void ApplyEncoding(const InfoHeader& info, bool core, BmpLayout& layout) {
  const int bits = layout.bit_count;
  const uint32_t compression = info.biCompression;
  // OS/2 2.x numbers its Huffman and RLE24 codes like bit fields; neither is read.
  if (info.biSize == bmp::kOs2InfoHeaderSize && compression > bmp::kRle4)
    throw EInvalidGraphic(msg::kBmpUnsupportedFormat);
  if (core && bits != 1 && bits != 4 && bits != 8 && bits != 24) throw EInvalidGraphic(msg::kBmpUnsupportedFormat);
  if (compression == bmp::kRgb) {
    layout.format = UncompressedFormat(bits);
  } else if (compression == bmp::kRle8 && bits == 8) {
    layout.decode = Decode::kRle8;
    layout.format = PixelFormat::pf8bit;
  } else if (compression == bmp::kRle4 && bits == 4) {
    layout.decode = Decode::kRle4;
    layout.format = PixelFormat::pf4bit;
  } else if ((compression == bmp::kBitFields || compression == bmp::kAlphaBitFields) && (bits == 16 || bits == 32)) {
    ApplyMasks(info, layout);
  } else {
    throw EInvalidGraphic(msg::kBmpUnsupportedFormat);
  }
}

void ApplyDimensions(const InfoHeader& info, BmpLayout& layout) {
  if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN)
    throw EInvalidGraphic(msg::kBmpBadDimensions);
  layout.width = info.biWidth;
  layout.top_down = info.biHeight < 0;
  layout.height = layout.top_down ? -info.biHeight : info.biHeight;
}

// Bit-field masks after a 40-byte header sit where a colour table would.
int TrailingMaskBytes(const InfoHeader& info) {
  if (info.biSize != bmp::kInfoHeaderSize) return 0;
  if (info.biCompression == bmp::kBitFields) return 12;
  if (info.biCompression == bmp::kAlphaBitFields) return 16;
  return 0;
}

void ReadTrailingMasks(std::span<const uint8_t> after_header, int mask_bytes, InfoHeader& info) {
  if (mask_bytes == 0) return;
  info.biRedMask = bmp::LoadLE32(after_header, 0);
  info.biGreenMask = bmp::LoadLE32(after_header, 4);
  info.biBlueMask = bmp::LoadLE32(after_header, 8);
  if (mask_bytes == 16) info.biAlphaMask = bmp::LoadLE32(after_header, 12);
}

// Places the colour table and the pixel data. A table whose count is implied
// (biClrUsed 0) is cut where the pixel data begins, as older writers stored
// fewer entries than the bit count allows; a stated count must fit.
void ApplyOffsets(const bmp::FileHeader& file, const InfoHeader& info, int64_t start, int64_t headers_end,
                  int64_t end, BmpLayout& layout) {
  const int64_t capacity = layout.bit_count <= 8 ? int64_t{1} << layout.bit_count : 0;
  if (capacity && info.biClrUsed > capacity) throw EInvalidGraphic(msg::kBmpBadColorTable);
  const bool implied = info.biClrUsed == 0;
  int64_t entries = capacity == 0 ? 0 : implied ? capacity : info.biClrUsed;
  layout.table_pos = headers_end;
  int64_t table_end = headers_end + entries * layout.table_entry_size;
  if (file.bfOffBits == 0) {
    layout.pixels_pos = table_end;
  } else {
    layout.pixels_pos = start + file.bfOffBits;
    if (layout.pixels_pos < headers_end || layout.pixels_pos > end) throw EInvalidGraphic(msg::kBmpBadOffset);
    if (table_end > layout.pixels_pos) {
      if (!implied) throw EInvalidGraphic(msg::kBmpBadColorTable);
      entries = (layout.pixels_pos - headers_end) / layout.table_entry_size;
      table_end = headers_end + entries * layout.table_entry_size;
    }
  }
  if (table_end > end) throw EInvalidGraphic(msg::kBmpBadColorTable);
  layout.table_entries = static_cast<int>(entries);
}

void ApplyPixelSize(const InfoHeader& info, int64_t end, BmpLayout& layout) {
  const int64_t available = end - layout.pixels_pos;
  layout.source_stride = (int64_t{layout.width} * layout.bit_count + 31) / 32 * 4;
  if (layout.decode == Decode::kRle4 || layout.decode == Decode::kRle8) {
    layout.pixels_size = info.biSizeImage ? std::min<int64_t>(info.biSizeImage, available) : available;
    return;
  }
  // More rows than the data holds is truncated data, also where the rows'
  // bytes would pass 64 bits (a 2^31-pixel-wide 32-bit picture 2^31 rows high).
  if (layout.source_stride > 0 && layout.height > available / layout.source_stride)
    throw EInvalidGraphic(msg::kBmpTruncatedPixels);
  layout.pixels_size = layout.source_stride * layout.height;
}

BmpLayout ParseLayout(TStream& stream, const TDecodeLimits& limits) {
  const int64_t start = stream.Position();
  const int64_t end = std::max(stream.Size(), start);
  std::array<uint8_t, kMaxHeadBytes> head{};
  const int64_t head_size = std::min(end - start, kMaxHeadBytes);
  stream.ReadBuffer(head.data(), head_size);
  const std::span<const uint8_t> bytes(head.data(), static_cast<size_t>(head_size));
  if (head_size < 2 || bmp::LoadLE16(bytes, 0) != bmp::kSignature) throw EInvalidGraphic(msg::kInvalidBitmap);
  const bmp::FileHeader file = bmp::DecodeFileHeader(bytes);
  const uint32_t header_size = bmp::LoadLE32(bytes, bmp::kFileHeaderSize);
  if (!IsKnownHeaderSize(header_size)) throw EInvalidGraphic(msg::kBmpUnsupportedHeader);
  const auto header = bytes.subspan(bmp::kFileHeaderSize);
  if (header.size() < header_size) throw EInvalidGraphic(msg::kBmpTruncatedHeader);
  const bool core = header_size == bmp::kCoreHeaderSize;
  InfoHeader info = core ? FromCoreHeader(bmp::DecodeCoreHeader(header)) : bmp::DecodeInfoHeader(header);
  const int mask_bytes = TrailingMaskBytes(info);
  ReadTrailingMasks(header.subspan(header_size), mask_bytes, info);

  BmpLayout layout;
  layout.bit_count = info.biBitCount;
  layout.table_entry_size = core ? 3 : 4;
  ApplyDimensions(info, layout);
  ApplyEncoding(info, core, layout);
  const int64_t headers_end = start + bmp::kFileHeaderSize + header_size + mask_bytes;
  ApplyOffsets(file, info, start, headers_end, end, layout);
  ApplyPixelSize(info, end, layout);
  // Compressed data may declare any size in a few bytes: the claim is checked
  // here, before the rows are allocated.
  CheckDecodeClaim(limits, u"BMP", layout.width, layout.height, layout.format);
  return layout;
}

std::vector<TColor> ReadColorTable(TStream& stream, const BmpLayout& layout) {
  std::vector<uint8_t> bytes(static_cast<size_t>(layout.table_entries) * layout.table_entry_size);
  stream.SetPosition(layout.table_pos);
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  std::vector<TColor> table(static_cast<size_t>(layout.table_entries));
  for (size_t i = 0; i < table.size(); ++i) {
    const uint8_t* entry = bytes.data() + i * layout.table_entry_size;
    table[i] = RGB(entry[2], entry[1], entry[0]);
  }
  return table;
}

int64_t DestRow(const BmpLayout& layout, int64_t file_row) {
  return layout.top_down ? file_row : layout.height - 1 - file_row;
}

// Zeroes the bits past the last pixel and the padding bytes, whatever the file
// stored there.
void ClearRowPadding(uint8_t* row, int64_t stride, int64_t width, int bit_count) {
  const int64_t bits = width * bit_count;
  int64_t used = bits / 8;
  if (bits % 8) row[used++] &= static_cast<uint8_t>(0xFF00 >> (bits % 8));
  std::memset(row + used, 0, static_cast<size_t>(stride - used));
}

void CopyRows(TStream& stream, const BmpLayout& layout, TByteBuffer& rows) {
  const int64_t stride = layout.source_stride;
  for (int64_t y = 0; y < layout.height; ++y) {
    uint8_t* row = rows.data() + DestRow(layout, y) * stride;
    stream.ReadBuffer(row, stride);
    ClearRowPadding(row, stride, layout.width, layout.bit_count);
  }
}

void ConvertRows(TStream& stream, const BmpLayout& layout, TByteBuffer& rows) {
  const int64_t dest_stride = RowBytes(layout.width, layout.format);
  const int source_bytes = layout.bit_count / 8;
  const int dest_bytes = BitsPerPixel(layout.format) / 8;
  std::vector<uint8_t> source(static_cast<size_t>(layout.source_stride));
  const Masks& m = layout.masks;
  for (int64_t y = 0; y < layout.height; ++y) {
    stream.ReadBuffer(source.data(), layout.source_stride);
    uint8_t* out = rows.data() + DestRow(layout, y) * dest_stride;
    const std::span<const uint8_t> in(source);
    for (int64_t x = 0; x < layout.width; ++x, out += dest_bytes) {
      const size_t at = static_cast<size_t>(x * source_bytes);
      const uint32_t pixel = source_bytes == 2 ? bmp::LoadLE16(in, at) : bmp::LoadLE32(in, at);
      out[0] = Extract(m.blue, pixel);
      out[1] = Extract(m.green, pixel);
      out[2] = Extract(m.red, pixel);
      if (dest_bytes == 4) out[3] = Extract(m.alpha, pixel);
    }
    std::memset(out, 0, static_cast<size_t>(dest_stride - layout.width * dest_bytes));
  }
}

uint8_t Nibble(uint8_t b, int i) { return (i & 1) ? b & 0x0F : b >> 4; }

// Where RLE decoding stands in the image; writes indexes into the rows and
// drops whatever falls past the end of a row.
class RleCursor {
 public:
  RleCursor(const BmpLayout& layout, TByteBuffer& rows)
      : layout_(layout), rows_(rows), stride_(RowBytes(layout.width, layout.format)) {}

  bool Done() const { return y_ >= layout_.height; }
  bool Nibbles() const { return layout_.decode == Decode::kRle4; }

  // count pixels, pixel i being index_of(i).
  template <typename IndexOf>
  void Write(int count, IndexOf index_of) {
    const int64_t n = std::min<int64_t>(count, std::max<int64_t>(0, layout_.width - x_));
    uint8_t* row = rows_.data() + DestRow(layout_, y_) * stride_;
    for (int i = 0; i < n; ++i, ++x_) {
      const uint8_t index = index_of(i);
      if (!Nibbles()) {
        row[x_] = index;
      } else {
        uint8_t& b = row[x_ >> 1];
        b = (x_ & 1) ? static_cast<uint8_t>((b & 0xF0) | index) : static_cast<uint8_t>((b & 0x0F) | (index << 4));
      }
    }
    x_ += count - n;
  }
  void NextLine() {
    x_ = 0;
    ++y_;
  }
  void Move(int dx, int dy) {
    x_ += dx;
    y_ += dy;
    if (x_ > layout_.width || y_ >= layout_.height) throw EInvalidGraphic(msg::kBmpRleOutsideImage);
  }

 private:
  const BmpLayout& layout_;
  TByteBuffer& rows_;
  int64_t stride_;
  int64_t x_ = 0;
  int64_t y_ = 0;
};

void DecodeRle(std::span<const uint8_t> data, RleCursor& cursor) {
  const bool nibbles = cursor.Nibbles();
  size_t pos = 0;
  while (!cursor.Done() && data.size() - pos >= 2) {
    const uint8_t count = data[pos];
    const uint8_t value = data[pos + 1];
    pos += 2;
    if (count > 0) {  // one index repeated (two taking turns in RLE4)
      cursor.Write(count, [&](int i) { return nibbles ? Nibble(value, i) : value; });
    } else if (value == 0) {  // end of line
      cursor.NextLine();
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (data.size() - pos < 2) return;
      cursor.Move(data[pos], data[pos + 1]);
      pos += 2;
    } else {  // literal indexes, padded to 16 bits
      const size_t bytes = nibbles ? (value + 1u) / 2 : value;
      if (data.size() - pos < bytes) return;
      const uint8_t* literal = data.data() + pos;
      cursor.Write(value, [&](int i) { return nibbles ? Nibble(literal[i / 2], i) : literal[i]; });
      pos = std::min(data.size(), pos + bytes + (bytes & 1));
    }
  }
}

void DecodeRleRows(TStream& stream, const BmpLayout& layout, TByteBuffer& rows) {
  std::vector<uint8_t> data(static_cast<size_t>(layout.pixels_size));
  stream.ReadBuffer(data.data(), layout.pixels_size);
  RleCursor cursor(layout, rows);
  DecodeRle(data, cursor);
}

std::vector<uint8_t> TableBytes(std::span<const TColor> table) {
  std::vector<uint8_t> bytes;
  bytes.reserve(table.size() * 4);
  for (TColor c : table) bytes.insert(bytes.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
  return bytes;
}

}  // namespace

void ReadBmp(TStream& stream, TBitmap& bitmap, const TDecodeLimits& limits) {
  const BmpLayout layout = ParseLayout(stream, limits);
  std::vector<TColor> table = ReadColorTable(stream, layout);
  // Copied and converted rows are written whole, padding included, so their
  // buffer starts uninitialised; RLE data may skip pixels, which stay zero.
  const size_t bytes = static_cast<size_t>(CheckedBitmapBytes(layout.width, layout.height, layout.format));
  const bool run_length = layout.decode == Decode::kRle8 || layout.decode == Decode::kRle4;
  TByteBuffer rows = run_length ? TByteBuffer(bytes, 0) : TByteBuffer(bytes);
  stream.SetPosition(layout.pixels_pos);
  switch (layout.decode) {
    case Decode::kCopy: CopyRows(stream, layout, rows); break;
    case Decode::kConvertMasks: ConvertRows(stream, layout, rows); break;
    case Decode::kRle8:
    case Decode::kRle4: DecodeRleRows(stream, layout, rows); break;
  }
  bitmap.Adopt(layout.format, layout.width, layout.height, std::move(table), std::move(rows));
}

void WriteBmp(TStream& stream, const TBitmap& bitmap) {
  const PixelFormat format = bitmap.GetPixelFormat();
  const size_t capacity = static_cast<size_t>(PaletteCapacity(format));
  std::vector<TColor> table(bitmap.ColorTable().begin(), bitmap.ColorTable().end());
  if (capacity && table.empty()) table.assign(capacity, clBlack);
  const std::vector<uint8_t> table_bytes = TableBytes(table);
  const int64_t image_size = bitmap.RowBytes() * bitmap.Height();

  bmp::FileHeader file;
  file.bfType = bmp::kSignature;
  file.bfOffBits = static_cast<uint32_t>(bmp::kWrittenHeadersSize + table_bytes.size());
  file.bfSize = static_cast<uint32_t>(file.bfOffBits + image_size);
  InfoHeader info;
  info.biWidth = bitmap.Width();
  info.biHeight = bitmap.Height();
  info.biPlanes = 1;
  info.biBitCount = static_cast<uint16_t>(bitmap.BitCount());
  info.biCompression = bmp::kRgb;
  info.biSizeImage = static_cast<uint32_t>(image_size);
  info.biClrUsed = static_cast<uint32_t>(table.size() < capacity ? table.size() : 0);

  stream.WriteBytes(bmp::EncodeHeaders(file, info));
  stream.WriteBytes(table_bytes);
  for (int y = bitmap.Height() - 1; y >= 0; --y) stream.WriteBuffer(bitmap.ScanLine(y), bitmap.RowBytes());
}

}  // namespace pk
