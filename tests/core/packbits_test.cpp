#include "core/packbits.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "core/byte_order.h"
#include "platform/exceptions.h"
#include "tests/support/oracles.h"
#include "tests/support/run_command.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Repeat(size_t count, uint8_t value) { return Bytes(count, value); }

Bytes Distinct(size_t count) {
  Bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = static_cast<uint8_t>(i % 251);
  return b;
}

Bytes Encode(const Bytes& raw) {
  TMemoryStream out;
  PackBitsEncode(out, raw);
  return {out.Bytes().begin(), out.Bytes().end()};
}

struct Decoded {
  Bytes bytes;
  int64_t consumed;
};

Decoded Decode(const Bytes& packed, uint32_t packed_size, uint32_t unpacked_size) {
  TMemoryStream source(packed), dest;
  UnPackBits(dest, source, packed_size, unpacked_size);
  return {{dest.Bytes().begin(), dest.Bytes().end()}, source.Position()};
}

TEST(PackBits, EncodesByTheRules) {
  struct Case {
    const char* name;
    Bytes raw, packed;
  };
  const Case cases[] = {
      {"run then single", {5, 5, 5, 7}, {0xFE, 5, 0, 7}},
      {"literal then run", {1, 2, 3, 3, 3}, {1, 1, 2, 0xFE, 3}},
      {"single byte", {9}, {0, 9}},
      {"a pair is a run", {4, 4}, {0xFF, 4}},
      {"literal ends before a pair", {1, 2, 2, 3}, {0, 1, 0xFF, 2, 0, 3}},
      {"long run", Repeat(200, 6), {0x81, 6, 0xB9, 6}},
      {"run of 129", Repeat(129, 6), {0x81, 6, 0, 6}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Encode(c.raw), c.packed) << c.name;
}

TEST(PackBits, LiteralsSplitAt128) {
  const Bytes raw = Distinct(130);
  const Bytes packed = Encode(raw);
  ASSERT_EQ(packed.size(), 1 + 128 + 1 + 2u);
  EXPECT_EQ(packed[0], 0x7F);
  EXPECT_EQ(packed[129], 0x01);
  EXPECT_EQ(Bytes(packed.begin() + 130, packed.end()), (Bytes{128, 129}));
}

TEST(PackBits, DecodesPacketsAndSkipsTheEmptyHeader) {
  EXPECT_EQ(Decode({0xFE, 5, 0, 7}, 4, 4).bytes, (Bytes{5, 5, 5, 7}));
  EXPECT_EQ(Decode({0x80, 0xFE, 5, 0x80, 0, 7}, 6, 4).bytes, (Bytes{5, 5, 5, 7}));
}

TEST(PackBits, APackedSizeEndingInsideAPacketCompletesIt) {
  const Decoded d = Decode({2, 1, 2, 3, 0, 9}, 1, 100);
  EXPECT_EQ(d.bytes, (Bytes{1, 2, 3}));
  EXPECT_EQ(d.consumed, 4);
}

// The last packet is cut at the unpacked size (nothing is written past it),
// while the whole packet is still consumed from the source.
TEST(PackBits, NeverWritesPastTheUnpackedSize) {
  struct Case {
    const char* name;
    Bytes packed;
    uint32_t unpacked_size;
    Bytes bytes;
    int64_t consumed;
  };
  const Case cases[] = {
      {"run", {0xFE, 5, 0, 7}, 2, {5, 5}, 2},
      {"literal", {3, 1, 2, 3, 4, 0xFF, 0}, 3, {1, 2, 3}, 5},
      {"second packet", {0, 8, 0xF0, 1}, 5, {8, 1, 1, 1, 1}, 4},
      {"zero size", {1, 1, 2}, 0, {}, 3},
  };
  for (const Case& c : cases) {
    const Decoded d = Decode(c.packed, static_cast<uint32_t>(c.packed.size()), c.unpacked_size);
    EXPECT_EQ(d.bytes, c.bytes) << c.name;
    EXPECT_EQ(d.consumed, c.consumed) << c.name;
  }
}

// A source that runs out before either size is reached raises rather than
// loop for ever on a stream that reads nothing more; what was decoded stays.
TEST(PackBits, ASourceThatRunsOutRaises) {
  struct Case {
    const char* name;
    Bytes packed;
    Bytes written;
  };
  const Case cases[] = {
      {"empty source", {}, {}},
      {"no header after a packet", {0, 7}, {7}},
      {"run without its value", {0, 7, 0xFE}, {7}},
      {"short literal", {0, 7, 4, 1, 2}, {7, 1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream source(c.packed), dest;
    try {
      UnPackBits(dest, source, 1000, 1000);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), u"Error in UnPackBits procedure");
    }
    EXPECT_EQ(Bytes(dest.Bytes().begin(), dest.Bytes().end()), c.written);
  }
}

// Memory running out while the output grows stays an out-of-memory error: it
// says nothing about the packed data.
TEST(PackBits, AnAllocationFailureIsNotReportedAsCorruptData) {
  struct TOutOfMemoryStream final : TMemoryStream {
    int64_t Write(const void*, int64_t) override { throw std::bad_alloc(); }
  };
  TMemoryStream source(Bytes{0xFD, 3});
  TOutOfMemoryStream dest;
  EXPECT_THROW(UnPackBits(dest, source, 2, 4), std::bad_alloc);
}

TEST(PackBits, DecodesFromAndToTheCurrentPositions) {
  TMemoryStream source(Bytes{0xAA, 0xFD, 3}), dest(Bytes{9, 9});
  source.SetPosition(1);
  dest.SetPosition(2);
  UnPackBits(dest, source, 2, 4);
  EXPECT_EQ(Bytes(dest.Bytes().begin(), dest.Bytes().end()), (Bytes{9, 9, 3, 3, 3, 3}));
}

TEST(PackBits, RoundTripsRowsOfEveryShape) {
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (int trial = 0; trial < 200; ++trial) {
    Bytes raw;
    const size_t length = 1 + next() % 700;
    while (raw.size() < length) {
      // Runs of 1 to 300 of a few values, so pairs, long runs and literals mix.
      const size_t run = next() % 4 == 0 ? 1 + next() % 300 : 1;
      raw.insert(raw.end(), std::min(run, length - raw.size()), static_cast<uint8_t>(next() % 3));
    }
    const Bytes packed = Encode(raw);
    const Decoded d = Decode(packed, static_cast<uint32_t>(packed.size()), static_cast<uint32_t>(raw.size()));
    ASSERT_EQ(d.bytes, raw) << trial;
    ASSERT_EQ(d.consumed, static_cast<int64_t>(packed.size())) << trial;
  }
}

// ---- An independent decoder: a TIFF whose strip our encoder packed, read by
// Pillow and by libtiff (tiffcp), natively only.
#ifndef _WIN32

constexpr uint32_t kWidth = 300;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Rows that each exercise a different packet mix; TIFF packs every row apart.
std::vector<Bytes> OracleRows() {
  return {
      Repeat(kWidth, 0x11),
      Distinct(kWidth),
      Concat({Repeat(200, 1), Distinct(98), Repeat(2, 9)}),
      Concat({Distinct(129), Repeat(2, 4), Distinct(129), {7, 7, 8, 8, 9, 9, 1, 2, 3, 3}, Repeat(30, 5)}),
      Concat({{0}, Repeat(128, 2), Repeat(128, 3), Distinct(43)}),
  };
}

void PutU16(Bytes& b, size_t at, uint16_t v) { StoreU16(b.data() + at, v, ByteOrder::boLittleEndian); }
void PutU32(Bytes& b, size_t at, uint32_t v) { StoreU32(b.data() + at, v, ByteOrder::boLittleEndian); }

// A little-endian, 8-bit grey TIFF with one PackBits strip.
Bytes BuildTiff(const Bytes& strip, uint32_t height) {
  struct Entry {
    uint16_t tag, type;
    uint32_t value;
  };
  constexpr uint16_t kShort = 3, kLong = 4;
  constexpr uint32_t kIfdOffset = 8, kEntries = 9, kStripOffset = kIfdOffset + 2 + kEntries * 12 + 4;
  const Entry entries[kEntries] = {
      {256, kLong, kWidth}, {257, kLong, height}, {258, kShort, 8},
      {259, kShort, 32773}, {262, kShort, 1},     {273, kLong, kStripOffset},
      {277, kShort, 1},     {278, kLong, height}, {279, kLong, static_cast<uint32_t>(strip.size())},
  };
  Bytes tiff(kStripOffset);
  tiff[0] = tiff[1] = 'I';
  PutU16(tiff, 2, 42);
  PutU32(tiff, 4, kIfdOffset);
  PutU16(tiff, kIfdOffset, kEntries);
  for (uint32_t i = 0; i < kEntries; ++i) {
    const size_t at = kIfdOffset + 2 + i * 12;
    PutU16(tiff, at, entries[i].tag);
    PutU16(tiff, at + 2, entries[i].type);
    PutU32(tiff, at + 4, 1);
    if (entries[i].type == kShort) PutU16(tiff, at + 8, static_cast<uint16_t>(entries[i].value));
    else PutU32(tiff, at + 8, entries[i].value);
  }
  tiff.insert(tiff.end(), strip.begin(), strip.end());
  return tiff;
}

std::string Hex(const Bytes& bytes) {
  std::string hex;
  char pair[3];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", b);
    hex += pair;
  }
  return hex;
}

