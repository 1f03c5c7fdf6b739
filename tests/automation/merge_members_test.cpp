// The merge members: the compositing procedure chosen by the target's format
// and the overlay's transparency record (with the alpha record each leaves),
// the overlay's own transparent colour before the object's, single and tiled
// placement of a BMP overlay with a transparent colour, MergeFront replacing
// the image and its alpha, empty overlays left out, invalid bitmap handles,
// and the loader's failures.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/automation_errors.h"
#include "automation/image_functions.h"
#include "core/image_codec.h"
#include "platform/bitmap_handles.h"
#include "platform/exceptions.h"
#include "platform/stream.h"
#include "tests/support/bmp_samples.h"
#include "tests/support/expect_raises.h"
#include "tests/support/stand_in_codecs.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

using test::EncodedBmp;
using test::ExpectRaises;
using test::ScratchDir;
using test::U16;
using test::WriteAll;

constexpr TColor kGrey = RGB(100, 100, 100);
constexpr TColor kRed = RGB(200, 0, 0);
constexpr TColor kGreen = RGB(0, 200, 0);

TBitmap Filled(int width, int height, TColor colour) {
  TBitmap b(width, height, PixelFormat::pf24bit);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixelColor(x, y, colour);
  return b;
}

// An 8-bit image of palette entry 0 whose palette starts grey, red, green.
TBitmap PalettedGrey(int width, int height) {
  TBitmap b(width, height, PixelFormat::pf8bit);
  std::vector<TColor> table(256, RGB(0, 0, 0));
  table[0] = kGrey;
  table[1] = kRed;
  table[2] = kGreen;
  b.SetColorTable(table);
  return b;
}

std::unique_ptr<TAlpha> Record(TTransparencyType kind) {
  auto alpha = std::make_unique<TAlpha>();
  alpha->SetTransparencyType(kind);
  return alpha;
}

// A per-index record where every entry is opaque but one.
std::unique_ptr<TAlpha> PerIndexRecord(int index, uint8_t value) {
  auto alpha = Record(TTransparencyType::ttPalette);
  TTransparentArray entries;
  entries.fill(255);
  entries[index] = value;
  alpha->SetTransparentArray(entries);
  return alpha;
}

// A codec standing in for the formats that carry transparency: the byte after
// the PNG signature's first one picks the picture.
//  'T' the 4 x 2 grey target, 24 bits, with a single-colour record (which
//      survives the alpha flattening of the MergeBack members);
//  'P' the same target in 8 bits;
//  'A' the 2 x 1 overlay red, green with an alpha channel 0, 255;
//  'I' the overlay in 8 bits with alpha 0 for red, 255 for green per index;
//  'N' the overlay without a record;
//  'R' the overlay stating red as its transparent colour;
//  'E' an empty overlay (a first frame of 0 x 0);
//  'B' a 6 x 4 green background with its own per-index record, 8 bits;
//  'C' a 6 x 4 green background with an alpha channel 0 and a blue
//      background colour named in its data.
TDecodedImage DecodeStandIn(std::span<const uint8_t> bytes, const TDecodeOptions&) {
  TDecodedImage image;
  const auto overlay = [&image](PixelFormat format) {
    image.bitmap = TBitmap(2, 1, format);
    if (format == PixelFormat::pf24bit) {
      image.bitmap.SetPixelColor(0, 0, kRed);
      image.bitmap.SetPixelColor(1, 0, kGreen);
    } else {
      image.bitmap.SetColorTable(std::vector<TColor>{kRed, kGreen});
      image.bitmap.SetPixelIndex(1, 0, 1);
    }
  };
  switch (bytes[1]) {
    case 'T':
    case 'P':
      image.bitmap = bytes[1] == 'T' ? Filled(4, 2, kGrey) : PalettedGrey(4, 2);
      image.alpha = Record(TTransparencyType::ttSingleRGB);
      break;
    case 'A':
      overlay(PixelFormat::pf24bit);
      image.alpha = Record(TTransparencyType::ttAlpha);
      image.alpha->SetWidth(2);
      image.alpha->SetHeight(1);
      image.alpha->SetAlphaPixel(1, 0, 255);
      break;
    case 'I':
      overlay(PixelFormat::pf8bit);
      image.alpha = PerIndexRecord(0, 0);
      break;
    case 'N': overlay(PixelFormat::pf24bit); break;
    case 'R':
      overlay(PixelFormat::pf24bit);
      image.transparent = TColourFact{true, kRed};
      break;
    case 'E': image.bitmap = TBitmap(0, 0, PixelFormat::pf24bit); break;
    case 'B': {
      image.bitmap = PalettedGrey(6, 4);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) image.bitmap.SetPixelIndex(x, y, 2);
      image.alpha = PerIndexRecord(2, 9);
      break;
    }
    case 'C':
      image.bitmap = Filled(6, 4, kGreen);
      image.alpha = Record(TTransparencyType::ttAlpha);
      image.alpha->SetWidth(6);
      image.alpha->SetHeight(4);
      image.background = TColourFact{true, RGB(0, 0, 255)};
      break;
    default: throw EInvalidGraphic(u"unknown fake picture");
  }
  return image;
}

