// TImageFunctions: creation with its defaults, and the property table's getters
// and setters that do more than store. The file road lives in
// image_functions_file_road.cpp, the output channels in
// image_functions_outputs.cpp, the merges in image_functions_merge.cpp, text
// in image_functions_text.cpp, the members still waiting for their operations
// in image_functions_pending.cpp.
#include "automation/image_functions.h"

#include <optional>

#include "automation/colour_text_conversion.h"
#include "automation/image_channels.h"
#include "core/resolution.h"
#include "formats/image_codecs.h"

namespace pk {

namespace {

// A colour setter keeps the old value when the text does not convert.
void SetColourFromText(TColor& field, const std::u16string& text) {
  if (const std::optional<TColor> colour = ColourFromText(text)) field = *colour;
}

}  // namespace

TImageFunctions::TImageFunctions() : response_source_(CurrentAspResponse), codecs_(ImageCodecs()) {}

TImageFunctions::~TImageFunctions() = default;

int32_t TImageFunctions::DPMtoDPI(int32_t DPM) { return DpmToDpi(DPM); }

int32_t TImageFunctions::DPItoDPM(int32_t DPI) { return DpiToDpm(DPI); }

void TImageFunctions::ClearAlpha() { state_.ResetAlpha(); }

// Blends an alpha channel onto the background colour, then forgets the record
// whatever its kind, so the pixels alone carry the picture from here on.
void TImageFunctions::CombineAlphaWithBG() { state_.FlattenAlphaOnto(settings_.FBackgroundColour); }

std::u16string TImageFunctions::OLEColorToStr(int32_t Color) { return ColourToText(static_cast<uint32_t>(Color)); }

int32_t TImageFunctions::StrToOLEColor(const std::u16string& Colour) {
  return static_cast<int32_t>(ColourFromText(Colour).value_or(0));
}

std::u16string TImageFunctions::BackgroundColor() const { return ColourToText(settings_.FBackgroundColour); }

void TImageFunctions::SetBackgroundColor(const std::u16string& Value) {
  if (const std::optional<TColor> colour = ColourFromText(Value)) {
    settings_.FBackgroundColour = *colour;
    settings_.FHasBackground = true;
  }
}

std::u16string TImageFunctions::TextBG() const { return ColourToText(settings_.FTextBG); }
void TImageFunctions::SetTextBG(const std::u16string& Value) { SetColourFromText(settings_.FTextBG, Value); }
std::u16string TImageFunctions::TextColor() const { return ColourToText(settings_.FTextColour); }
void TImageFunctions::SetTextColor(const std::u16string& Value) { SetColourFromText(settings_.FTextColour, Value); }
std::u16string TImageFunctions::TransparentColor() const { return ColourToText(settings_.FTransparentColour); }
void TImageFunctions::SetTransparentColor(const std::u16string& Value) {
  SetColourFromText(settings_.FTransparentColour, Value);
}

int32_t TImageFunctions::Height() const { return state_.Image().Height(); }
int32_t TImageFunctions::Width() const { return state_.Image().Width(); }

std::u16string TImageFunctions::OriginalImageType() const {
  switch (settings_.FOriginalImageType) {
    case TGraphicsFormat::gfBMP:
    case TGraphicsFormat::gfGIF:
    case TGraphicsFormat::gfJPG:
    case TGraphicsFormat::gfPNG: return std::u16string(GraphicsFormatText(settings_.FOriginalImageType));
    default: return {};
  }
}

std::u16string TImageFunctions::Version() {
  return sizeof(void*) == 8 ? u"PixmarlKit 1.0.0.0 (64 bit)" : u"PixmarlKit 1.0.0.0 (32 bit)";
}

TEncodeOptions TImageFunctions::EncodeOptions() const {
  TEncodeOptions options;
  options.resolution = {settings_.FXDPI, settings_.FYDPI};
  options.quality = settings_.FJpegQuality & 0xFF;
  options.grey = settings_.FJpegGrayscale;
  options.progressive = settings_.FProgressiveJpeg;
  options.compression = TiffCompressionOf(settings_.FCompressionType);
  options.alpha = &state_.Alpha();
  options.transparent = {settings_.FTransparent, settings_.FTransparentColour};
  if (state_.TransparentPalette()) options.transparent_array = &state_.TransparentArray();
  return options;
}

}  // namespace pk
