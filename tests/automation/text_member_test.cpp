// The text member on 24- and 8-bit images: each justification puts each
// line's box where the block's layout says and changes no pixel outside the
// boxes, the two colours get palette entries of their own, the transparency
// percentage's low byte blends, wrapped text stays within its width and is
// not clipped below, and an overlong font name is cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "automation/image_functions.h"
#include "core/text_drawing.h"
#include "core/text_settings.h"
#include "platform/stream.h"

namespace pk {
namespace {

constexpr TColor kGreyBackground = RGB(100, 100, 100);
constexpr TColor kYellow = RGB(255, 255, 0);
constexpr TColor kBlue = RGB(0, 0, 255);

// A 24-bit grey image, or an 8-bit one of entry 0 (grey) whose other entries
// are red, green and black: neither text colour is in its palette.
std::vector<uint8_t> GreyBmp(int width, int height, bool paletted) {
  TBitmap b(width, height, paletted ? PixelFormat::pf8bit : PixelFormat::pf24bit);
  if (paletted) {
    std::vector<TColor> table(256, RGB(0, 0, 0));
    table[0] = kGreyBackground;
    table[1] = RGB(200, 0, 0);
    table[2] = RGB(0, 200, 0);
    b.SetColorTable(table);
  } else {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) b.SetPixelColor(x, y, kGreyBackground);
  }
  TMemoryStream out;
  b.SaveToStream(out);
  return std::vector<uint8_t>(out.Bytes().begin(), out.Bytes().end());
}

// The cell of a line in the object's default font (16 pixels, the default face).
TRect LineCell(std::u16string_view line, int x, int y) {
  TBitmap scratch(1, 1, PixelFormat::pf24bit);
  TTextSettings settings;
  settings.Size = 16;
  scratch.Canvas().Font.Record = TextFontRecord(settings);
  int32_t width = 0;
  int32_t height = 0;
  MeasureTextBlock(scratch, line, width, height);
  return {x, y, x + width, y + height};
}

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

TEST(TextMember, EachJustificationPutsTheLineBoxesWhereTheLayoutSays) {
  const std::u16string short_line = u"Ab";
  const std::u16string long_line = u"Abcdefgh";
  const TRect wide = LineCell(long_line, 10, 0);
  const int32_t narrow = LineCell(short_line, 0, 0).Width();
  const int32_t spare = wide.Width() - narrow;
  ASSERT_GT(spare, 20);
  for (const bool paletted : {false, true}) {
    for (const int32_t justify : {0, 1, 2, 7}) {
      SCOPED_TRACE(testing::Message() << (paletted ? "8-bit" : "24-bit") << ", TextJustify " << justify);
      TImageFunctions object;
      object.ReadVariant(GreyBmp(140, 60, paletted));
      object.SetTextBG(u"FFFF00");
      object.SetTextColor(u"0000FF");
      object.SetTextJustify(static_cast<TxJustifyType>(justify));
      object.Text(10, 8, short_line + u"\r\n" + long_line);

      const int32_t offset = justify == 1 ? spare / 2 : justify == 2 ? spare : 0;
      const TRect first = LineCell(short_line, 10 + offset, 8);
      const TRect second = LineCell(long_line, 10, first.Bottom);
      const TBitmap& image = object.State().Image();
      int blue_in_first = 0;
      int blue_in_second = 0;
      for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
          const TColor pixel = image.PixelColor(x, y);
          if (!Inside(first, x, y) && !Inside(second, x, y)) {
            ASSERT_EQ(pixel, kGreyBackground) << x << "," << y;
            continue;
          }
          // Unblended text: the box colour or the text colour, exactly.
          ASSERT_TRUE(pixel == kYellow || pixel == kBlue) << x << "," << y << ": " << std::hex << pixel;
          (Inside(first, x, y) ? blue_in_first : blue_in_second) += pixel == kBlue;
        }
      }
      EXPECT_GT(blue_in_first, 20);
      EXPECT_GT(blue_in_second, 60);
      EXPECT_EQ(image.PixelColor(first.Left, first.Top), kYellow);
      EXPECT_EQ(image.PixelColor(first.Right - 1, first.Bottom - 1), kYellow);
      EXPECT_EQ(object.ColorDepth(), paletted ? 8 : 24);
    }
  }
}

TEST(TextMember, ClearBrushTranspercentAndWrapping) {
  TImageFunctions object;
  const auto changed = [&object](TColor colour_of_all) {
    int count = 0;
    TRect bounds{1 << 30, 1 << 30, -1, -1};
    const TBitmap& image = object.State().Image();
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const TColor pixel = image.PixelColor(x, y);
        if (pixel == kGreyBackground) continue;
        EXPECT_EQ(pixel, colour_of_all) << x << "," << y;
        ++count;
        bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                  std::max(bounds.Bottom, y + 1)};
      }
    return std::make_pair(count, bounds);
  };
  // Without an image there is nothing to draw on, and nothing fails.
  object.Text(5, 5, u"W");
  EXPECT_EQ(object.Width(), 0);

  object.SetTextColor(u"0000FF");
  object.SetTextBG(u"FFFF00");

  // Without the opaque box only the letters change.
  object.ReadVariant(GreyBmp(60, 30, false));
  object.SetTextOpaque(false);
  object.Text(5, 5, u"W");
  const TRect cell = LineCell(u"W", 5, 5);
  const auto [letters, letter_bounds] = changed(kBlue);
  EXPECT_GT(letters, 20);
  EXPECT_LT(letters, cell.Width() * cell.Height());

  // The low byte of TextTranspercent: 50 blends the box half, 356 (100) keeps the image.
  object.SetTextOpaque(true);
  object.ReadVariant(GreyBmp(60, 30, false));
  object.SetTextTranspercent(356);
  object.Text(5, 5, u"W");
  EXPECT_EQ(changed(kYellow).first, 0);
  object.SetTextTranspercent(50);
  object.Text(5, 5, u"W");
  EXPECT_EQ(object.State().Image().PixelColor(cell.Left, cell.Top), RGB(178, 178, 50));

  // Wrapped at 100 pixels; with TextRectY 0 the lines run on below it.
  object.SetTextTranspercent(0);
  object.SetTextOpaque(false);
  object.ReadVariant(GreyBmp(300, 120, false));
  object.SetTextWrap(true);
  object.SetTextRectX(100);
  object.SetTextRectY(0);
  object.Text(20, 10, u"wrap these words at one hundred pixels");
  const auto [inked, bounds] = changed(kBlue);
  EXPECT_GT(inked, 0);
  EXPECT_GE(bounds.Left, 20);
  EXPECT_LE(bounds.Right, 120);
  EXPECT_GT(bounds.Bottom, 10 + 2 * cell.Height());
}

// A face name longer than the font record's field is cut to 31 UTF-16 units,
// here through the middle of a surrogate pair, and draws as the cut name does.
TEST(TextMember, AnOverlongFontNameIsCut) {
  const std::u16string cut = std::u16string(30, u'x') + u"\xD83D";
  const auto draw = [](const std::u16string& font, const std::u16string& text) {
    TImageFunctions object;
    object.ReadVariant(GreyBmp(60, 30, false));
    object.SetTextFont(font);
    object.Text(2, 2, text);
    return object.VariantOut(u"bmp");
  };
  const std::vector<uint8_t> drawn = draw(cut + u"\xDE00 and more of a long name", u"Ag");
  EXPECT_EQ(drawn, draw(cut, u"Ag"));
  EXPECT_NE(drawn, draw(cut, u""));
}

}  // namespace
}  // namespace pk
