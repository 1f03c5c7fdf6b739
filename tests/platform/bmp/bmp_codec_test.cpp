// The platform BMP codec: files from ImageMagick, netpbm, Pillow and the
// fixture script against their reference pixels; our files read back by us and
// by Pillow for every pixel format and row-padding remainder; malformed data as
// one table of should-fail cases; RLE data that must decode without running
// off the image; and a replay of truncations and byte mutations.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/bitmap.h"
#include "platform/bmp_codec.h"
#include "platform/bmp_structures.h"
#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/stream.h"
#include "tests/platform/bmp/rgba_reference.h"
#include "tests/support/oracles.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using Bytes = std::vector<uint8_t>;

// Header positions, counted from the first byte of the BMP.
constexpr size_t kOffBitsAt = 10, kHeaderSizeAt = 14, kWidthAt = 18, kHeightAt = 22, kBitCountAt = 28,
                 kCompressionAt = 30, kSizeImageAt = 34, kClrUsedAt = 46;

Bytes Encode(const TBitmap& bitmap) {
  TMemoryStream stream;
  WriteBmp(stream, bitmap);
  return stream.Release();
}

TBitmap Decode(Bytes bytes) {
  TMemoryStream stream(std::move(bytes));
  TBitmap bitmap;
  ReadBmp(stream, bitmap);
  return bitmap;
}

Bytes Patched32(Bytes bytes, size_t at, uint32_t value) {
  bmp::StoreLE32(bytes, at, value);
  return bytes;
}

Bytes Patched16(Bytes bytes, size_t at, uint16_t value) {
  bmp::StoreLE16(bytes, at, value);
  return bytes;
}

