// Text blocks and text in rectangles, on whichever renderer the build has
// (FreeType natively, GDI under Wine). The checks are structural, never glyph
// pixels: where ink lands relative to the measured box, which colours appear,
// how a blend mixes. Natively, the measured sizes also meet Pillow's metrics
// of the same font file.
#include "core/text_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/text_settings.h"
#include "platform/text_renderer.h"
#include "tests/support/text_metrics.h"

namespace pk {
namespace {

constexpr TColor kRed = RGB(255, 0, 0);

TBitmap Canvas24(int width, int height, TColor background = clWhite) {
  TBitmap bitmap(width, height, PixelFormat::pf24bit);
  bitmap.Canvas().Brush.Color = background;
  bitmap.Canvas().FillRect({0, 0, width, height});
  return bitmap;
}

// Black text in a 20-pixel Arial, character cells left clear.
void UseFont(TBitmap& bitmap, uint8_t quality = 0, int32_t escapement = 0) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Font.Record = TFontRecord{};
  canvas.Font.Record.height = -20;
  canvas.Font.Record.face_name = u"Arial";
  canvas.Font.Record.quality = quality;
  canvas.Font.Record.escapement = escapement;
  canvas.Font.Record.orientation = escapement;
  canvas.Font.Color = clBlack;
  canvas.Brush.Style = TBrushStyle::bsClear;
}

// The pixels that differ from the background: their count and bounding box
// (right and bottom exclusive).
struct Ink {
  int64_t count = 0;
  int left = std::numeric_limits<int>::max(), top = std::numeric_limits<int>::max();
  int right = std::numeric_limits<int>::min(), bottom = std::numeric_limits<int>::min();
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

Ink InkOf(const TBitmap& bitmap, TColor background, TRect area = {0, 0, 1 << 30, 1 << 30}) {
  Ink ink;
  for (int y = std::max(0, area.Top); y < std::min(bitmap.Height(), area.Bottom); ++y) {
    for (int x = std::max(0, area.Left); x < std::min(bitmap.Width(), area.Right); ++x) {
      if (bitmap.PixelColor(x, y) == background) continue;
      ++ink.count;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x + 1);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  return ink;
}

int32_t LineHeight(TBitmap& bitmap) {
  int32_t width = 0, height = 0;
  MeasureTextBlock(bitmap, u"x", width, height);
  return height;
}

int32_t LineWidth(TBitmap& bitmap, std::u16string_view line) {
  int32_t width = 0, height = 0;
  MeasureTextBlock(bitmap, line, width, height);
  return width;
}

std::vector<std::u16string> Lines(std::u16string_view text) {
  const TWideStringList list = SplitTextBlock(text);
  std::vector<std::u16string> lines;
  for (int32_t i = 0; i < list.Count(); ++i) lines.push_back(list.GetItem(i));
  return lines;
}

TEST(TextBlock, SplitsAtEveryKindOfBreak) {
  const struct {
    std::u16string text;
    std::vector<std::u16string> lines;
  } cases[] = {
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\n\rb", {u"a", u"b"}},
      {u"a\n\nb", {u"a", u"", u"b"}},
      {u"a\r\rb", {u"a", u"", u"b"}},
      {u"a\rb\nc", {u"a", u"b", u"c"}},
      {u"a\n", {u"a"}},
      {u"a\r", {u"a"}},
      {u"\n", {}},
      {u"\n\n", {u"", u""}},
      {u"a", {u"a"}},
      {u"ab", {u"ab"}},
      {u"\r\nab", {u"", u"ab"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.text));
    EXPECT_EQ(Lines(c.text), c.lines);
  }
}

// The count of the last line's characters went negative after a trailing
// two-character break; the line is empty, and counts towards the height.
TEST(TextBlock, TrailingTwoCharacterBreakEndsInAnEmptyLine) {
  EXPECT_EQ(Lines(u"a\r\n"), (std::vector<std::u16string>{u"a", u""}));
  EXPECT_EQ(Lines(u"ab\n\r"), (std::vector<std::u16string>{u"ab", u""}));
  TBitmap bitmap = Canvas24(8, 8);
  UseFont(bitmap);
  int32_t width = 0, height = 0;
  MeasureTextBlock(bitmap, u"a\r\n", width, height);
  EXPECT_EQ(height, 2 * LineHeight(bitmap));
  EXPECT_EQ(width, LineWidth(bitmap, u"a"));
}

TEST(TextBlock, MeasuresWidestLineAndLinesTimesHeightWithoutDrawing) {
  TBitmap bitmap = Canvas24(40, 30);
  UseFont(bitmap);
  const TBitmap before(bitmap);
  const int32_t h = LineHeight(bitmap);
  EXPECT_GT(h, 15);
  int32_t width = -5, height = -5;
  MeasureTextBlock(bitmap, u"iii\r\nWWWWWWWWWWWW\nii", width, height);
  EXPECT_EQ(width, LineWidth(bitmap, u"WWWWWWWWWWWW"));
  EXPECT_GT(width, bitmap.Width());
  EXPECT_EQ(height, 3 * h);
  EXPECT_EQ(InkOf(bitmap, clWhite).count, 0);
  EXPECT_EQ(bitmap.Width(), before.Width());

  // No line: both become 0; an empty text leaves them as they were.
  MeasureTextBlock(bitmap, u"\n", width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  width = 7, height = 9;
  MeasureTextBlock(bitmap, u"", width, height);
  EXPECT_EQ(width, 7);
  EXPECT_EQ(height, 9);
}

#ifndef _WIN32
// The native renderer measures as Pillow measures the font file fontconfig
// resolves for the same face: advance widths and ascent + descent.
TEST(TextBlock, MeasuresAsPillowDoesWithTheSameFontFile) {
  const auto rows = test::ReadTextMetrics();
  PK_REQUIRE_TEXT_METRICS(rows);
  TBitmap bitmap = Canvas24(4, 4);
  int checked = 0;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    const auto& a = rows[i];
    const auto& b = rows[i + 1];
    if (a.face != "DejaVu Sans" || b.face != a.face || b.size != a.size) continue;
    SCOPED_TRACE(a.face + " " + std::to_string(a.size) + ": " + Utf16ToUtf8(a.text) + " / " + Utf16ToUtf8(b.text));
    TFontRecord& font = bitmap.Canvas().Font.Record;
    font.face_name = u"DejaVu Sans";
    font.height = -a.size;
    int32_t width = 0, height = 0;
    MeasureTextBlock(bitmap, a.text + u"\r\n" + b.text, width, height);
    EXPECT_EQ(width, std::max(a.width, b.width));
    EXPECT_EQ(height, 2 * (a.ascent + a.descent));
    ++checked;
  }
  EXPECT_GT(checked, 5);
}
#endif

TEST(TextBlock, JustifiedLinesInkInsideTheirBoxes) {
  const std::u16string narrow = u"iii";
  const std::u16string wide = u"HHHHHHHH";
  using enum TTextJustification;
  for (const auto justification : {tjLeft, tjCentre, tjRight}) {
    SCOPED_TRACE(static_cast<int>(justification));
    TBitmap bitmap = Canvas24(200, 80);
    UseFont(bitmap);
    const int32_t h = LineHeight(bitmap);
    const int32_t w = LineWidth(bitmap, wide);
    const int32_t e = LineWidth(bitmap, narrow);
    const int32_t offset = justification == TTextJustification::tjLeft     ? 0
                           : justification == TTextJustification::tjCentre ? (w - e) / 2
                                                                           : w - e;
    DrawTextBlockAt(bitmap, narrow + u"\n" + wide, 10, 5, justification, 0);
    const Ink first = InkOf(bitmap, clWhite, {0, 5, 200, 5 + h});
    const Ink second = InkOf(bitmap, clWhite, {0, 5 + h, 200, 5 + 2 * h});
    ASSERT_GT(first.count, 0);
    ASSERT_GT(second.count, 0);
    EXPECT_GE(first.left, 10 + offset);
    EXPECT_LE(first.right, 10 + offset + e);
    EXPECT_LE(first.left, 10 + offset + e / 3) << "ink starts near the justified offset";
    EXPECT_GE(second.left, 10);
    EXPECT_LE(second.right, 10 + w);
    EXPECT_EQ(InkOf(bitmap, clWhite, {0, 5 + 2 * h, 200, 80}).count, 0);
  }
}

// An unknown justification keeps the offset of the line before (0 for the
// first line).
TEST(TextBlock, UnknownJustificationKeepsThePreviousOffset) {
  TBitmap bitmap = Canvas24(200, 60);
  UseFont(bitmap);
  const int32_t h = LineHeight(bitmap);
  DrawTextBlockAt(bitmap, u"HHHH\nii", 10, 0, static_cast<TTextJustification>(7), 0);
  EXPECT_LE(InkOf(bitmap, clWhite, {0, h, 200, 2 * h}).left, 10 + LineWidth(bitmap, u"ii") / 3);
}

TEST(TextBlock, OpaqueCellsPaintTheMeasuredBoxInTheBrushColour) {
  TBitmap bitmap = Canvas24(120, 60);
  UseFont(bitmap);
  bitmap.Canvas().Brush.Style = TBrushStyle::bsSolid;
  bitmap.Canvas().Brush.Color = kRed;
  int32_t width = 0, height = 0;
  MeasureTextBlock(bitmap, u"Hi", width, height);
  DrawTextBlockSolid(bitmap, u"Hi", 7, 9, TTextJustification::tjLeft);
  const Ink ink = InkOf(bitmap, clWhite);
  EXPECT_EQ(ink.left, 7);
  EXPECT_EQ(ink.top, 9);
  EXPECT_EQ(ink.Width(), width);
  EXPECT_EQ(ink.Height(), height);
  int64_t red = 0, black = 0;
  for (int y = ink.top; y < ink.bottom; ++y) {
    for (int x = ink.left; x < ink.right; ++x) {
      const TColor c = bitmap.PixelColor(x, y);
      red += c == kRed;
      black += c == clBlack;
    }
  }
  EXPECT_EQ(red + black, static_cast<int64_t>(width) * height) << "quality 0 mixes no colours";
  EXPECT_GT(black, 0);
}

// A quarter turn: the text runs upwards from its origin, each line stacked to
// the right of the one before, so the wide block stands tall.
TEST(TextBlock, QuarterTurnStandsTheBlockUp) {
  TBitmap bitmap = Canvas24(160, 200);
  UseFont(bitmap, 0, 900);
  int32_t width = 0, height = 0;
  MeasureTextBlock(bitmap, u"Wide line\r\nTwo", width, height);
  ASSERT_GT(width, height);
  DrawTextBlockSolid(bitmap, u"Wide line\r\nTwo", 20, 180, TTextJustification::tjLeft);
  const Ink ink = InkOf(bitmap, clWhite);
  EXPECT_GE(ink.left, 19);
  EXPECT_LE(ink.right, 20 + height + 1);
  EXPECT_GE(ink.top, 180 - width - 1);
  EXPECT_LE(ink.bottom, 181);
  EXPECT_GT(ink.Height(), width * 3 / 4);
  EXPECT_GT(ink.right, 20 + height / 2) << "the second line stands right of the first";
  EXPECT_LT(InkOf(bitmap, clWhite, {20 + height / 2, 0, 160, 200}).Height(), ink.Height()) << "the shorter second line";
}

TEST(TextBlock, BlendKeepsThePercentageOfTheImage) {
  TBitmap opaque = Canvas24(100, 40);
  UseFont(opaque);
  TBitmap half(opaque);
  UseFont(half);
  DrawTextBlockAt(opaque, u"Mix", 4, 4, TTextJustification::tjLeft, 0);
  DrawTextBlockAt(half, u"Mix", 4, 4, TTextJustification::tjLeft, 50);
  const Ink ink = InkOf(opaque, clWhite);
  ASSERT_GT(ink.count, 0);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      const TColor expected = opaque.PixelColor(x, y) == clBlack ? RGB(128, 128, 128) : clWhite;
      ASSERT_EQ(half.PixelColor(x, y), expected) << x << "," << y;
    }
  }
}

// The percentage arrives as a byte: above 100 the blend used to leave the
// channel range and wrap; it now counts as 100 (the image stays), and a
// non-finite value as 0 (opaque text).
TEST(TextBlock, PercentagesBeyondTheRangeAreLimited) {
  for (const double percent : {100.0, 101.0, 200.0, 255.0, std::numeric_limits<double>::infinity()}) {
    TBitmap bitmap = Canvas24(100, 40);
    UseFont(bitmap);
    DrawTextBlockAt(bitmap, u"Mix", 4, 4, TTextJustification::tjLeft, percent);
    const bool stays = std::isfinite(percent);
    EXPECT_EQ(InkOf(bitmap, clWhite).count == 0, stays) << percent;
  }
  TBitmap nan = Canvas24(100, 40);
  UseFont(nan);
  DrawTextBlockAt(nan, u"Mix", 4, 4, TTextJustification::tjLeft, std::nan(""));
  EXPECT_GT(InkOf(nan, clWhite).count, 0);
  bool only_black_or_white = true;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) {
      const TColor c = nan.PixelColor(x, y);
      only_black_or_white &= c == clBlack || c == clWhite;
    }
  EXPECT_TRUE(only_black_or_white);
}

