#include "platform/pixel_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/palette.h"

namespace pk {
namespace {

using PF = PixelFormat;
constexpr PF kFormats[] = {PF::pf1bit, PF::pf4bit, PF::pf8bit, PF::pf16bit, PF::pf24bit, PF::pf32bit};

// The documented row layouts, decoded pixel by pixel: the oracle the
// converters are held to.
unsigned RawIndex(const uint8_t* row, PF format, int x) {
  const int bits = BitsPerPixel(format);
  const int bit = x * bits;
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

TColor RawColour(const uint8_t* row, PF format, int x, const std::vector<TColor>& table) {
  if (IsPaletted(format)) {
    const unsigned i = RawIndex(row, format, x);
    return i < table.size() ? table[i] : clBlack;
  }
  if (format == PF::pf16bit) {
    const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
    const auto widen = [](unsigned c) { return static_cast<uint8_t>(c << 3 | c >> 2); };
    return RGB(widen(v >> 10 & 31), widen(v >> 5 & 31), widen(v & 31));
  }
  const int bytes = BitsPerPixel(format) / 8;
  return RGB(row[bytes * x + 2], row[bytes * x + 1], row[bytes * x]);
}

// A short table with a repeated entry, so lookups past its end and ties occur.
const std::vector<TColor> kTable = {RGB(200, 10, 10), RGB(0, 0, 0), RGB(10, 200, 10), RGB(200, 10, 10),
                                    RGB(250, 250, 250)};

TBitmap Noisy(int width, PF format) {
  TBitmap b(width, 3, format);
  b.SetColorTable(kTable);
  uint32_t noise = 99u + static_cast<uint32_t>(width);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      if (IsPaletted(format))
        b.SetPixelIndex(x, y, static_cast<int>(noise >> 24) % PaletteCapacity(format));
      else
        b.SetPixelColor(x, y, noise >> 8);
    }
  return b;
}

bool PaddingIsZero(const TBitmap& b) {
  const int64_t used_bits = int64_t{b.Width()} * b.BitCount();
  for (int y = 0; y < b.Height(); ++y)
    for (int64_t bit = used_bits; bit < 8 * b.RowBytes(); ++bit)
      if (b.ScanLine(y)[bit / 8] & (0x80 >> bit % 8)) return false;
  return true;
}

// Widths 1 to 9 meet every padding remainder of every format.
TEST(PixelRows, EveryFormatConversionFollowsTheLayoutsPixelByPixel) {
  for (const PF from : kFormats)
    for (const PF to : kFormats)
      for (int width = 1; width <= 9; ++width) {
        if (from == to) continue;
        const std::string name = std::to_string(BitsPerPixel(from)) + " to " + std::to_string(BitsPerPixel(to)) +
                                 ", width " + std::to_string(width);
        const TBitmap source = Noisy(width, from);
        TBitmap b(source);
        b.SetPixelFormat(to);
        ASSERT_EQ(b.GetPixelFormat(), to) << name;
        ASSERT_EQ(b.RowBytes(), RowBytes(width, to)) << name;
        EXPECT_TRUE(PaddingIsZero(b)) << name;
        const bool keeps_indexes = IsPaletted(from) && IsPaletted(to) && BitsPerPixel(from) < BitsPerPixel(to);
        const std::vector<TColor> table = b.Palette();
        const std::vector<TColor> default_table = DefaultPalette(to);
        for (int y = 0; y < b.Height(); ++y)
          for (int x = 0; x < width; ++x) {
            const TColor colour = RawColour(source.ScanLine(y), from, x, source.Palette());
            const uint8_t* row = b.ScanLine(y);
            if (keeps_indexes) {
              EXPECT_EQ(RawIndex(row, to, x), RawIndex(source.ScanLine(y), from, x)) << name;
            } else if (IsPaletted(to)) {
              EXPECT_EQ(RawIndex(row, to, x), unsigned(NearestColorIndex(default_table, colour))) << name;
            } else {
              const TColor quantised = to == PF::pf16bit ? RawColour(row, to, x, table) : colour;
              EXPECT_EQ(RawColour(row, to, x, table), quantised) << name;
              if (to == PF::pf16bit) {
                EXPECT_EQ(quantised & 0xF8F8F8, colour & 0xF8F8F8) << name;
              }
              if (to == PF::pf32bit) {
                EXPECT_EQ(row[4 * x + 3], 0) << name;
              }
            }
          }
        if (!IsPaletted(to)) {
          EXPECT_EQ(b.Palette(), source.Palette()) << name;
        }
      }
}

TEST(PixelRows, SpanWritesTouchOnlyTheirPixels) {
  for (const PF format : {PF::pf1bit, PF::pf4bit, PF::pf8bit}) {
    const unsigned top = PaletteCapacity(format) - 1;
    std::vector<uint8_t> row(16, 0xFF), source(16, 0x00);
    const uint8_t zeros[8] = {};
    WriteIndexes(zeros, format, 3, 5, row.data());
    CopyPixels(source.data(), 1, row.data(), 10, 3, format);
    uint8_t back[16];
    ReadIndexes(row.data(), format, 0, 16, back);
    for (int x = 0; x < 16; ++x) {
      const bool written = (x >= 3 && x < 8) || (x >= 10 && x < 13);
      EXPECT_EQ(back[x], written ? 0u : top) << BitsPerPixel(format) << " bits, pixel " << x;
      EXPECT_EQ(RawIndex(row.data(), format, x), back[x]);
    }
  }
  uint8_t deep[8] = {1, 2, 3, 77, 4, 5, 6, 88};
  const uint8_t bgr[3] = {9, 8, 7};
  WriteDirectBgr(bgr, PF::pf32bit, 1, 1, deep);
  EXPECT_EQ(deep[7], 88);  // the fourth byte is kept
  EXPECT_EQ(deep[4], 9);
  EXPECT_EQ(deep[3], 77);
}

TEST(PixelRows, ReaderAndWriterUseTheColourTable) {
  const BgrReader reader(PF::pf4bit, kTable);
  const uint8_t row[1] = {0x27};  // indexes 2 and 7, the second past the table
  uint8_t bgr[6];
  reader.Read(row, 0, 2, bgr);
  EXPECT_EQ(std::vector<uint8_t>(bgr, bgr + 6), (std::vector<uint8_t>{10, 200, 10, 0, 0, 0}));
  BgrWriter writer(PF::pf4bit, kTable);
  const uint8_t colours[6] = {12, 12, 190, 240, 240, 240};  // near entry 0 (and its twin 3), near entry 4
  uint8_t out[1] = {0};
  writer.Write(colours, 0, 2, out);
  EXPECT_EQ(out[0], 0x04);
}

TEST(PixelRows, MatcherAgreesWithTheNearestSearch) {
  std::vector<TColor> table = DefaultPalette(PF::pf8bit);
  table[200] = RGB(17, 99, 180);
  table[201] = RGB(17, 99, 180);
  ColorMatcher matcher(table);
  uint32_t noise = 7;
  for (int i = 0; i < 200000; ++i) {
    noise = noise * 1664525u + 1013904223u;
    const TColor c = (i & 1) ? noise : noise & 0xFF3F3F;  // the second half collides in the memo often
    ASSERT_EQ(matcher.Match(c), NearestColorIndex(table, c)) << std::hex << c;
  }
  EXPECT_EQ(ColorMatcher({}).Match(clWhite), 0);
}

TEST(PixelRows, MatcherOfAFullTableAgreesWithTheNearestSearch) {
  // 256 random entries, some repeated and some equally far from the colours
  // asked for, searched cell by cell.
  std::vector<TColor> table(256);
  uint32_t noise = 99;
  for (TColor& entry : table) {
    noise = noise * 1664525u + 1013904223u;
    entry = (noise >> 8) & 0xF0F0F0;
  }
  table[77] = table[12];
  ColorMatcher matcher(table);
  for (int i = 0; i < 300000; ++i) {
    noise = noise * 1664525u + 1013904223u;
    const TColor c = (i % 3 == 0) ? (noise & 0xF8F8F8) : noise;
    ASSERT_EQ(matcher.Match(c), NearestColorIndex(table, c)) << std::hex << c;
  }
}

}  // namespace
}  // namespace pk