Bytes Truncated(Bytes bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

bmp::InfoHeader Info(int width, int height, int bit_count, uint32_t compression = bmp::kRgb, uint32_t clr_used = 0) {
  bmp::InfoHeader info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = static_cast<uint16_t>(bit_count);
  info.biCompression = compression;
  info.biClrUsed = clr_used;
  return info;
}

// Headers, then whatever sits between them and the pixels (masks, colour
// table), then the pixel bytes.
Bytes Build(bmp::InfoHeader info, const Bytes& between, const Bytes& pixels) {
  bmp::FileHeader file;
  file.bfType = bmp::kSignature;
  file.bfOffBits = static_cast<uint32_t>(bmp::kWrittenHeadersSize + between.size());
  file.bfSize = static_cast<uint32_t>(file.bfOffBits + pixels.size());
  info.biSizeImage = static_cast<uint32_t>(pixels.size());
  const auto head = bmp::EncodeHeaders(file, info);
  Bytes out(head.size() + between.size() + pixels.size());
  const auto after_head = std::copy(head.begin(), head.end(), out.begin());
  std::copy(pixels.begin(), pixels.end(), std::copy(between.begin(), between.end(), after_head));
  return out;
}

Bytes GreyTable(int entries) {
  Bytes table(static_cast<size_t>(entries) * 4);
  for (int i = 0; i < entries; ++i) {
    const auto v = static_cast<uint8_t>(i * 255 / std::max(entries - 1, 1));
    std::fill_n(table.begin() + 4 * i, 3, v);
  }
  return table;
}

Bytes Rle8(int width, int height, const Bytes& data) { return Build(Info(width, height, 8, bmp::kRle8, 4), GreyTable(4), data); }
Bytes Rle4(int width, int height, const Bytes& data) { return Build(Info(width, height, 4, bmp::kRle4, 4), GreyTable(4), data); }

Bytes Masks(std::initializer_list<uint32_t> masks) {
  Bytes out(masks.size() * 4);
  size_t at = 0;
  for (uint32_t m : masks) bmp::StoreLE32(out, (at++) * 4, m);
  return out;
}

// A 4 × 2 8-bit image with a 4-entry table, as our writer lays it out.
Bytes Base8() {
  TBitmap b(4, 2, PixelFormat::pf8bit);
  b.SetColorTable(std::vector<TColor>{clBlack, clWhite, RGB(255, 0, 0), RGB(0, 0, 255)});
  return Encode(b);
}

Bytes Base24() { return Encode(TBitmap(3, 2, PixelFormat::pf24bit)); }

// ---- files other tools wrote ------------------------------------------------

struct Fixture {
  const char* name;
  PixelFormat format;
  bool check_alpha = false;
  int tolerance = 0;
};

TEST(BmpCodec, ReadsWhatTheToolsWroteAsTheyDecodeIt) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  const Fixture fixtures[] = {
      {"im_bmp2_rgb24", PixelFormat::pf24bit},
      {"im_bmp3_rgb24", PixelFormat::pf24bit},
      {"im_bmp4_rgb24", PixelFormat::pf24bit},
      {"im_bmp4_rgba32", PixelFormat::pf32bit, true},
      {"im_rgb565", PixelFormat::pf24bit, false, 1},  // Pillow scales 5 and 6 bits down, we repeat bits
      {"im_bmp2_pal4", PixelFormat::pf4bit},
      {"im_bmp3_pal4", PixelFormat::pf4bit},
      {"im_bmp3_pal8", PixelFormat::pf8bit},
      {"im_bmp3_mono", PixelFormat::pf1bit},
      {"im_bmp3_rle8", PixelFormat::pf8bit},
      {"pbm_windows_1", PixelFormat::pf1bit},
      {"pbm_windows_4", PixelFormat::pf4bit},
      {"pbm_windows_8", PixelFormat::pf8bit},
      {"pbm_windows_24", PixelFormat::pf24bit},
      {"pbm_os2_1", PixelFormat::pf1bit},
      {"pbm_os2_4", PixelFormat::pf4bit},
      {"pbm_os2_8", PixelFormat::pf8bit},
      {"pbm_os2_24", PixelFormat::pf24bit},
      {"pil_1", PixelFormat::pf1bit},
      {"pil_l", PixelFormat::pf8bit},
      {"pil_p", PixelFormat::pf8bit},
      {"pil_rgb", PixelFormat::pf24bit},
      {"pil_rgba", PixelFormat::pf32bit},
      {"hand_topdown_rgb24", PixelFormat::pf24bit},
      {"hand_topdown_pal8", PixelFormat::pf8bit},
      {"hand_clrused5_pal8", PixelFormat::pf8bit},
      {"hand_clrused3_pal4", PixelFormat::pf4bit},
      {"hand_bf_rgb565", PixelFormat::pf24bit},
      {"hand_bf_rgb555", PixelFormat::pf16bit},
      {"hand_v3_rgb565", PixelFormat::pf24bit},
      {"hand_v3_argb4444", PixelFormat::pf32bit, true},
      {"hand_v2_bgrx32", PixelFormat::pf32bit},
      {"hand_v4_rgba32", PixelFormat::pf32bit, true},
      {"hand_v5_bgra32", PixelFormat::pf32bit, true},
      {"hand_bf_r10g10b10", PixelFormat::pf24bit},
      {"hand_rle4", PixelFormat::pf4bit},
      {"hand_rle8_odd", PixelFormat::pf8bit},
      {"hand_rle8_delta", PixelFormat::pf8bit},
      {"hand_os2v2_pal4", PixelFormat::pf4bit},
  };
  for (const Fixture& f : fixtures) {
    SCOPED_TRACE(f.name);
    const std::string stem = std::string("platform/bmp/") + f.name;
    TBitmap bitmap;
    ASSERT_NO_THROW(bitmap.LoadFromFile(test::U16(test::GeneratedFile(stem + ".bmp"))));
    EXPECT_EQ(bitmap.GetPixelFormat(), f.format);
    test::ExpectPixelsMatch(bitmap, test::ReadRgba(test::GeneratedFile(stem + ".rgba")), f.tolerance, f.check_alpha);
  }
}

TEST(BmpCodec, AShortColourTableStaysShort) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  const struct { const char* name; size_t entries; } cases[] = {
      {"hand_clrused5_pal8", 5}, {"hand_clrused3_pal4", 3}, {"pil_1", 2}, {"pbm_os2_4", 16}};
  for (const auto& c : cases) {
    TBitmap bitmap;
    bitmap.LoadFromFile(test::U16(test::GeneratedFile(std::string("platform/bmp/") + c.name + ".bmp")));
    EXPECT_EQ(bitmap.ColorTable().size(), c.entries) << c.name;
  }
}

// ---- files we write -----------------------------------------------------------

