// Text rasterising as the text members need it: a font described by the
// fields of a GDI logical font, and a line of text turned into an 8-bit
// coverage mask that the raster code composites in the image's colours. The
// DLL renders through GDI; other builds provide their own renderer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pk {

struct TFontRecord {
  int32_t height = 0;       // negative: character height in pixels
  int32_t escapement = 0;   // tenths of a degree
  int32_t orientation = 0;  // tenths of a degree
  int32_t weight = 400;     // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  uint8_t char_set = 1;  // the default character set
  uint8_t quality = 0;   // 0 default, 4 antialiased
  std::u16string face_name;
};

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
};

// The renderer of this build's platform (GDI in the DLL). The line is
// rendered unrotated: escapement and orientation are the caller's to apply.
std::unique_ptr<ITextRenderer> CreateSystemTextRenderer();

}  // namespace pk