std::vector<uint8_t> Fake(char picture) { return {0x89, static_cast<uint8_t>(picture)}; }

class MergeMembers : public testing::Test {
 protected:
  MergeMembers() : codecs_(test::CodecsWithPngStandIn(DecodeStandIn)) { object_.SetCodecs(codecs_); }

  TColor Pixel(int x, int y) const { return object_.State().Image().PixelColor(x, y); }
  TTransparencyType AlphaKind() const { return object_.State().Alpha().TransparencyType(); }

  std::vector<TImageCodec> codecs_;
  TImageFunctions object_;
};

TEST_F(MergeMembers, TheProcedureFollowsTheTargetFormatAndTheOverlayRecord) {
  struct Case {
    const char* name;
    char target;
    char overlay;
    int32_t transpercent;
    bool object_transparent;  // with TransparentColor red
    TColor at1;               // target pixels (1, 0) and (2, 0) afterwards
    TColor at2;
    TTransparencyType alpha_after;
  };
  const TColor half_red = RGB(150, 50, 50);
  const TColor half_green = RGB(50, 150, 50);
  const Case cases[] = {
      // The channel blends; the target keeps the record it had.
      {"alpha channel", 'T', 'A', 0, false, kGrey, kGreen, TTransparencyType::ttSingleRGB},
      {"alpha channel at 50%", 'T', 'A', 50, false, kGrey, RGB(50, 150, 50), TTransparencyType::ttSingleRGB},
      {"per-index alpha", 'T', 'I', 0, false, kGrey, kGreen, TTransparencyType::ttNone},
      {"no record: the percentage", 'T', 'N', 50, false, half_red, half_green, TTransparencyType::ttNone},
      {"the object's transparent colour", 'T', 'N', 0, true, kGrey, kGreen, TTransparencyType::ttNone},
      {"the overlay's own transparent colour", 'T', 'R', 0, false, kGrey, kGreen, TTransparencyType::ttNone},
      // Onto a palette the alpha channel is not used: the nearest entries.
      {"alpha channel onto 8 bits", 'P', 'A', 0, false, kRed, kGreen, TTransparencyType::ttNone},
      {"per-index alpha onto 8 bits", 'P', 'I', 0, false, kRed, kGreen, TTransparencyType::ttNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    object_.ReadVariant(Fake(c.target));
    object_.SetTranspercent(c.transpercent);
    object_.SetTransparent(c.object_transparent);
    object_.SetTransparentColor(u"C80000");
    object_.MergeBackBin(Fake(c.overlay), 1, 0);
    EXPECT_EQ(Pixel(0, 0), kGrey);
    EXPECT_EQ(Pixel(1, 0), c.at1);
    EXPECT_EQ(Pixel(2, 0), c.at2);
    EXPECT_EQ(Pixel(3, 0), kGrey);
    EXPECT_EQ(Pixel(1, 1), kGrey);
    EXPECT_EQ(AlphaKind(), c.alpha_after);
    EXPECT_EQ(object_.ColorDepth(), c.target == 'T' ? 24 : 8);
  }
}

// A 3 x 2 overlay: red in its top-left corner, blue elsewhere.
TBitmap RedCornered() {
  TBitmap overlay = Filled(3, 2, RGB(0, 0, 255));
  overlay.SetPixelColor(0, 0, RGB(255, 0, 0));
  return overlay;
}

TEST_F(MergeMembers, BmpOverlayWithATransparentColourSingleAndTiled) {
  ScratchDir dir;
  WriteAll(dir / "overlay.bmp", EncodedBmp(RedCornered()));
  for (const bool tile : {false, true}) {
    SCOPED_TRACE(tile ? "tiled" : "single");
    object_.ReadVariant(EncodedBmp(Filled(7, 5, kGrey)));
    object_.SetTile(tile);
    object_.SetTransparent(true);
    object_.SetTransparentColor(u"FF0000");
    object_.MergeBack(U16(dir / "overlay.bmp") + u"  ", 2, 1);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 7; ++x) {
        // Overlay coordinates: from (2, 1) once, from (0, 0) repeated.
        const int ox = tile ? x % 3 : x - 2;
        const int oy = tile ? y % 2 : y - 1;
        const bool covered = ox >= 0 && ox < 3 && oy >= 0 && oy < 2;
        const bool see_through = ox == 0 && oy == 0;
        EXPECT_EQ(Pixel(x, y), covered && !see_through ? RGB(0, 0, 255) : kGrey) << x << "," << y;
      }
    }
    EXPECT_EQ(object_.Width(), 7);
    EXPECT_EQ(object_.ColorDepth(), 24);
  }
}