// Every pixel format at widths that leave every remainder of row padding.
constexpr PixelFormat kAllFormats[] = {PixelFormat::pf1bit,  PixelFormat::pf4bit,  PixelFormat::pf8bit,
                                       PixelFormat::pf16bit, PixelFormat::pf24bit, PixelFormat::pf32bit};
constexpr int kWidths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 31, 32, 33};

TBitmap PatternBitmap(int width, int height, PixelFormat format) {
  TBitmap b(width, height, format);
  uint32_t seed = static_cast<uint32_t>(width * 131 + BitsPerPixel(format));
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  if (IsPaletted(format)) {
    std::vector<TColor> table;
    for (int i = 0; i < PaletteCapacity(format); ++i) table.push_back(next() & 0xFFFFFF);
    b.SetColorTable(table);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) b.SetPixelIndex(x, y, static_cast<int>(next()));
    return b;
  }
  const int bytes = BitsPerPixel(format) / 8;
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < width * bytes; ++i) b.ScanLine(y)[i] = static_cast<uint8_t>(next());
  return b;
}

bool SameBitmap(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.GetPixelFormat() != b.GetPixelFormat()) return false;
  if (!std::equal(a.ColorTable().begin(), a.ColorTable().end(), b.ColorTable().begin(), b.ColorTable().end()))
    return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.RowBytes())) != 0) return false;
  return true;
}

TEST(BmpCodec, EveryPixelFormatAndPaddingReadsBackIdentically) {
  for (PixelFormat format : kAllFormats) {
    for (int width : kWidths) {
      const TBitmap original = PatternBitmap(width, 3, format);
      EXPECT_TRUE(SameBitmap(Decode(Encode(original)), original)) << BitsPerPixel(format) << " bits, width " << width;
    }
  }
}

TEST(BmpCodec, PillowReadsOurFilesAsWeDo) {
  if (!test::RequireOracles({test::Oracle::kPillow})) return;
  test::ScratchDir scratch;
  std::vector<TBitmap> written;
  std::vector<std::filesystem::path> files;
  for (PixelFormat format : kAllFormats) {
    for (int width : kWidths) {
      written.push_back(PatternBitmap(width, 3, format));
      files.push_back(scratch / ("w" + std::to_string(width) + "_" + std::to_string(BitsPerPixel(format)) + ".bmp"));
      test::WriteAll(files.back(), Encode(written.back()));
    }
  }
  const auto decoded = test::PillowDecode(files, scratch);
  ASSERT_TRUE(decoded.has_value());
  for (size_t i = 0; i < written.size(); ++i) {
    const PixelFormat format = written[i].GetPixelFormat();
    SCOPED_TRACE(std::to_string(BitsPerPixel(format)) + " bits, width " + std::to_string(written[i].Width()));
    // Pillow widens 5-bit components by scaling down, we repeat their bits.
    test::ExpectPixelsMatch(written[i], (*decoded)[i], format == PixelFormat::pf16bit ? 1 : 0);
  }
}

TEST(BmpCodec, WritesTheHeaderTheTableItHoldsAndBottomUpRows) {
  TBitmap b(3, 2, PixelFormat::pf8bit);
  b.SetColorTable(std::vector<TColor>{RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)});
  b.SetPixelIndex(0, 1, 2);  // bottom row, first pixel
  const Bytes bytes = Encode(b);
  const std::span<const uint8_t> s(bytes);
  ASSERT_EQ(bytes.size(), 54u + 3 * 4 + 2 * 4);
  EXPECT_EQ(bmp::LoadLE16(s, 0), bmp::kSignature);
  EXPECT_EQ(bmp::LoadLE32(s, 2), bytes.size());
  EXPECT_EQ(bmp::LoadLE32(s, kOffBitsAt), 66u);
  EXPECT_EQ(bmp::LoadLE32(s, kHeaderSizeAt), 40u);
  EXPECT_EQ(bmp::LoadLE32(s, kHeightAt), 2u);
  EXPECT_EQ(bmp::LoadLE16(s, kBitCountAt), 8);
  EXPECT_EQ(bmp::LoadLE32(s, kSizeImageAt), 8u);
  EXPECT_EQ(bmp::LoadLE32(s, kClrUsedAt), 3u);
  EXPECT_EQ(Bytes(bytes.begin() + 54, bytes.begin() + 58), (Bytes{3, 2, 1, 0}));  // blue, green, red, 0
  EXPECT_EQ(bytes[66], 2);                                                        // bottom row first
}

