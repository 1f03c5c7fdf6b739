// Text rasterising as the text members need it: a font described by the
// fields of a GDI logical font, its line height and the extent of a line, a
// line drawn onto a bitmap at an origin and along an angle, a text laid out in
// a rectangle, and a line turned into an 8-bit coverage mask.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/color.h"
#include "platform/font_record.h"

namespace pk {

class TBitmap;

// How a line or a formatted text is painted: the font, the text colour, and
// the character cells either filled with the brush colour (opaque) or left as
// they are. A paletted target takes the nearest entry of its colour table;
// only a 24-bit target is antialiased, and only when the font asks for it.
struct TTextPaint {
  TFontRecord font;
  TColor color = clBlack;
  TColor brush_color = clWhite;
  bool opaque = false;
};

// Format flags of DrawInRect; other bits are ignored. The text is always
// drawn as given: an "&" is an ampersand, never a prefix mark.
inline constexpr uint32_t kTextCentre = 1;
inline constexpr uint32_t kTextRight = 2;
inline constexpr uint32_t kTextWordBreak = 16;
inline constexpr uint32_t kTextNoClip = 256;

// Coverage of one rendered line: 0 background, 255 fully inked; rows top
// first, width bytes a row. The origin is the top-left of the text's cell.
struct TTextMask {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;
};

class ITextRenderer {
 public:
  virtual ~ITextRenderer() = default;
  // Width and height of the line's cell without rendering it.
  virtual void MeasureLine(const TFontRecord& font, std::u16string_view text, int32_t& width,
                           int32_t& height) = 0;
  virtual TTextMask RenderLine(const TFontRecord& font, std::u16string_view text) = 0;
  // Draws the line with the top-left of its first cell at (x, y), the line
  // running along the font's escapement; nothing outside the bitmap changes.
  virtual void DrawLine(TBitmap& bitmap, const TTextPaint& paint, int32_t x, int32_t y,
                        std::u16string_view text) = 0;
  // Lays the text out in the rectangle, top first: lines break at CR, LF and
  // CR LF, and with kTextWordBreak also between words where a line would pass
  // the right edge (a word wider than the rectangle keeps its line). Lines
  // align left, centred or right; without kTextNoClip nothing outside the
  // rectangle changes. The result is the height of the laid-out text.
  virtual int32_t DrawInRect(TBitmap& bitmap, const TTextPaint& paint, const TRect& rect, uint32_t format,
                             std::u16string_view text) = 0;
};

// The renderer of this build's platform: GDI in the DLL, FreeType with the
// faces fontconfig resolves natively. MeasureLine and RenderLine work on the
// unrotated line; DrawLine and DrawInRect follow the escapement.
std::unique_ptr<ITextRenderer> CreateSystemTextRenderer();

}  // namespace pk
