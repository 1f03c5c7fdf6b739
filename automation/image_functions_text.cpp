// The text member: a text drawn on the current image in the font, colours
// and layout of the Text* settings, as one block of lines at a point or
// word-wrapped in a rectangle.
#include "automation/image_functions.h"
#include "core/text_drawing.h"
#include "core/text_settings.h"
#include "platform/canvas.h"

namespace pk {

// Both colours get palette entries of their own before anything is drawn, so
// on a paletted image the box and the letters hit them exactly; taking them
// one after the other would hand both the same free entry.
void TImageFunctions::Text(int32_t X, int32_t Y, const std::u16string& TextOut) {
  FlattenAlpha();
  EnsurePaletteColours({settings_.FTextBG, settings_.FTextColour});
  TBitmap image(state_.Image());
  TCanvas& canvas = image.Canvas();
  canvas.Brush.Color = settings_.FTextBG;
  canvas.Brush.Style = settings_.FTextOpaque ? TBrushStyle::bsSolid : TBrushStyle::bsClear;
  canvas.Font.Record = TextFontRecord({settings_.FTextSize, settings_.FTextAngle, settings_.FTextBold,
                                       settings_.FTextItalic, settings_.FTextUnderline, settings_.FTextStrikeout,
                                       settings_.FAntialias, settings_.FTextFont});
  canvas.Font.Color = settings_.FTextColour;
  const TTextJustification justification = TextJustification(static_cast<int32_t>(settings_.FTextJustify));
  // The drawing takes the low byte; it holds values above 100 to 100.
  const double percent = settings_.FTextTransPercent & 0xFF;
  if (settings_.FTextWrap) {
    DrawTextInRect(image, TextOut, TextWrapRect(X, Y, settings_.FTextRectX, settings_.FTextRectY, image.Width()),
                   TextWrapFormat(settings_.FTextRectY, justification), percent);
  } else {
    DrawTextBlockAt(image, TextOut, X, Y, justification, percent);
  }
  state_.Change(std::move(image), [](TAlpha&) {});
}

}  // namespace pk