TEST(BmpCodec, APalettedBitmapWithoutTableGetsAFullBlackOne) {
  const TBitmap b(2, 1, PixelFormat::pf4bit);
  const Bytes bytes = Encode(b);
  EXPECT_EQ(bmp::LoadLE32(bytes, kClrUsedAt), 0u);
  EXPECT_EQ(bmp::LoadLE32(bytes, kOffBitsAt), 54u + 16 * 4);
  const TBitmap back = Decode(bytes);
  EXPECT_EQ(back.ColorTable().size(), 16u);
  EXPECT_EQ(back.PixelColor(1, 0), clBlack);
}

TEST(BmpCodec, TheBmpStartsAtTheStreamPosition) {
  const TBitmap original = PatternBitmap(5, 3, PixelFormat::pf8bit);
  TMemoryStream stream;
  stream.WriteBytes(Bytes{1, 2, 3, 4, 5, 6, 7});
  WriteBmp(stream, original);
  stream.SetPosition(7);
  TBitmap back;
  ReadBmp(stream, back);
  EXPECT_TRUE(SameBitmap(back, original));
}

TEST(BmpCodec, GarbageInRowPaddingDoesNotBecomePixels) {
  Bytes bytes = Build(Info(3, 1, 1), GreyTable(2), Bytes{0xFF, 0xFF, 0xFF, 0xFF});
  const TBitmap b = Decode(bytes);
  EXPECT_EQ(b.ScanLine(0)[0], 0xE0);
  EXPECT_EQ(b.ScanLine(0)[1], 0);
  EXPECT_EQ(b.ScanLine(0)[3], 0);
}

// Decoded rows are not zero-filled before they are written: every byte of
// them, row padding and pixels that RLE data skips included, must be set by
// the decoder. A freed buffer of garbage the size of the rows is what the
// allocator most likely hands the decoder next.
TEST(BmpCodec, DecodedRowsHoldNothingOfTheMemoryTheyReuse) {
  constexpr int kWidth = 5, kHeight = 40;  // 24-bit rows of 15 bytes and 1 of padding
  const auto decode_after_garbage = [](const Bytes& file, PixelFormat format) {
    { const TByteBuffer garbage(static_cast<size_t>(RowBytes(kWidth, format) * kHeight), 0xA5); }
    return Decode(file);
  };
  // 16-bit pixels of 5-6-5 masks, all ones: converted to 24-bit white.
  const Bytes masked = Build(Info(kWidth, kHeight, 16, bmp::kBitFields), Masks({0xF800, 0x07E0, 0x001F}),
                             Bytes(static_cast<size_t>(12 * kHeight), 0xFF));
  const TBitmap converted = decode_after_garbage(masked, PixelFormat::pf24bit);
  ASSERT_EQ(converted.GetPixelFormat(), PixelFormat::pf24bit);
  for (int y = 0; y < kHeight; ++y) EXPECT_EQ(converted.ScanLine(y)[15], 0) << "padding of row " << y;
  EXPECT_EQ(converted.PixelColor(4, kHeight - 1), clWhite);
  // RLE data that ends the picture at once: every pixel skipped, so index 0.
  const TBitmap skipped = decode_after_garbage(Rle8(kWidth, kHeight, Bytes{0, 1}), PixelFormat::pf8bit);
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* row = skipped.ScanLine(y);
    EXPECT_TRUE(std::all_of(row, row + skipped.RowBytes(), [](uint8_t b) { return b == 0; })) << "row " << y;
  }
}

TEST(BmpCodec, AnImpliedTableIsCutWherePixelsBegin) {
  // An 8-bit file with biClrUsed 0 but only two entries before its pixels.
  Bytes bytes = Build(Info(2, 1, 8), GreyTable(2), Bytes{1, 0, 0, 0});
  const TBitmap b = Decode(bytes);
  EXPECT_EQ(b.ColorTable().size(), 2u);
  EXPECT_EQ(b.PixelColor(0, 0), clWhite);
}

// ---- malformed data -------------------------------------------------------------