#endif

TEST(PackBits, PillowAndLibtiffDecodeOurStrip) {
  if (!test::RequireOracles({test::Oracle::kPillow, test::Oracle::kTiffcp})) return;
#ifndef _WIN32
  const std::vector<Bytes> rows = OracleRows();
  TMemoryStream strip;
  Bytes expected;
  for (const Bytes& row : rows) {
    ASSERT_EQ(row.size(), kWidth);
    PackBitsEncode(strip, row);
    expected.insert(expected.end(), row.begin(), row.end());
  }
  test::ScratchDir dir;
  const auto packed = dir / "packed.tif", plain = dir / "plain.tif";
  test::WriteAll(packed, BuildTiff({strip.Bytes().begin(), strip.Bytes().end()}, static_cast<uint32_t>(rows.size())));
  const std::string pillow =
      "/usr/bin/python3 -c 'import sys; from PIL import Image; "
      "sys.stdout.write(Image.open(sys.argv[1]).tobytes().hex())' ";
  EXPECT_EQ(test::RunAndCapture(pillow + packed.string()), Hex(expected));
  // libtiff decodes the strip while rewriting it uncompressed.
  ASSERT_EQ(test::RunAndCapture("tiffcp -c none " + packed.string() + " " + plain.string() + " 2>&1"), "");
  EXPECT_EQ(test::RunAndCapture(pillow + plain.string()), Hex(expected));
#endif
}

}  // namespace
}  // namespace pk
