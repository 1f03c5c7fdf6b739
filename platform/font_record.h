// TFontRecord: a font as the text code describes it, field by field as a GDI
// logical font holds it. Its own header because the canvas carries one
// without drawing text.
#pragma once

#include <cstdint>
#include <string>

namespace pk {

struct TFontRecord {
  int32_t height = 0;       // negative: character height in pixels; positive: cell height; 0: default
  int32_t escapement = 0;   // tenths of a degree, anticlockwise
  int32_t orientation = 0;  // tenths of a degree
  int32_t weight = 400;     // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  uint8_t char_set = 1;  // the default character set
  uint8_t quality = 0;   // 0 default, 4 antialiased
  std::u16string face_name;  // at most 31 characters reach the renderer

  bool operator==(const TFontRecord&) const = default;
};

// Characters of a face name a font record keeps (the field holds 32 with its
// terminating zero).
inline constexpr size_t kFaceNameLength = 31;

}  // namespace pk