enum class Fails { kInvalidGraphic, kOutOfResources };

struct Malformed {
  const char* defect;
  Bytes bytes;
  const char16_t* message;
  Fails error = Fails::kInvalidGraphic;
};

std::vector<Malformed> MalformedCases() {
  const Bytes b8 = Base8();
  const Bytes b24 = Base24();
  const Bytes bf16 = Build(Info(2, 2, 16, bmp::kBitFields), Masks({0xF800, 0x07E0, 0x001F}), Bytes(8));
  const Bytes huge24 = Build(Info(60000, 60000, 24), {}, Bytes(16));
  return {
      {"empty data", {}, msg::kInvalidBitmap},
      {"no BM signature", Patched16(b24, 0, 0x5A4D), msg::kInvalidBitmap},
      {"file header only", Truncated(b24, 14), msg::kBmpTruncatedHeader},
      {"information header cut short", Truncated(b24, 30), msg::kBmpTruncatedHeader},
      {"header size 20", Patched32(b24, kHeaderSizeAt, 20), msg::kBmpUnsupportedHeader},
      {"header size 0xFFFFFFFF", Patched32(b24, kHeaderSizeAt, 0xFFFFFFFF), msg::kBmpUnsupportedHeader},
      {"124-byte header in a 70-byte file", Truncated(Patched32(b24, kHeaderSizeAt, 124), 70), msg::kBmpTruncatedHeader},
      {"bit-field masks cut off", Truncated(bf16, 60), msg::kBmpTruncatedHeader},
      {"zero width", Patched32(b24, kWidthAt, 0), msg::kBmpBadDimensions},
      {"negative width", Patched32(b24, kWidthAt, static_cast<uint32_t>(-3)), msg::kBmpBadDimensions},
      {"zero height", Patched32(b24, kHeightAt, 0), msg::kBmpBadDimensions},
      {"INT_MIN height", Patched32(b24, kHeightAt, 0x80000000u), msg::kBmpBadDimensions},
      {"2 bits per pixel", Patched16(b8, kBitCountAt, 2), msg::kBmpUnsupportedFormat},
      {"0 bits per pixel", Patched16(b8, kBitCountAt, 0), msg::kBmpUnsupportedFormat},
      {"64 bits per pixel", Patched16(b24, kBitCountAt, 64), msg::kBmpUnsupportedFormat},
      {"RLE8 on 24 bits", Patched32(b24, kCompressionAt, bmp::kRle8), msg::kBmpUnsupportedFormat},
      {"RLE4 on 8 bits", Patched32(b8, kCompressionAt, bmp::kRle4), msg::kBmpUnsupportedFormat},
      {"bit fields on 24 bits", Patched32(b24, kCompressionAt, bmp::kBitFields), msg::kBmpUnsupportedFormat},
      {"JPEG compression", Patched32(b24, kCompressionAt, 4), msg::kBmpUnsupportedFormat},
      {"unknown compression", Patched32(b24, kCompressionAt, 99), msg::kBmpUnsupportedFormat},
      {"OS/2 2.x Huffman", Patched32(Patched32(b24, kHeaderSizeAt, 64), kCompressionAt, 3), msg::kBmpUnsupportedFormat},
      {"core header with 16 bits",
       Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 16, 0, 0, 0, 0, 0},
       msg::kBmpUnsupportedFormat},
      {"all masks zero", Build(Info(2, 2, 16, bmp::kBitFields), Masks({0, 0, 0}), Bytes(8)), msg::kBmpBadMasks},
      {"overlapping masks", Build(Info(2, 2, 16, bmp::kBitFields), Masks({0xFC00, 0x07E0, 0x001F}), Bytes(8)),
       msg::kBmpBadMasks},
      {"mask with a gap", Build(Info(2, 2, 16, bmp::kBitFields), Masks({0xF000, 0x0500, 0x001F}), Bytes(8)),
       msg::kBmpBadMasks},
      {"mask wider than the pixel", Build(Info(2, 2, 16, bmp::kBitFields), Masks({0xFF0000, 0xFF00, 0xFF}), Bytes(8)),
       msg::kBmpBadMasks},
      {"257 colours on 8 bits", Patched32(b8, kClrUsedAt, 257), msg::kBmpBadColorTable},
      {"0x40000000 colours", Patched32(b8, kClrUsedAt, 0x40000000), msg::kBmpBadColorTable},
      {"stated table overlaps the pixels", Patched32(b8, kClrUsedAt, 200), msg::kBmpBadColorTable},
      {"table longer than the data", Patched32(Patched32(b8, kClrUsedAt, 200), kOffBitsAt, 0), msg::kBmpBadColorTable},
      {"pixel offset past the end", Patched32(b24, kOffBitsAt, 0x7FFFFFFF), msg::kBmpBadOffset},
      {"pixel offset 0xFFFFFFFF", Patched32(b24, kOffBitsAt, 0xFFFFFFFF), msg::kBmpBadOffset},
      {"pixel offset inside the header", Patched32(b24, kOffBitsAt, 20), msg::kBmpBadOffset},
      {"last pixel byte missing", Truncated(b24, b24.size() - 1), msg::kBmpTruncatedPixels},
      {"pixel data starts at the end", Patched32(b24, kOffBitsAt, static_cast<uint32_t>(b24.size())),
       msg::kBmpTruncatedPixels},
      {"60000 x 60000 in 70 bytes", huge24, msg::kBmpTruncatedPixels},
      {"INT_MAX wide 32-bit", Patched32(Patched16(b24, kBitCountAt, 32), kWidthAt, INT_MAX), msg::kBmpTruncatedPixels},
      {"INT_MAX wide and high 32-bit, rows past 64 bits",
       Patched32(Patched32(Patched16(b24, kBitCountAt, 32), kWidthAt, INT_MAX), kHeightAt, INT_MAX),
       msg::kBmpTruncatedPixels},
      {"60000 x 60000 RLE8", Rle8(60000, 60000, {0, 1}), msg::kImageTooLarge, Fails::kOutOfResources},
      {"RLE delta past the right edge", Rle8(4, 2, {2, 1, 0, 2, 3, 0}), msg::kBmpRleOutsideImage},
      {"RLE delta below the last row", Rle8(4, 2, {0, 2, 0, 2}), msg::kBmpRleOutsideImage},
      {"RLE4 delta past the right edge", Rle4(5, 1, {0, 2, 6, 0}), msg::kBmpRleOutsideImage},
  };
}