TEST_F(MergeMembers, MergeFrontReplacesTheImageAndItsAlpha) {
  // A 24-bit BMP background, the current image 8 bits with a per-index record
  // that the object's own per-index transparency overrides.
  object_.ReadVariant(Fake('B'));
  ASSERT_TRUE(object_.State().TransparentPalette());
  object_.SetCompressionType(TxCompressionType::ctLZW);
  const std::u16string file_name = object_.Filename();
  object_.MergeFrontBin(EncodedBmp(Filled(10, 8, kGrey)), 3, 2);
  EXPECT_EQ(object_.Width(), 10);
  EXPECT_EQ(object_.Height(), 8);
  EXPECT_EQ(object_.ColorDepth(), 24);
  EXPECT_EQ(object_.CompressionType(), TxCompressionType::ctNone);
  EXPECT_FALSE(object_.WasCMYK());
  EXPECT_EQ(object_.Filename(), file_name);
  EXPECT_EQ(Pixel(2, 2), kGrey);
  // Alpha 9 of 255: Round(200 × 9/255 + 100 × 246/255) = 96 green, 96 × 100 / 100 grey.
  EXPECT_EQ(Pixel(3, 2), RGB(96, 104, 96));
  EXPECT_EQ(Pixel(8, 5), RGB(96, 104, 96));
  EXPECT_EQ(Pixel(9, 5), kGrey);
  // The background's own record: none for a BMP.
  EXPECT_EQ(AlphaKind(), TTransparencyType::ttNone);
  EXPECT_FALSE(object_.State().TransparentPalette());

  // An 8-bit background with a per-index record becomes the image with it.
  object_.ReadVariant(EncodedBmp(Filled(2, 2, kRed)));
  object_.MergeFrontBin(Fake('B'), 0, 0);
  EXPECT_EQ(object_.ColorDepth(), 8);
  EXPECT_EQ(AlphaKind(), TTransparencyType::ttPalette);
  EXPECT_EQ(Pixel(1, 1), kRed);  // the nearest entry
  EXPECT_EQ(Pixel(2, 2), kGreen);

  // A background with an alpha channel is flattened onto the colour its data
  // names first, and leaves no record.
  object_.ReadVariant(EncodedBmp(Filled(2, 2, kRed)));
  object_.MergeFrontBin(Fake('C'), 4, 2);
  EXPECT_EQ(object_.Width(), 6);
  EXPECT_EQ(Pixel(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(Pixel(5, 3), kRed);
  EXPECT_EQ(AlphaKind(), TTransparencyType::ttNone);
}

TEST_F(MergeMembers, TheCurrentImageGoesOntoTheBackgroundThroughItsAlphaChannel) {
  object_.ReadVariant(Fake('A'));  // red, green with alpha 0, 255
  object_.SetTile(true);
  object_.MergeFrontBin(EncodedBmp(Filled(5, 1, kGrey)), 9, 9);
  for (const int x : {0, 2, 4}) EXPECT_EQ(Pixel(x, 0), kGrey) << x;
  for (const int x : {1, 3}) EXPECT_EQ(Pixel(x, 0), kGreen) << x;
  EXPECT_EQ(AlphaKind(), TTransparencyType::ttNone);
}

TEST_F(MergeMembers, AnEmptyOverlayLeavesEveryPixel) {
  for (const bool tile : {true, false}) {
    SCOPED_TRACE(tile ? "tiled" : "single");
    object_.ReadVariant(Fake('T'));
    object_.SetTile(tile);
    const std::vector<uint8_t> before = EncodedBmp(TBitmap(object_.State().Image()));
    object_.MergeBackBin(Fake('E'), 0, 0);
    EXPECT_EQ(EncodedBmp(TBitmap(object_.State().Image())), before);
    // GDI has no empty bitmaps and hands out no handle for one; the native
    // handle table holds one.
    if (const int32_t empty = CreateBitmapHandle(TBitmap())) {
      object_.MergeBackHDC(empty, 0, 0);
      EXPECT_EQ(EncodedBmp(TBitmap(object_.State().Image())), before);
    }
    // As the overlay of MergeFront: the background stays as it is.
    object_.ReadVariant(Fake('E'));
    object_.MergeFrontBin(EncodedBmp(Filled(3, 3, kGreen)), 0, 0);
    EXPECT_EQ(Pixel(2, 2), kGreen);
  }
}

TEST_F(MergeMembers, BitmapHandles) {
  object_.ReadVariant(EncodedBmp(Filled(4, 3, kGrey)));
  object_.SetTranspercent(50);
  const int32_t handle = CreateBitmapHandle(RedCornered());
  object_.MergeBackHDC(handle, 1, 1);
  EXPECT_FALSE(IsBitmapHandle(handle));  // taken over and deleted
  EXPECT_EQ(Pixel(1, 1), RGB(178, 50, 50));
  EXPECT_EQ(Pixel(2, 2), RGB(50, 50, 178));
  EXPECT_EQ(Pixel(0, 0), kGrey);

  object_.SetTranspercent(0);
  object_.MergeFrontHDC(CreateBitmapHandle(PalettedGrey(6, 6)), 0, 0);
  EXPECT_EQ(object_.Width(), 6);
  EXPECT_EQ(object_.ColorDepth(), 8);
  EXPECT_FALSE(object_.ProgressiveJpeg());
  EXPECT_EQ(Pixel(5, 5), kGrey);

  // No handle, a made-up one and a spent one fail before anything changes.
  const std::vector<uint8_t> before = object_.VariantOut(u"bmp");
  for (const int32_t invalid : {0, -1, 0x7FFFFFF3, handle}) {
    SCOPED_TRACE(invalid);
    ExpectRaises<EInvalidGraphic>([&] { object_.MergeBackHDC(invalid, 0, 0); }, u"Invalid bitmap handle.");
    ExpectRaises<EInvalidGraphic>([&] { object_.MergeFrontHDC(invalid, 0, 0); }, u"Invalid bitmap handle.");
    EXPECT_EQ(object_.VariantOut(u"bmp"), before);
  }
  // The BMPHandle property keeps its own rule: an empty image, no failure.
  object_.SetBMPHandle(0);
  EXPECT_EQ(object_.Width(), 0);
}

TEST_F(MergeMembers, LoaderFailuresEndTheMember) {
  ScratchDir dir;
  const std::vector<uint8_t> bmp = EncodedBmp(RedCornered());
  WriteAll(dir / "overlay.jpg", bmp);
  object_.ReadVariant(EncodedBmp(Filled(4, 3, kGrey)));
  object_.SetIgnoreInputFileType(false);
  for (const bool front : {false, true}) {
    SCOPED_TRACE(front ? "MergeFront" : "MergeBack");
    const auto merge = [&](const std::u16string& name) {
      front ? object_.MergeFront(name, 0, 0) : object_.MergeBack(name, 0, 0);
    };
    ExpectRaises<EFOpenError>([&] { merge(U16(dir / "overlay.jpg")); }, u"Invalid file type.");
    ExpectRaises<EFOpenError>([&] { merge(U16(dir / "none.bmp")); }, u"File not found: none.bmp");
    ExpectRaises<EInvalidFormat>([&] { front ? object_.MergeFrontBin({}, 0, 0) : object_.MergeBackBin({}, 0, 0); },
                                 u"Empty input file or stream.");
    EXPECT_EQ(Pixel(0, 0), kGrey);
  }
  // The bytes have no extension to check.
  object_.MergeBackBin(bmp, 0, 0);
  EXPECT_EQ(Pixel(1, 0), RGB(0, 0, 255));
  object_.SetIgnoreInputFileType(true);
  object_.MergeFront(U16(dir / "overlay.jpg"), 0, 0);
  EXPECT_EQ(object_.Width(), 3);
}

}  // namespace
}  // namespace pk