TEST(TextBlock, AntialiasingMixesColoursOnTwentyFourBitImagesOnly) {
  const auto colours = [](const TBitmap& bitmap) {
    std::vector<TColor> seen;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) seen.push_back(bitmap.PixelColor(x, y));
    std::sort(seen.begin(), seen.end());
    return static_cast<size_t>(std::unique(seen.begin(), seen.end()) - seen.begin());
  };
  TBitmap sharp = Canvas24(100, 40);
  UseFont(sharp, 0);
  DrawTextBlockSolid(sharp, u"Wave", 2, 2, TTextJustification::tjLeft);
  EXPECT_EQ(colours(sharp), 2u);
  TBitmap smooth = Canvas24(100, 40);
  UseFont(smooth, 4);
  DrawTextBlockSolid(smooth, u"Wave", 2, 2, TTextJustification::tjLeft);
  EXPECT_GT(colours(smooth), 2u);
}

// A paletted image keeps its own table: the text colour becomes its nearest
// entry, the percentage is ignored, and no index past the table appears.
TEST(TextBlock, PalettedImagesTakeTheNearestEntryOpaque) {
  for (const PixelFormat format : {PixelFormat::pf8bit, PixelFormat::pf4bit, PixelFormat::pf1bit}) {
    SCOPED_TRACE(BitsPerPixel(format));
    TBitmap bitmap(90, 40, format);
    const std::vector<TColor> table = format == PixelFormat::pf1bit
                                          ? std::vector<TColor>{clWhite, RGB(200, 0, 0)}
                                          : std::vector<TColor>{clWhite, RGB(0, 0, 255), RGB(200, 0, 0)};
    bitmap.SetColorTable(table);
    UseFont(bitmap, 4);
    bitmap.Canvas().Font.Color = RGB(250, 20, 10);
    DrawTextBlockAt(bitmap, u"Red", 3, 3, TTextJustification::tjLeft, 50);
    int64_t text = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 90; ++x) {
        const int index = bitmap.PixelIndex(x, y);
        ASSERT_TRUE(index == 0 || index == static_cast<int>(table.size()) - 1) << index;
        text += index != 0;
      }
    }
    EXPECT_GT(text, 0);
  }
}