TEST(BmpCodec, MalformedDataRaisesTheRightError) {
  for (const Malformed& c : MalformedCases()) {
    SCOPED_TRACE(c.defect);
    TBitmap bitmap(1, 1, PixelFormat::pf24bit);
    try {
      bitmap.LoadFromStream(*std::make_unique<TMemoryStream>(c.bytes));
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(c.error, Fails::kInvalidGraphic);
      EXPECT_EQ(e.Message(), c.message);
    } catch (const EOutOfResources& e) {
      EXPECT_EQ(c.error, Fails::kOutOfResources);
      EXPECT_EQ(e.Message().rfind(c.message, 0), 0u);
    }
    // A failed load leaves the bitmap as it was.
    EXPECT_EQ(bitmap.Width(), 1);
    EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat::pf24bit);
  }
}

// ---- RLE data that decodes without leaving the image ----------------------------

struct RleCase {
  const char* what;
  Bytes file;
  std::vector<Bytes> rows;  // expected indexes, top row first
};

TEST(BmpCodec, RleDataStaysInsideTheImage) {
  const RleCase cases[] = {
      {"a run longer than the row is clipped", Rle8(3, 2, {255, 1, 0, 0, 2, 2}), {{2, 2, 0}, {1, 1, 1}}},
      {"a literal longer than the row is clipped", Rle8(2, 1, {0, 4, 1, 2, 3, 3}), {{1, 2}}},
      {"data ending inside a literal stops", Rle8(3, 1, {1, 3, 0, 5, 1}), {{3, 0, 0}}},
      {"data ending without an end of bitmap stops", Rle8(2, 2, {2, 1}), {{0, 0}, {1, 1}}},
      {"an odd trailing byte is ignored", Rle8(2, 1, {2, 3, 0}), {{3, 3}}},
      {"end of line past the last row stops", Rle8(1, 1, {1, 2, 0, 0, 0, 0, 1, 3}), {{2}}},
      {"a delta to the end of a row is allowed", Rle8(3, 2, {0, 2, 3, 0, 0, 0, 1, 1}), {{1, 0, 0}, {0, 0, 0}}},
      {"RLE4 runs alternate the two halves", Rle4(5, 1, {5, 0x12}), {{1, 2, 1, 2, 1}}},
      {"RLE4 odd literal is padded to a word", Rle4(4, 1, {0, 3, 0x12, 0x30, 1, 0x22}), {{1, 2, 3, 2}}},
      {"RLE4 run past the row is clipped", Rle4(3, 1, {200, 0x31}), {{3, 1, 3}}},
  };
  for (const RleCase& c : cases) {
    SCOPED_TRACE(c.what);
    TBitmap b;
    ASSERT_NO_THROW(b = Decode(c.file));
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) EXPECT_EQ(b.PixelIndex(x, y), c.rows[y][x]) << x << ", " << y;
  }
}

