// The automation object's file road: ReadFile (trimming, missing files and
// directories, the extension check, the types it refuses), WriteFile (short
// names, the overwrite modes and their rename numbering, the writer choice),
// and the faults the road guards against: a failing encoder never destroys the
// file it was to replace, a load never inherits the previous image's
// transparency, an image with no rows is no image, an unknown overwrite mode
// is refused.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "automation/automation_errors.h"
#include "automation/image_functions.h"
#include "automation/image_state.h"
#include "core/bmp_image.h"
#include "core/image_codec.h"
#include "formats/bmp/bmp_codec.h"
#include "formats/image_codecs.h"
#include "platform/exceptions.h"
#include "platform/stream.h"
#include "tests/formats/bmp/bmp_builder.h"
#include "tests/support/bmp_samples.h"
#include "tests/support/expect_raises.h"
#include "tests/support/oracles.h"
#include "tests/support/peak_memory.h"
#include "tests/support/stand_in_codecs.h"
#include "tests/support/test_files.h"

namespace pk {
namespace {

namespace fs = std::filesystem;
using test::ExpectRaises;
using test::GradientBmp;
using test::ReadAll;
using test::ScratchDir;
using test::U16;
using test::WriteAll;

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class FileRoad : public ::testing::Test {
 protected:
  fs::path Put(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = dir_ / name;
    WriteAll(path, bytes);
    return path;
  }
  ScratchDir dir_;
  TImageFunctions object_;
};

TEST_F(FileRoad, LoadsBmpFilesOfAnIndependentWriterWithSizeDepthAndResolution) {
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  struct Case {
    std::string name;
    int depth, xdpi, ydpi;
  };
  for (const Case& c : {Case{"rgb24.bmp", 24, 96, 300}, Case{"pal8.bmp", 8, 72, 72}, Case{"mono1.bmp", 1, 96, 96}}) {
    const fs::path path = test::GeneratedFile("automation/" + c.name);
    object_.ReadFile(U16(path));
    EXPECT_EQ(object_.Width(), 7) << c.name;
    EXPECT_EQ(object_.Height(), 5) << c.name;
    EXPECT_EQ(object_.ColorDepth(), c.depth) << c.name;
    EXPECT_EQ(object_.XDPI(), c.xdpi) << c.name;
    EXPECT_EQ(object_.YDPI(), c.ydpi) << c.name;
    EXPECT_EQ(object_.FileSize(), static_cast<int32_t>(fs::file_size(path))) << c.name;
    EXPECT_EQ(object_.OriginalImageType(), u"bmp");
  }
  object_.ReadFile(U16(test::GeneratedFile("automation/rgb24.bmp")));
  std::ifstream pixels(test::GeneratedFile("automation/rgb24.txt"));
  int x, y, r, g, b, count = 0;
  while (pixels >> x >> y >> r >> g >> b) {
    ASSERT_EQ(object_.State().Image().PixelColor(x, y), RGB(r, g, b)) << x << "," << y;
    ++count;
  }
  EXPECT_EQ(count, 35);
}

TEST_F(FileRoad, ReadFileTrimsTheNameAndReportsMissingFilesByTheirFilePart) {
  const fs::path path = Put("pic.bmp", GradientBmp(3, 2, PixelFormat::pf24bit));
  object_.ReadFile(u" \t" + U16(path) + u"  \r\n");
  EXPECT_EQ(object_.Width(), 3);
  EXPECT_EQ(object_.Filename(), u"");  // ReadFile leaves the written name alone

  fs::create_directory(dir_ / "folder.bmp");
  ExpectRaises<EPixmarlError>([&] { object_.ReadFile(U16(dir_ / "folder.bmp")); }, u"File not found: folder.bmp");
  ExpectRaises<EPixmarlError>([&] { object_.ReadFile(U16(dir_ / "missing 100%.bmp")); },
                              u"File not found: missing 100%.bmp");
  EXPECT_EQ(object_.Width(), 3);  // nothing was loaded, nothing was lost
}

TEST_F(FileRoad, ExtensionIsCheckedAgainstTheDataOnlyWhileIgnoreInputFileTypeIsFalse) {
  struct Case {
    std::string name;
    bool ignore;
    bool loads;
  };
  const Case cases[] = {
      {"a.bmp", false, true}, {"b.BMP", false, true}, {"c.jpg", true, true}, {"d.jpg", false, false},
      {"e", false, false},    {"f", true, true},      {"g.bmp.png", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> bytes = GradientBmp(4, 3, PixelFormat::pf8bit);
    const fs::path path = Put(c.name, bytes);
    TImageFunctions object;
    object.ReadFile(U16(Put("previous.bmp", GradientBmp(9, 9, PixelFormat::pf24bit))));
    object.SetIgnoreInputFileType(c.ignore);
    if (c.loads) {
      object.ReadFile(U16(path));
      EXPECT_EQ(object.Width(), 4);
      EXPECT_EQ(object.ColorDepth(), 8);
    } else {
      ExpectRaises<EPixmarlError>([&] { object.ReadFile(U16(path)); }, u"Invalid file type.");
      // The failed load has already replaced the image and described the data.
      EXPECT_EQ(object.Width(), 0);
      EXPECT_EQ(object.FileSize(), static_cast<int32_t>(bytes.size()));
      EXPECT_EQ(object.OriginalImageType(), u"bmp");
    }
  }
}

TEST_F(FileRoad, TypesThisRoadDoesNotReadAreInvalidWhateverTheCheckSays) {
  struct Case {
    std::string name;
    uint8_t first_byte;
    std::u16string original_type;
  };
  // The first byte decides the type; the rest does not matter to the refusal.
  const Case cases[] = {
      {"x.pcx", 0x0A, u""},  {"x.wbmp", 0x00, u""}, {"x.psd", '8', u""},    {"x.pdf", '%', u""},
      {"x.dat", 0x42 + 1, u""}, {"x.gif", 'G', u"gif"}, {"x.png", 0x89, u"png"},
      {"x.tif", 'I', u""},
  };
  for (const Case& c : cases) {
    for (bool ignore : {true, false}) {
      SCOPED_TRACE(c.name + (ignore ? " ignoring" : " checking"));
      const fs::path path = Put(c.name, {c.first_byte, 1, 2, 3, 4, 5, 6, 7});
      TImageFunctions object;
      object.SetIgnoreInputFileType(ignore);
      ExpectRaises<EPixmarlError>([&] { object.ReadFile(U16(path)); }, u"Invalid file type.");
      EXPECT_EQ(object.OriginalImageType(), c.original_type);
    }
  }
  if (!test::RequireOracles({test::Oracle::kGeneratedFixtures})) return;
  for (const char* name : {"rgb.pcx", "rgb.png", "pal.gif"}) {
    ExpectRaises<EPixmarlError>([&] { object_.ReadFile(U16(test::GeneratedFile(std::string("automation/") + name))); },
                                u"Invalid file type.");
  }
}

TEST_F(FileRoad, EmptyInputIsRefusedBeforeAnythingChanges) {
  object_.ReadFile(U16(Put("a.bmp", GradientBmp(5, 4, PixelFormat::pf24bit))));
  ExpectRaises<EInvalidFormat>([&] { object_.ReadFile(U16(Put("empty.bmp", {}))); }, u"Empty input file or stream.");
  ExpectRaises<EInvalidFormat>([&] { object_.ReadVariant({}); }, u"Empty input file or stream.");
  EXPECT_EQ(object_.Width(), 5);
  EXPECT_GT(object_.FileSize(), 0);
}

TEST_F(FileRoad, TinyFilesDeclaringHugePicturesAreRefusedAtOnce) {
  object_.ReadVariant(GradientBmp(4, 4, PixelFormat::pf8bit));
  for (const test::HugeClaim& c : test::HugeClaims()) {
    SCOPED_TRACE(c.name);
    const auto start = std::chrono::steady_clock::now();
    ExpectRaises<EOutOfResources>([&] { object_.ReadFile(U16(Put("huge.bmp", c.bytes))); }, c.message);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(object_.Width(), 0);
    EXPECT_EQ(object_.FileSize(), static_cast<int32_t>(c.size));
  }
}

TEST_F(FileRoad, ReadVariantNeverChecksAnExtension) {
  object_.SetIgnoreInputFileType(false);
  object_.ReadVariant(GradientBmp(6, 2, PixelFormat::pf4bit));
  EXPECT_EQ(object_.Width(), 6);
  EXPECT_EQ(object_.ColorDepth(), 4);
  EXPECT_FALSE(object_.IgnoreInputFileType());
}

TEST_F(FileRoad, EveryLoadLeavesColorDepthInStepWithThePixelFormat) {
  struct Case {
    PixelFormat format;
    int depth;
  };
  for (const Case& c : {Case{PixelFormat::pf1bit, 1}, Case{PixelFormat::pf4bit, 4}, Case{PixelFormat::pf8bit, 8},
                        Case{PixelFormat::pf16bit, 24}, Case{PixelFormat::pf24bit, 24},
                        Case{PixelFormat::pf32bit, 24}}) {
    object_.ReadVariant(GradientBmp(3, 3, c.format));
    const TBitmap& image = object_.State().Image();
    EXPECT_EQ(object_.ColorDepth(), c.depth) << BitsPerPixel(c.format);
    EXPECT_EQ(image.BitCount(), c.depth) << BitsPerPixel(c.format);
    if (c.depth == 24) {
      EXPECT_FALSE(image.HasPalette()) << BitsPerPixel(c.format);
    }
  }
}

TEST_F(FileRoad, WrittenBmpCarriesPixelsAndResolutionBack) {
  const std::vector<uint8_t> original = GradientBmp(5, 3, PixelFormat::pf24bit);
  object_.ReadVariant(original);
  object_.SetXDPI(150);
  object_.SetYDPI(96);
  const fs::path out = dir_ / "out.bmp";
  object_.WriteFile(U16(out));
  EXPECT_EQ(object_.Filename(), U16(out));

  TImageFunctions reread;
  reread.ReadFile(U16(out));
  EXPECT_EQ(reread.XDPI(), 150);
  EXPECT_EQ(reread.YDPI(), 96);
  ASSERT_EQ(reread.Width(), 5);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(reread.State().Image().PixelColor(x, y), object_.State().Image().PixelColor(x, y));
    }
  }
  // Pillow reads the same size and resolution.
  if (!test::RequireOracles({test::Oracle::kPillow})) return;
#ifndef _WIN32
  const std::string command = "/usr/bin/python3 -c \"from PIL import Image; i = Image.open('" + out.string() +
                              "'); print(i.size, [round(v) for v in i.info['dpi']])\"";
  FILE* pipe = popen(command.c_str(), "r");
  char line[128] = {};
  ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
  pclose(pipe);
  EXPECT_EQ(std::string(line), "(5, 3) [150, 96]\n");
#endif
}

#ifndef _WIN32
// A photograph-sized BMP is read straight into the picture's rows and written
// straight from them: loading and writing it costs the picture's memory and
// a little more (a sanitizer's bookkeeping included), far from the two
// pictures' worth that a copy of the whole file besides would cost.
TEST_F(FileRoad, ABmpIsLoadedAndWrittenHoldingOnlyThePicture) {
  TBitmap picture(3000, 2000, PixelFormat::pf24bit);
  // Every row starts at another place of one pattern, so a row written in the
  // wrong place shows (copied whole, which keeps the sanitizer build quick).
  std::vector<uint8_t> pattern(picture.RowBytes() + 251);
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<uint8_t>(i * 7);
  for (int y = 0; y < picture.Height(); ++y) std::memcpy(picture.ScanLine(y), pattern.data() + y % 251, picture.RowBytes());
  const fs::path source = dir_ / "large.bmp";
  picture.SaveToFile(U16(source));
  const int64_t image_bytes = picture.RowBytes() * picture.Height();
  const fs::path copy = dir_ / "copy.bmp";
  const int64_t grown = test::ChildPeakGrowthBytes([&] {
    object_.ReadFile(U16(source));
    object_.WriteFile(U16(copy));
  });
  EXPECT_GE(grown, 0);
  EXPECT_LE(grown, image_bytes * 3 / 2);
  EXPECT_EQ(ReadAll(copy), ReadAll(source));
}
#endif

TEST_F(FileRoad, NamesOfFiveCharactersOrFewerAreIgnored) {
  object_.ReadVariant(GradientBmp(2, 2, PixelFormat::pf24bit));
  const fs::path previous = dir_ / "first.bmp";
  object_.WriteFile(U16(previous));
  const fs::path cwd = fs::current_path();
  fs::current_path(dir_.Path());
  for (const std::u16string name : {u"a.png", u"a.bmp", u"12345", u"", u"x.gif"}) {
    object_.WriteFile(name);
  }
  fs::current_path(cwd);
  EXPECT_EQ(FolderNames(dir_.Path()), std::vector<std::string>{"first.bmp"});
  EXPECT_EQ(object_.Filename(), U16(previous));
}

class OverwriteModes : public FileRoad {
 protected:
  void SetUp() override {
    object_.ReadVariant(GradientBmp(3, 3, PixelFormat::pf24bit));
    old_bytes_ = {'o', 'l', 'd'};
  }
  std::vector<uint8_t> old_bytes_;
};

TEST_F(OverwriteModes, AlwaysReplacesTheExistingFile) {
  const fs::path target = Put("pic.bmp", old_bytes_);
  object_.WriteFile(U16(target));
  EXPECT_EQ(ReadAll(target), GradientBmp(3, 3, PixelFormat::pf24bit));
  EXPECT_EQ(object_.Filename(), U16(target));
  EXPECT_EQ(FolderNames(dir_.Path()), std::vector<std::string>{"pic.bmp"});
}

TEST_F(OverwriteModes, NeverWritesNothingAndKeepsFilename) {
  const fs::path target = Put("pic.bmp", old_bytes_);
  object_.SetOverwriteMode(TxowMode::owNever);
  object_.WriteFile(U16(target));
  EXPECT_EQ(ReadAll(target), old_bytes_);
  EXPECT_EQ(object_.Filename(), u"");
  // A name that does not exist yet is written in every mode.
  object_.WriteFile(U16(dir_ / "new.bmp"));
  EXPECT_TRUE(fs::exists(dir_ / "new.bmp"));
}

TEST_F(OverwriteModes, RenameNumbersPastExistingCandidates) {
  Put("Pic.BMP", old_bytes_);
  Put("Pic~1.bmp", old_bytes_);
  object_.SetOverwriteMode(TxowMode::owRename);
  object_.WriteFile(U16(dir_ / "Pic.BMP"));
  EXPECT_EQ(object_.Filename(), U16(dir_ / "Pic~2.bmp"));
  EXPECT_EQ(ReadAll(dir_ / "Pic~2.bmp"), GradientBmp(3, 3, PixelFormat::pf24bit));
  EXPECT_EQ(ReadAll(dir_ / "Pic.BMP"), old_bytes_);

  object_.SetOverwriteChr(u"_v");
  object_.WriteFile(U16(dir_ / "Pic.BMP"));
  EXPECT_EQ(object_.Filename(), U16(dir_ / "Pic_v1.bmp"));
}

TEST_F(OverwriteModes, RenameChoosesTheNameBeforeTheWriterIsKnownToBeMissing) {
  // GIF output is not wired yet: the target is chosen and kept as Filename,
  // the write fails cleanly and leaves no file.
  Put("Pic.GIF", old_bytes_);
  Put("Pic~1.gif", old_bytes_);
  object_.SetOverwriteMode(TxowMode::owRename);
  ExpectRaises<EPixmarlError>([&] { object_.WriteFile(U16(dir_ / "Pic.GIF")); },
                              u"Writing this file type is not available yet: .gif");
  EXPECT_EQ(object_.Filename(), U16(dir_ / "Pic~2.gif"));
  EXPECT_EQ(FolderNames(dir_.Path()), (std::vector<std::string>{"Pic.GIF", "Pic~1.gif"}));
}

TEST_F(OverwriteModes, UnknownModeWithAnExistingTargetIsRefused) {
  const fs::path target = Put("pic.bmp", old_bytes_);
  object_.SetOverwriteMode(static_cast<TxowMode>(3));
  ExpectRaises<EPixmarlError>([&] { object_.WriteFile(U16(target)); }, u"Invalid overwrite mode.");
  EXPECT_EQ(ReadAll(target), old_bytes_);
  EXPECT_EQ(object_.Filename(), u"");
  object_.WriteFile(U16(dir_ / "fresh.bmp"));  // no existing target: nothing to decide
  EXPECT_EQ(object_.Filename(), U16(dir_ / "fresh.bmp"));
}

// BMP encoders that fail: one into memory, one into the file after writing
// part of it.
std::vector<uint8_t> FailingEncoder(const TBitmap&, const TEncodeOptions&) { throw EWriteError(u"encoder failed"); }
void FailingWriter(const TBitmap& image, const TEncodeOptions& options, TStream& stream) {
  stream.WriteBytes(EncodeBmp(image, options));
  throw EWriteError(u"encoder failed");
}

TEST_F(OverwriteModes, FailingEncoderLeavesTheOldFileIntactAndNoPartialFile) {
  const std::vector<uint8_t> old_file = GradientBmp(8, 8, PixelFormat::pf8bit);
  const fs::path target = Put("keep.bmp", old_file);
  std::vector<TImageCodec> codecs(ImageCodecs().begin(), ImageCodecs().end());
  for (const bool streaming : {false, true}) {
    for (TImageCodec& codec : codecs) {
      if (codec.format != TGraphicsFormat::gfBMP) continue;
      codec.encode = FailingEncoder;
      codec.write = streaming ? FailingWriter : nullptr;
    }
    object_.SetCodecs(codecs);
    ExpectRaises<EWriteError>([&] { object_.WriteFile(U16(target)); }, u"encoder failed");
    EXPECT_EQ(ReadAll(target), old_file) << streaming;
    EXPECT_EQ(FolderNames(dir_.Path()), std::vector<std::string>{"keep.bmp"}) << streaming;
    EXPECT_EQ(object_.Filename(), U16(target));  // chosen before encoding, and kept
  }

  // A writer that is not available fails the same clean way.
  const fs::path gif = Put("keep.gif", old_file);
  ExpectRaises<EPixmarlError>([&] { object_.WriteFile(U16(gif)); },
                              u"Writing this file type is not available yet: .gif");
  EXPECT_EQ(ReadAll(gif), old_file);
}

// A decoder standing in for a PNG with per-index transparency and a 5 × 0
// image, so the tests can put state into the object that a BMP never sets.
TDecodedImage TransparentPaletteDecoder(std::span<const uint8_t>, const TDecodeOptions&) {
  TTransparentArray array;
  array.fill(255);
  array[3] = 0;
  array[4] = 128;
  TDecodedImage image;
  image.alpha = std::make_unique<TAlpha>();
  image.alpha->SetTransparentArray(array);
  image.alpha->SetTransparencyType(TTransparencyType::ttPalette);
  image.bitmap.SetPixelFormat(PixelFormat::pf8bit);
  image.bitmap.SetSize(5, 0);
  return image;
}

class WithStandInReader : public FileRoad {
 protected:
  void SetUp() override {
    codecs_ = test::CodecsWithPngStandIn(TransparentPaletteDecoder);
    object_.SetCodecs(codecs_);
    object_.ReadVariant(std::vector<uint8_t>{0x89, 'P', 'N', 'G'});
    ASSERT_TRUE(object_.State().TransparentPalette());
    ASSERT_EQ(object_.State().TransparentArray()[4], 128);
  }
  std::vector<TImageCodec> codecs_;
};

TEST_F(WithStandInReader, EveryLoadForgetsThePreviousImagesTransparency) {
  object_.ReadVariant(GradientBmp(2, 2, PixelFormat::pf8bit));
  const TImageState& state = object_.State();
  EXPECT_EQ(state.Alpha().TransparencyType(), TTransparencyType::ttNone);
  EXPECT_EQ(state.Alpha().TransparentArray()[3], 255);
  EXPECT_FALSE(state.TransparentPalette());
  for (uint8_t alpha : state.TransparentArray()) ASSERT_EQ(alpha, 255);
}

TEST_F(WithStandInReader, AFailedLoadForgetsItToo) {
  EXPECT_THROW(object_.ReadVariant(std::vector<uint8_t>{0x0A, 0}), EPixmarlError);
  EXPECT_FALSE(object_.State().TransparentPalette());
  EXPECT_EQ(object_.State().Alpha().TransparencyType(), TTransparencyType::ttNone);
}

TEST_F(WithStandInReader, AnImageWithoutRowsIsNoImageToWrite) {
  EXPECT_EQ(object_.Width(), 5);
  EXPECT_EQ(object_.Height(), 0);
  ExpectRaises<EInvalidGraphic>([&] { object_.WriteFile(U16(dir_ / "none.bmp")); },
                                u"No image loaded in the component.");
  TImageFunctions fresh;
  ExpectRaises<EInvalidGraphic>([&] { fresh.WriteFile(U16(dir_ / "none.bmp")); },
                                u"No image loaded in the component.");
  EXPECT_TRUE(FolderNames(dir_.Path()).empty());
}

TEST_F(FileRoad, ResolutionFieldsAreSignedLongsAndAnUnchangedFileKeepsItsHeader) {
  const uint32_t minus_3780 = static_cast<uint32_t>(-3780);
  for (PixelFormat format : {PixelFormat::pf24bit, PixelFormat::pf8bit}) {
    SCOPED_TRACE(BitsPerPixel(format));
    const std::vector<uint8_t> original = GradientBmp(3, 2, format, minus_3780, minus_3780);
    object_.ReadFile(U16(Put("negative.bmp", original)));
    EXPECT_EQ(object_.XDPI(), -96);
    EXPECT_EQ(object_.YDPI(), -96);
    object_.WriteFile(U16(dir_ / "again.bmp"));
    EXPECT_EQ(ReadAll(dir_ / "again.bmp"), original);
  }
}

TEST_F(FileRoad, ResolutionFieldsAtTheEndsOfTheLongRangeConvertWithoutWrapping) {
  object_.ReadVariant(GradientBmp(2, 2, PixelFormat::pf24bit, 0xFFFFFFFFu, 0x80000000u));
  EXPECT_EQ(object_.XDPI(), 0);          // -1 pixel per metre
  EXPECT_EQ(object_.YDPI(), -54546085);  // the smallest long
  object_.SetXDPI(std::numeric_limits<int32_t>::max());
  object_.WriteFile(U16(dir_ / "big.bmp"));
  TBMPImage written;
  TMemoryStream data(ReadAll(dir_ / "big.bmp"));
  written.LoadFromStream(data);
  EXPECT_EQ(written.XPelsPerMeter(), 0x7FFFFFFFu);  // clamped, not wrapped
}

}  // namespace
}  // namespace pk