TEST(TextInRect, WordBreakWrapsIntoMoreLinesAndAligns) {
  const std::u16string text = u"one two three four five";
  TBitmap single = Canvas24(300, 120);
  UseFont(single);
  const int32_t h = LineHeight(single);
  DrawTextInRect(single, text, {10, 5, 70, 5}, kTextNoClip, 0);
  const Ink one_line = InkOf(single, clWhite);
  EXPECT_LE(one_line.bottom, 5 + h);
  EXPECT_GT(one_line.right, 70);

  TBitmap wrapped = Canvas24(300, 120);
  UseFont(wrapped);
  DrawTextInRect(wrapped, text, {10, 5, 70, 5}, kTextWordBreak | kTextNoClip, 0);
  const Ink lines = InkOf(wrapped, clWhite);
  EXPECT_GT(lines.bottom, 5 + 2 * h) << "at least three lines";
  EXPECT_LE(lines.right, 70);
  EXPECT_GE(lines.left, 10);

  TBitmap right = Canvas24(300, 120);
  UseFont(right);
  DrawTextInRect(right, text, {10, 5, 290, 5}, kTextWordBreak | kTextNoClip | kTextRight, 0);
  const Ink aligned = InkOf(right, clWhite);
  EXPECT_LE(aligned.right, 290);
  EXPECT_GE(aligned.right, 290 - 6) << "ends at the right edge, but for the last glyph's side bearing";
}