TEST(BmpCodec, TopDownRleRowsGoDownwards) {
  const TBitmap b = Decode(Rle8(2, -2, {2, 1, 0, 0, 2, 2}));
  EXPECT_EQ(b.PixelIndex(0, 0), 1);
  EXPECT_EQ(b.PixelIndex(0, 1), 2);
}

// ---- replay of damaged files --------------------------------------------------------

// Every truncation of a file and a few values in each of its first 80 bytes:
// each load either succeeds or raises one of our errors, and under the
// sanitizers reads nothing out of bounds.
struct ReplayCount {
  int loaded = 0;
  int refused = 0;
};

// A damaged size field can declare a picture of hundreds of megapixels that
// is legal under the ordinary limits and only slow to clear; a limit of four
// megapixels refuses those at once (the refusal path is part of the model).
void ReplayDamage(const Bytes& seed, std::initializer_list<uint8_t> values, ReplayCount& count) {
  const auto attempt = [&count](Bytes bytes) {
    try {
      TMemoryStream stream(std::move(bytes));
      TBitmap bitmap;
      ReadBmp(stream, bitmap, TDecodeLimits{.max_pixels = int64_t{1} << 22});
      ++count.loaded;
    } catch (const Exception&) {
      ++count.refused;
    }
  };
  for (size_t size = 0; size < seed.size(); ++size) attempt(Truncated(seed, size));
  for (size_t at = 0; at < std::min<size_t>(seed.size(), 80); ++at)
    for (uint8_t value : values) {
      Bytes mutated = seed;
      mutated[at] = value;
      attempt(std::move(mutated));
    }
}

// Small files of each decoding path.
TEST(BmpCodec, DamagedFilesNeverEscapeTheErrorModel) {
  const std::vector<Bytes> seeds = {
      Base8(),
      Encode(PatternBitmap(5, 3, PixelFormat::pf4bit)),
      Encode(PatternBitmap(3, 2, PixelFormat::pf1bit)),
      Rle8(4, 3, {2, 1, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 0, 0, 4, 2, 0, 1}),
      Rle4(7, 2, {3, 0x12, 0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 2, 1, 1, 0, 1}),
      Build(Info(3, -2, 16, bmp::kBitFields), Masks({0xF800, 0x07E0, 0x001F}), Bytes(16, 0xA5)),
      Build(Info(2, 2, 32, bmp::kAlphaBitFields), Masks({0xFF, 0xFF00, 0xFF0000, 0xFF000000}), Bytes(16, 0x5A)),
  };
  ReplayCount count;
  for (const Bytes& seed : seeds) ReplayDamage(seed, {0x00, 0x01, 0x7F, 0x80, 0xFF}, count);
  EXPECT_GT(count.loaded, 0);
  EXPECT_GT(count.refused, 0);
}

// The generated files bring the header variants the seeds above lack: core,
// 52-, 56-, 64-, 108- and 124-byte headers, and the tools' RLE.
TEST(BmpCodec, DamagedToolFilesNeverEscapeTheErrorModel) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  const auto folder = test::GeneratedFile("platform/bmp");
  ReplayCount count;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".bmp") ReplayDamage(test::ReadAll(entry.path()), {0x00, 0x01, 0x7F, 0x80, 0xFF}, count);
  EXPECT_GT(count.loaded, 0);
  EXPECT_GT(count.refused, 0);
}

}  // namespace
}  // namespace pk
