// TImageFunctions: creation with its defaults, the property table's getters and
// setters that do more than store, UpdateColourDepth and the alpha flattening
// that the writers share. The file road lives in image_functions_file_road.cpp,
// the members still waiting for their operations in image_functions_pending.cpp.
#include "automation/image_functions.h"

#include <optional>

#include "automation/colour_text_conversion.h"
#include "automation/messages.h"
#include "automation/resolution.h"
#include "platform/exceptions.h"

namespace pk {

namespace {

// A colour setter keeps the old value when the text does not convert.
void SetColourFromText(TColor& field, const std::u16string& text) {
  if (const std::optional<TColor> colour = ColourFromText(text)) field = *colour;
}

}  // namespace

TImageFunctions::TImageFunctions() : response_source_(CurrentAspResponse), codecs_(ImageCodecTable()) {}

TImageFunctions::~TImageFunctions() = default;

int32_t TImageFunctions::DPMtoDPI(int32_t DPM) { return DpmToDpi(DPM); }

int32_t TImageFunctions::DPItoDPM(int32_t DPI) { return DpiToDpm(DPI); }

void TImageFunctions::ClearAlpha() { FAlpha->Reset(); }

std::u16string TImageFunctions::OLEColorToStr(int32_t Color) { return ColourToText(static_cast<uint32_t>(Color)); }

int32_t TImageFunctions::StrToOLEColor(const std::u16string& Colour) {
  return static_cast<int32_t>(ColourFromText(Colour).value_or(0));
}

std::u16string TImageFunctions::BackgroundColor() const { return ColourToText(FBackgroundColour); }

void TImageFunctions::SetBackgroundColor(const std::u16string& Value) {
  if (const std::optional<TColor> colour = ColourFromText(Value)) {
    FBackgroundColour = *colour;
    FHasBackground = true;
  }
}

std::u16string TImageFunctions::TextBG() const { return ColourToText(FTextBG); }
void TImageFunctions::SetTextBG(const std::u16string& Value) { SetColourFromText(FTextBG, Value); }
std::u16string TImageFunctions::TextColor() const { return ColourToText(FTextColour); }
void TImageFunctions::SetTextColor(const std::u16string& Value) { SetColourFromText(FTextColour, Value); }
std::u16string TImageFunctions::TransparentColor() const { return ColourToText(FTransparentColour); }
void TImageFunctions::SetTransparentColor(const std::u16string& Value) {
  SetColourFromText(FTransparentColour, Value);
}

int32_t TImageFunctions::Height() const { return bmpMemory->Height(); }
int32_t TImageFunctions::Width() const { return bmpMemory->Width(); }

std::u16string TImageFunctions::OriginalImageType() const {
  switch (FOriginalImageType) {
    case TGraphicsFormat::gfBMP:
    case TGraphicsFormat::gfGIF:
    case TGraphicsFormat::gfJPG:
    case TGraphicsFormat::gfPNG: return std::u16string(GraphicsFormatText(FOriginalImageType));
    default: return {};
  }
}

std::u16string TImageFunctions::Version() {
  return sizeof(void*) == 8 ? u"PixmarlKit 1.0.0.0 (64 bit)" : u"PixmarlKit 1.0.0.0 (32 bit)";
}

void TImageFunctions::UpdateColourDepth() {
  switch (bmpMemory->GetPixelFormat()) {
    case PixelFormat::pf1bit: FColourDepth = 1; return;
    case PixelFormat::pf4bit: FColourDepth = 4; return;
    case PixelFormat::pf8bit: FColourDepth = 8; return;
    default: break;
  }
  FColourDepth = 24;
  bmpMemory->SetPixelFormat(PixelFormat::pf24bit);
  // A palette left over from a paletted source would make later writers and
  // palette members treat the image as paletted.
  bmpMemory->ReleasePalette();
}

void TImageFunctions::FlattenAlpha() {
  switch (FAlpha->TransparencyType()) {
    case TTransparencyType::ttAlpha:
      // Blending the channel onto the background needs the compositing
      // procedures; until they are wired no image can carry a channel here
      // except through a PNG load, which is not wired either.
      throw ENotImplemented(msg::kNotImplementedYet);
    case TTransparencyType::ttPalette: FAlpha->Reset(); return;
    default: return;
  }
}

}  // namespace pk
