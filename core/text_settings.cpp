#include "core/text_settings.h"

#include "platform/numeric.h"
#include "platform/text_renderer.h"

namespace pk {

TFontRecord TextFontRecord(const TTextSettings& settings) {
  TFontRecord font;
  font.height = ClampToInt32(-static_cast<int64_t>(settings.Size));
  font.escapement = ClampToInt32(static_cast<int64_t>(settings.Angle) * 10);
  font.orientation = font.escapement;
  font.weight = settings.Bold ? 700 : 400;
  font.italic = settings.Italic;
  font.underline = settings.Underline;
  font.strike_out = settings.Strikeout;
  font.char_set = 1;
  font.quality = settings.Antialias ? 4 : 0;
  font.face_name = settings.Font.substr(0, kFaceNameLength);
  return font;
}

TTextJustification TextJustification(int32_t justify) {
  if (justify == 1) return TTextJustification::tjCentre;
  if (justify == 2) return TTextJustification::tjRight;
  return TTextJustification::tjLeft;
}

TRect TextWrapRect(int32_t X, int32_t Y, int32_t RectX, int32_t RectY, int32_t ImageWidth) {
  const int64_t right = RectX == 0 ? ImageWidth : static_cast<int64_t>(X) + RectX;
  return {X, Y, ClampToInt32(right), ClampToInt32(static_cast<int64_t>(Y) + RectY)};
}

uint32_t TextWrapFormat(int32_t RectY, TTextJustification justification) {
  uint32_t format = kTextWordBreak;
  if (RectY == 0) format |= kTextNoClip;
  if (justification == TTextJustification::tjCentre) format |= kTextCentre;
  if (justification == TTextJustification::tjRight) format |= kTextRight;
  return format;
}

}  // namespace pk
