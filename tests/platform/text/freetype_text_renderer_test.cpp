// The native text renderer against Pillow's FreeType binding on the very font
// files fontconfig resolves: advance widths and line heights must agree for
// every face, size and string of the reference table. Then what the renderer
// adds on its own: face fallback, synthetic styles, coverage levels by
// quality, decorations, and sizes far beyond any image.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "platform/bitmap.h"
#include "platform/text_renderer.h"
#include "tests/support/text_metrics.h"

namespace pk {
namespace {

#ifndef _WIN32

TFontRecord Font(const std::u16string& face, int32_t pixels, int32_t weight = 400) {
  TFontRecord font;
  font.face_name = face;
  font.height = -pixels;
  font.weight = weight;
  return font;
}

int64_t Ink(const TTextMask& mask) {
  int64_t sum = 0;
  for (const uint8_t value : mask.coverage) sum += value;
  return sum;
}

TEST(FreeTypeTextRenderer, MeasuresAsPillowDoes) {
  const auto rows = test::ReadTextMetrics();
  PK_REQUIRE_TEXT_METRICS(rows);
  auto renderer = CreateSystemTextRenderer();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.face + " " + std::to_string(row.size) + " " + Utf16ToUtf8(row.text));
    const bool bold = row.face.ends_with(":bold");
    const std::string family = bold ? row.face.substr(0, row.face.size() - 5) : row.face;
    int32_t width = 0, height = 0;
    renderer->MeasureLine(Font(Utf8ToUtf16(family), row.size, bold ? 700 : 400), row.text, width, height);
    EXPECT_EQ(width, row.width);
    EXPECT_EQ(height, row.ascent + row.descent);
  }
  // The table's Arial is a metric-compatible face the setup installs.
  const auto arial = std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row.face == "Arial"; });
  ASSERT_NE(arial, rows.end());
  EXPECT_NE(arial->file.find("Liberation"), std::string::npos) << arial->file;
}

TEST(FreeTypeTextRenderer, UnknownFacesFallBackToTheDefaultSansFace) {
  auto renderer = CreateSystemTextRenderer();
  int32_t unknown = 0, fallback = 0, height = 0;
  renderer->MeasureLine(Font(u"No Such Face At All", 20), u"Fallback", unknown, height);
  renderer->MeasureLine(Font(u"", 20), u"Fallback", fallback, height);
  EXPECT_GT(unknown, 0);
  EXPECT_EQ(unknown, fallback);
  // Only the first 31 characters of a name count.
  renderer->MeasureLine(Font(u"Arial" + std::u16string(26, u' ') + u"Bogus", 20), u"Fallback", unknown, height);
  int32_t arial = 0;
  renderer->MeasureLine(Font(u"Arial", 20), u"Fallback", arial, height);
  EXPECT_EQ(unknown, arial);
}

TEST(FreeTypeTextRenderer, MaskCoverageFollowsTheQuality) {
  auto renderer = CreateSystemTextRenderer();
  TFontRecord font = Font(u"DejaVu Sans", 24);
  int32_t width = 0, height = 0;
  renderer->MeasureLine(font, u"Soft", width, height);
  const TTextMask sharp = renderer->RenderLine(font, u"Soft");
  EXPECT_EQ(sharp.width, width);
  EXPECT_EQ(sharp.height, height);
  EXPECT_TRUE(std::all_of(sharp.coverage.begin(), sharp.coverage.end(), [](uint8_t v) { return v == 0 || v == 255; }));
  EXPECT_GT(Ink(sharp), 0);
  font.quality = 4;
  const TTextMask smooth = renderer->RenderLine(font, u"Soft");
  EXPECT_TRUE(std::any_of(smooth.coverage.begin(), smooth.coverage.end(), [](uint8_t v) { return v > 0 && v < 255; }));
  EXPECT_TRUE(renderer->RenderLine(font, u"").coverage.empty());
}

// Bold inks more, from the face's bold file or synthesised; an underline or a
// strike-out is a stroke across the whole line.
TEST(FreeTypeTextRenderer, StylesAndDecorationsAddInk) {
  auto renderer = CreateSystemTextRenderer();
  const TFontRecord regular = Font(u"DejaVu Sans", 20);
  const int64_t plain = Ink(renderer->RenderLine(regular, u"Style"));
  TFontRecord bold = regular;
  bold.weight = 700;
  EXPECT_GT(Ink(renderer->RenderLine(bold, u"Style")), plain);
  for (const bool underline : {true, false}) {
    TFontRecord decorated = regular;
    decorated.underline = underline;
    decorated.strike_out = !underline;
    const TTextMask mask = renderer->RenderLine(decorated, u"Style");
    EXPECT_GT(Ink(mask), plain);
    // A stroke runs across the whole line: some row is inked from end to end.
    bool full_row = false;
    for (int y = 0; y < mask.height; ++y) {
      const auto row = mask.coverage.begin() + static_cast<ptrdiff_t>(y) * mask.width;
      full_row |= std::all_of(row, row + mask.width, [](uint8_t v) { return v == 255; });
    }
    EXPECT_TRUE(full_row) << (underline ? "underline" : "strike-out");
  }
}

TEST(FreeTypeTextRenderer, SurrogatesAndHugeSizesAreSafe) {
  auto renderer = CreateSystemTextRenderer();
  int32_t width = 0, height = 0;
  const std::u16string odd = {u'a', char16_t(0xD83D), char16_t(0xDE00), char16_t(0xDC00), u'b'};
  renderer->MeasureLine(Font(u"DejaVu Sans", 16), odd, width, height);
  EXPECT_GT(width, 0);
  TBitmap bitmap(50, 50, PixelFormat::pf24bit);
  TTextPaint paint;
  paint.font = Font(u"DejaVu Sans", std::numeric_limits<int32_t>::max());
  paint.opaque = true;
  renderer->DrawLine(bitmap, paint, -100000, -100000, u"Huge");
  paint.font.height = std::numeric_limits<int32_t>::max();
  renderer->DrawInRect(bitmap, paint, {0, 0, 50, 50}, kTextWordBreak, u"Huge cell");
  SUCCEED();
}

#else

TEST(FreeTypeTextRenderer, OnlyInTheNativeBuild) { GTEST_SKIP() << "the DLL renders through GDI"; }

#endif

}  // namespace
}  // namespace pk
