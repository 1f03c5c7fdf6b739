// What the text member hands the text drawing: the font record built from
// its Text* settings, the justification, and for wrapped text the rectangle
// and the format flags. Caller values are widened to 64 bits before any
// arithmetic and clamped to the field they fill, so no setting can overflow.
#pragma once

#include <cstdint>
#include <string>

#include "core/text_justification.h"
#include "platform/canvas.h"
#include "platform/font_record.h"

namespace pk {

struct TTextSettings {
  int32_t Size = 0;   // character height in pixels
  int32_t Angle = 0;  // degrees, anticlockwise
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikeout = false;
  bool Antialias = false;
  std::u16string Font;
};

// Height -Size, escapement and orientation Angle × 10, weight 700 or 400,
// character set 1, quality 4 or 0, and the face name cut to its field.
TFontRecord TextFontRecord(const TTextSettings& settings);

// 1 centre, 2 right, every other value left.
TTextJustification TextJustification(int32_t justify);

// Left X, top Y, right X + RectX (the image width for a RectX of 0), bottom
// Y + RectY.
TRect TextWrapRect(int32_t X, int32_t Y, int32_t RectX, int32_t RectY, int32_t ImageWidth);
// Word break; no clipping for a RectY of 0; centre or right by justification.
uint32_t TextWrapFormat(int32_t RectY, TTextJustification justification);

}  // namespace pk
