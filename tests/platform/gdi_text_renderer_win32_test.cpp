// The GDI text renderer of the DLL (runs in the cross-compiled suite under
// Wine). Checks that measuring and
// rendering agree, that ink lands inside the cell, that bold text inks more
// than regular text, and that an over-long face name is accepted.
#include <gtest/gtest.h>

#include "platform/text_renderer.h"

namespace pk {
namespace {

TFontRecord Font(int32_t pixels, int32_t weight = 400) {
  TFontRecord font;
  font.height = -pixels;
  font.weight = weight;
  font.face_name = u"Tahoma";
  return font;
}

int64_t Ink(const TTextMask& mask) {
  int64_t sum = 0;
  for (uint8_t value : mask.coverage) sum += value;
  return sum;
}

TEST(GdiTextRenderer, MaskHasTheMeasuredSizeAndCarriesInk) {
  auto renderer = CreateSystemTextRenderer();
  int32_t width = 0;
  int32_t height = 0;
  renderer->MeasureLine(Font(20), u"Hello", width, height);
  EXPECT_GT(width, 20);
  EXPECT_GE(height, 20);
  TTextMask mask = renderer->RenderLine(Font(20), u"Hello");
  EXPECT_EQ(mask.width, width);
  EXPECT_EQ(mask.height, height);
  ASSERT_EQ(mask.coverage.size(), static_cast<size_t>(width) * static_cast<size_t>(height));
  EXPECT_GT(Ink(mask), 0);
}

TEST(GdiTextRenderer, LongerTextIsWiderAndBoldInksMore) {
  auto renderer = CreateSystemTextRenderer();
  TTextMask short_line = renderer->RenderLine(Font(16), u"ab");
  TTextMask long_line = renderer->RenderLine(Font(16), u"abababab");
  EXPECT_GT(long_line.width, short_line.width);
  EXPECT_GT(Ink(renderer->RenderLine(Font(16, 700), u"WWW")), Ink(renderer->RenderLine(Font(16), u"WWW")));
}

TEST(GdiTextRenderer, EmptyTextAndOverlongFaceName) {
  auto renderer = CreateSystemTextRenderer();
  TTextMask empty = renderer->RenderLine(Font(16), u"");
  EXPECT_TRUE(empty.coverage.empty());
  TFontRecord font = Font(16);
  font.face_name = std::u16string(100, u'X');
  EXPECT_GT(Ink(renderer->RenderLine(font, u"x")), 0);
}

}  // namespace
}  // namespace pk
