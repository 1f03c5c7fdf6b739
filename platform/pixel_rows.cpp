// The converters behind pixel_rows.h, one row of a table per pixel format. The
// packed formats share one template over the depth; a pixel p of a row sits
// in byte p / (8 / depth), its leftmost pixel in the most significant bits.
#include "platform/pixel_rows.h"

#include <algorithm>
#include <cstring>

#include "platform/bitmap.h"

namespace pk {
namespace {

// Spans are converted in chunks of this many pixels through a buffer on the
// stack, so no conversion allocates.
constexpr int kChunk = 512;

template <int Bits>
void ReadPacked(const uint8_t* row, int x, int count, uint8_t* indexes) {
  if constexpr (Bits == 8) {
    std::memcpy(indexes, row + x, static_cast<size_t>(count));
  } else {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    for (int i = 0; i < count; ++i) {
      const int p = x + i;
      indexes[i] = static_cast<uint8_t>((row[p / kPerByte] >> (8 - Bits - (p % kPerByte) * Bits)) & kMask);
    }
  }
}

template <int Bits>
void WritePacked(const uint8_t* indexes, int x, int count, uint8_t* row) {
  if constexpr (Bits == 8) {
    std::memcpy(row + x, indexes, static_cast<size_t>(count));
  } else {
    constexpr int kPerByte = 8 / Bits;
    constexpr unsigned kMask = (1u << Bits) - 1;
    for (int i = 0; i < count; ++i) {
      const int p = x + i;
      const int shift = 8 - Bits - (p % kPerByte) * Bits;
      uint8_t& byte = row[p / kPerByte];
      byte = static_cast<uint8_t>((byte & ~(kMask << shift)) | ((indexes[i] & kMask) << shift));
    }
  }
}

uint8_t Widen5(unsigned c) { return static_cast<uint8_t>((c << 3) | (c >> 2)); }

void Read16(const uint8_t* row, int x, int count, uint8_t* bgr) {
  const uint8_t* p = row + 2 * static_cast<size_t>(x);
  for (int i = 0; i < count; ++i, p += 2, bgr += 3) {
    const unsigned v = p[0] | (p[1] << 8);
    bgr[0] = Widen5(v & 31);
    bgr[1] = Widen5((v >> 5) & 31);
    bgr[2] = Widen5((v >> 10) & 31);
  }
}

void Write16(const uint8_t* bgr, int x, int count, uint8_t* row) {
  uint8_t* p = row + 2 * static_cast<size_t>(x);
  for (int i = 0; i < count; ++i, p += 2, bgr += 3) {
    const unsigned v = ((bgr[2] >> 3) << 10) | ((bgr[1] >> 3) << 5) | (bgr[0] >> 3);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
  }
}

void Read24(const uint8_t* row, int x, int count, uint8_t* bgr) {
  std::memcpy(bgr, row + 3 * static_cast<size_t>(x), 3 * static_cast<size_t>(count));
}

void Write24(const uint8_t* bgr, int x, int count, uint8_t* row) {
  std::memcpy(row + 3 * static_cast<size_t>(x), bgr, 3 * static_cast<size_t>(count));
}

void Read32(const uint8_t* row, int x, int count, uint8_t* bgr) {
  const uint8_t* p = row + 4 * static_cast<size_t>(x);
  for (int i = 0; i < count; ++i, p += 4, bgr += 3) {
    bgr[0] = p[0];
    bgr[1] = p[1];
    bgr[2] = p[2];
  }
}

void Write32(const uint8_t* bgr, int x, int count, uint8_t* row) {
  uint8_t* p = row + 4 * static_cast<size_t>(x);
  for (int i = 0; i < count; ++i, p += 4, bgr += 3) {
    p[0] = bgr[0];
    p[1] = bgr[1];
    p[2] = bgr[2];
  }
}

// A form a format does not have converts nothing.
void ReadNone(const uint8_t*, int, int, uint8_t*) {}
void WriteNone(const uint8_t*, int, int, uint8_t*) {}

using ReadProc = void (*)(const uint8_t* row, int x, int count, uint8_t* out);
using WriteProc = void (*)(const uint8_t* in, int x, int count, uint8_t* row);

struct RowCodec {
  ReadProc read_indexes;
  WriteProc write_indexes;
  ReadProc read_bgr;
  WriteProc write_bgr;
};

// In the order of PixelFormat.
constexpr RowCodec kCodecs[] = {
    {ReadPacked<1>, WritePacked<1>, ReadNone, WriteNone},
    {ReadPacked<4>, WritePacked<4>, ReadNone, WriteNone},
    {ReadPacked<8>, WritePacked<8>, ReadNone, WriteNone},
    {ReadNone, WriteNone, Read16, Write16},
    {ReadNone, WriteNone, Read24, Write24},
    {ReadNone, WriteNone, Read32, Write32},
};

const RowCodec& CodecOf(PixelFormat format) { return kCodecs[static_cast<size_t>(format)]; }

}  // namespace

void ReadIndexes(const uint8_t* row, PixelFormat format, int x, int count, uint8_t* indexes) {
  CodecOf(format).read_indexes(row, x, count, indexes);
}

void WriteIndexes(const uint8_t* indexes, PixelFormat format, int x, int count, uint8_t* row) {
  CodecOf(format).write_indexes(indexes, x, count, row);
}

void ReadDirectBgr(const uint8_t* row, PixelFormat format, int x, int count, uint8_t* bgr) {
  CodecOf(format).read_bgr(row, x, count, bgr);
}

void WriteDirectBgr(const uint8_t* bgr, PixelFormat format, int x, int count, uint8_t* row) {
  CodecOf(format).write_bgr(bgr, x, count, row);
}

void CopyPixels(const uint8_t* from, int from_x, uint8_t* to, int to_x, int count, PixelFormat format) {
  const int bits = BitsPerPixel(format);
  if (bits >= 8) {
    const auto bytes = static_cast<size_t>(bits / 8);
    std::memcpy(to + bytes * to_x, from + bytes * from_x, bytes * count);
    return;
  }
  uint8_t chunk[kChunk];
  for (int done = 0; done < count;) {
    const int n = std::min(kChunk, count - done);
    ReadIndexes(from, format, from_x + done, n, chunk);
    WriteIndexes(chunk, format, to_x + done, n, to);
    done += n;
  }
}

BgrReader::BgrReader(PixelFormat format, std::span<const TColor> table) : format_(format) {
  const size_t n = std::min(table.size(), static_cast<size_t>(PaletteCapacity(format)));
  for (size_t i = 0; i < n; ++i) {
    table_[3 * i] = GetBValue(table[i]);
    table_[3 * i + 1] = GetGValue(table[i]);
    table_[3 * i + 2] = GetRValue(table[i]);
  }
}

BgrReader::BgrReader(const TBitmap& bitmap) : BgrReader(bitmap.GetPixelFormat(), bitmap.ColorTable()) {}

void BgrReader::Read(const uint8_t* row, int x, int count, uint8_t* bgr) const {
  if (!IsPaletted(format_)) {
    ReadDirectBgr(row, format_, x, count, bgr);
    return;
  }
  uint8_t chunk[kChunk];
  for (int done = 0; done < count;) {
    const int n = std::min(kChunk, count - done);
    ReadIndexes(row, format_, x + done, n, chunk);
    for (int i = 0; i < n; ++i, bgr += 3) std::memcpy(bgr, &table_[3 * size_t{chunk[i]}], 3);
    done += n;
  }
}

BgrWriter::BgrWriter(PixelFormat format, std::span<const TColor> table)
    : format_(format), matcher_(IsPaletted(format) ? table : std::span<const TColor>{}) {}

BgrWriter::BgrWriter(const TBitmap& bitmap) : BgrWriter(bitmap.GetPixelFormat(), bitmap.ColorTable()) {}

void BgrWriter::Write(const uint8_t* bgr, int x, int count, uint8_t* row) {
  if (!IsPaletted(format_)) {
    WriteDirectBgr(bgr, format_, x, count, row);
    return;
  }
  uint8_t chunk[kChunk];
  for (int done = 0; done < count;) {
    const int n = std::min(kChunk, count - done);
    for (int i = 0; i < n; ++i, bgr += 3) chunk[i] = static_cast<uint8_t>(matcher_.Match(RGB(bgr[2], bgr[1], bgr[0])));
    WriteIndexes(chunk, format_, x + done, n, row);
    done += n;
  }
}

}  // namespace pk