TEST(TextInRect, ClipsToTheRectangleUnlessToldNotTo) {
  TBitmap clipped = Canvas24(120, 60);
  UseFont(clipped);
  DrawTextInRect(clipped, u"Clip me\nand me", {10, 10, 40, 18}, 0, 0);
  const Ink inside = InkOf(clipped, clWhite);
  ASSERT_GT(inside.count, 0);
  EXPECT_GE(inside.left, 10);
  EXPECT_GE(inside.top, 10);
  EXPECT_LE(inside.right, 40);
  EXPECT_LE(inside.bottom, 18);

  TBitmap free = Canvas24(120, 60);
  UseFont(free);
  DrawTextInRect(free, u"Clip me\nand me", {10, 10, 40, 18}, kTextNoClip, 0);
  EXPECT_GT(InkOf(free, clWhite).bottom, 18 + LineHeight(free) / 2);
}

// The text is drawn as given: an ampersand is a character of its own, never
// the mark of an underlined letter, so the formatted drawing and the line
// drawing put the same pixels down.
TEST(TextInRect, AmpersandIsDrawnAsItself) {
  for (const std::u16string text : {u"Smith & Sons", u"&", u"&&S"}) {
    SCOPED_TRACE(Utf16ToUtf8(text));
    TBitmap line = Canvas24(160, 40);
    UseFont(line);
    DrawTextBlockSolid(line, text, 5, 5, TTextJustification::tjLeft);
    TBitmap rect = Canvas24(160, 40);
    UseFont(rect);
    DrawTextInRect(rect, text, {5, 5, 160, 40}, kTextWordBreak, 0);
    ASSERT_GT(InkOf(line, clWhite).count, 0);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 160; ++x) ASSERT_EQ(line.PixelColor(x, y), rect.PixelColor(x, y)) << x << "," << y;
  }
  TBitmap bitmap = Canvas24(4, 4);
  UseFont(bitmap);
  EXPECT_GT(LineWidth(bitmap, u"Smith & Sons"), LineWidth(bitmap, u"Smith  Sons"));
}

