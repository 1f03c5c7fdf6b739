#include "platform/freetype_face_linux.h"

#include <fontconfig/fontconfig.h>

#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

// Glyphs beyond this em size would only be cut away by the bitmap limit, and
// the rasteriser's span coordinates are 16-bit.
constexpr int64_t kMaxPixelsPerEm = 8192;
// The em size of a record without a height: 12 points at 96 dots an inch.
constexpr int64_t kDefaultPixelsPerEm = 16;
// The slant of synthetic italics: tan 12 degrees in 16.16.
constexpr FT_Fixed kItalicShear = 0x0366A;

struct TPatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using TPattern = std::unique_ptr<FcPattern, TPatternDeleter>;

struct TFaceFile {
  std::string path;
  int index = 0;
  bool bold = false;
  bool italic = false;
};

TFaceFile ResolveFaceFile(const TFontRecord& font) {
  const std::u16string_view name = std::u16string_view(font.face_name).substr(0, kFaceNameLength);
  const std::string family = name.empty() ? std::string("sans-serif") : Utf16ToUtf8(name);
  TPattern pattern(FcPatternCreate());
  if (!pattern) throw EOutOfResources(msg::kCannotCreateFont);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  const int weight = font.weight <= 0 ? 400 : std::min(font.weight, 1000);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  TPattern match(FcFontMatch(nullptr, pattern.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
    throw EOutOfResources(msg::kCannotCreateFont);
  }
  TFaceFile face{reinterpret_cast<const char*>(file)};
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &face.index);
  int matched_weight = FC_WEIGHT_REGULAR;
  int matched_slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &matched_weight);
  FcPatternGetInteger(match.get(), FC_SLANT, 0, &matched_slant);
  face.bold = matched_weight >= FC_WEIGHT_DEMIBOLD;
  face.italic = matched_slant != FC_SLANT_ROMAN;
  return face;
}

int32_t ToPixels(FT_Pos value) { return static_cast<int32_t>((value + 32) >> 6); }

}  // namespace

TFreeTypeLibrary::TFreeTypeLibrary() {
  if (FT_Init_FreeType(&library_) != 0) throw EOutOfResources(msg::kCannotCreateFont);
}

TFreeTypeLibrary::~TFreeTypeLibrary() { FT_Done_FreeType(library_); }

TFreeTypeFace::TFreeTypeFace(FT_Library library, const TFontRecord& font) : font_(font) {
  const TFaceFile file = ResolveFaceFile(font);
  if (FT_New_Face(library, file.path.c_str(), file.index, &face_) != 0) throw EOutOfResources(msg::kCannotCreateFont);
  embolden_ = font.weight >= 600 && !file.bold;
  slant_ = font.italic && !file.italic;
  try {
    SetSize();
  } catch (...) {
    FT_Done_Face(face_);
    throw;
  }
}

TFreeTypeFace::~TFreeTypeFace() { FT_Done_Face(face_); }

void TFreeTypeFace::SetSize() {
  if (!FT_IS_SCALABLE(face_)) throw EOutOfResources(msg::kCannotCreateFont);
  // A negative height is the em size; a positive one the cell height, which
  // the face's ascender and descender share.
  int64_t em = kDefaultPixelsPerEm;
  if (font_.height < 0) em = -static_cast<int64_t>(font_.height);
  if (font_.height > 0) {
    const int64_t cell_units = std::max<int64_t>(1, face_->ascender - face_->descender);
    em = (static_cast<int64_t>(font_.height) * face_->units_per_EM + cell_units / 2) / cell_units;
  }
  em = std::clamp<int64_t>(em, 1, kMaxPixelsPerEm);
  if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(em)) != 0) throw EOutOfResources(msg::kCannotCreateFont);

  const FT_Size_Metrics& size = face_->size->metrics;
  metrics_.ascent = ToPixels(size.ascender);
  metrics_.height = metrics_.ascent + ToPixels(-size.descender);
  metrics_.stroke = std::max(1, ToPixels(FT_MulFix(face_->underline_thickness, size.y_scale)));
  metrics_.underline_top = metrics_.ascent - ToPixels(FT_MulFix(face_->underline_position, size.y_scale)) -
                           metrics_.stroke / 2;
  FT_Pos strike = size.ascender / 3;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2))) {
    if (os2->yStrikeoutPosition > 0) strike = FT_MulFix(os2->yStrikeoutPosition, size.y_scale);
  }
  metrics_.strike_out_top = metrics_.ascent - ToPixels(strike) - metrics_.stroke / 2;
  // Synthetic bold thickens every stem by a twenty-fourth of the em, at least
  // a pixel, and widens each advance by as much.
  embolden_strength_ = std::max<FT_Pos>(64, ((em * 64 / 24) + 32) & ~63);
}

bool TFreeTypeFace::LoadGlyph(char32_t code_point) {
  const FT_UInt index = FT_Get_Char_Index(face_, code_point);
  if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
    if (FT_Load_Glyph(face_, 0, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
      face_->glyph->advance.x = 0;
      return false;
    }
  }
  FT_GlyphSlot slot = face_->glyph;
  if (embolden_) slot->advance.x += embolden_strength_;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (embolden_) FT_Outline_EmboldenXY(&slot->outline, embolden_strength_, 0);
  if (slant_) {
    FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  return true;
}

int64_t TFreeTypeFace::Advance() const { return (face_->glyph->advance.x + 32) >> 6; }

int64_t TFreeTypeFace::Extent(std::u16string_view text) {
  int64_t width = 0;
  for (const char32_t c : CodePoints(text)) {
    LoadGlyph(c);
    width += Advance();
  }
  return width;
}

std::vector<char32_t> CodePoints(std::u16string_view text) {
  std::vector<char32_t> points;
  points.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      points.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      points.push_back(0xFFFD);
    } else {
      points.push_back(c);
    }
  }
  return points;
}

}  // namespace pk
