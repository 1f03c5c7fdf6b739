// A FreeType face for a font record (native builds): fontconfig resolves the
// face name, weight and slant to a font file ("Arial" finds a metric-
// compatible face where one is installed, an unknown name the default sans
// face), the record's height sets the size, and bold or italic that the file
// lacks is synthesised. Glyphs load hinted, so advances are whole pixels and
// the extent of a line is the sum of its advances, as GDI measures it.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/font_record.h"

namespace pk {

// One FreeType library instance; each renderer owns its own, so threads never
// share one.
class TFreeTypeLibrary {
 public:
  TFreeTypeLibrary();
  ~TFreeTypeLibrary();
  TFreeTypeLibrary(const TFreeTypeLibrary&) = delete;
  TFreeTypeLibrary& operator=(const TFreeTypeLibrary&) = delete;
  FT_Library Get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

// Vertical metrics in whole pixels; positions are measured down from the top
// of the character cell.
struct TFaceMetrics {
  int32_t ascent = 0;
  int32_t height = 0;  // ascent + descent: the line height
  int32_t underline_top = 0;
  int32_t strike_out_top = 0;
  int32_t stroke = 1;  // thickness of both lines
};

class TFreeTypeFace {
 public:
  TFreeTypeFace(FT_Library library, const TFontRecord& font);
  ~TFreeTypeFace();
  TFreeTypeFace(const TFreeTypeFace&) = delete;
  TFreeTypeFace& operator=(const TFreeTypeFace&) = delete;

  const TFontRecord& Font() const { return font_; }
  const TFaceMetrics& Metrics() const { return metrics_; }
  // Loads the glyph of a code point (the face's missing-glyph box when it has
  // none) with synthetic bold and italic applied; the result is in the face's
  // glyph slot. False when the glyph has no outline to draw.
  bool LoadGlyph(char32_t code_point);
  FT_GlyphSlot Slot() const { return face_->glyph; }
  // Whole pixels the pen moves after the glyph just loaded.
  int64_t Advance() const;
  int64_t Extent(std::u16string_view text);

 private:
  void SetSize();

  TFontRecord font_;
  FT_Face face_ = nullptr;
  bool embolden_ = false;
  bool slant_ = false;
  FT_Pos embolden_strength_ = 0;
  TFaceMetrics metrics_;
};

// The code points of UTF-16 text; an unpaired surrogate reads as U+FFFD.
std::vector<char32_t> CodePoints(std::u16string_view text);

}  // namespace pk