TEST(TextInRect, BlendsLikeABlock) {
  TBitmap bitmap = Canvas24(100, 40);
  UseFont(bitmap);
  DrawTextInRect(bitmap, u"Mix", {4, 4, 100, 40}, 0, 50);
  const Ink ink = InkOf(bitmap, clWhite);
  ASSERT_GT(ink.count, 0);
  EXPECT_EQ(InkOf(bitmap, RGB(128, 128, 128), {0, 0, 100, 40}).count, 100 * 40 - ink.count);
}

// Caller values reach the font record through 64-bit arithmetic clamped to
// each field: an extreme angle or size never overflows.
TEST(TextSettings, FontRecordFromTheTextSettings) {
  TTextSettings settings;
  settings.Size = 24;
  settings.Angle = 45;
  settings.Bold = true;
  settings.Antialias = true;
  settings.Font = std::u16string(40, u'F');
  const TFontRecord font = TextFontRecord(settings);
  EXPECT_EQ(font.height, -24);
  EXPECT_EQ(font.escapement, 450);
  EXPECT_EQ(font.orientation, 450);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.quality, 4);
  EXPECT_EQ(font.char_set, 1);
  EXPECT_EQ(font.face_name, std::u16string(31, u'F'));

  const int32_t min = std::numeric_limits<int32_t>::min();
  const int32_t max = std::numeric_limits<int32_t>::max();
  settings.Size = min;
  settings.Angle = max;
  EXPECT_EQ(TextFontRecord(settings).height, max);
  EXPECT_EQ(TextFontRecord(settings).escapement, max);
  settings.Size = max;
  settings.Angle = min;
  EXPECT_EQ(TextFontRecord(settings).height, -max);
  EXPECT_EQ(TextFontRecord(settings).escapement, min);
}

TEST(TextSettings, JustificationRectangleAndFlags) {
  EXPECT_EQ(TextJustification(1), TTextJustification::tjCentre);
  EXPECT_EQ(TextJustification(2), TTextJustification::tjRight);
  EXPECT_EQ(TextJustification(7), TTextJustification::tjLeft);
  const TRect rect = TextWrapRect(10, 20, 100, 0, 640);
  EXPECT_EQ(rect.Right, 110);
  EXPECT_EQ(rect.Bottom, 20);
  EXPECT_EQ(TextWrapRect(10, 20, 0, 5, 640).Right, 640);
  EXPECT_EQ(TextWrapRect(std::numeric_limits<int32_t>::max(), 0, 5, 0, 9).Right, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(TextWrapFormat(0, TTextJustification::tjLeft), kTextWordBreak | kTextNoClip);
  EXPECT_EQ(TextWrapFormat(30, TTextJustification::tjCentre), kTextWordBreak | kTextCentre);
  EXPECT_EQ(TextWrapFormat(30, TTextJustification::tjRight), kTextWordBreak | kTextRight);
}

// Extreme sizes and origins draw what falls inside the image, quickly and
// within memory, and never fault.
TEST(TextBlock, ExtremeSizesAndOriginsStaySafe) {
  TBitmap bitmap = Canvas24(64, 64);
  UseFont(bitmap, 4, 450);
  bitmap.Canvas().Font.Record.height = std::numeric_limits<int32_t>::min() + 1;
  DrawTextBlockAt(bitmap, u"Big\nBigger", 10, 10, TTextJustification::tjCentre, 30);
  UseFont(bitmap);
  const int32_t far = std::numeric_limits<int32_t>::max();
  DrawTextBlockAt(bitmap, u"far\naway", far, far, TTextJustification::tjRight, 0);
  DrawTextBlockAt(bitmap, u"far\naway", -far, -far, TTextJustification::tjRight, 0);
  DrawTextInRect(bitmap, u"far away", {far - 5, far - 5, far, far}, kTextWordBreak | kTextNoClip, 0);
  SUCCEED();
}

}  // namespace
}  // namespace pk
