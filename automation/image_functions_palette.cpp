// The palette and colour members: reading and editing the palette of a
// paletted image, looking colours up in it, finding a free entry, and the
// internal EnsurePaletteColours that painting members call first.
//
// Every member that addresses palette entries or pixels takes the palette's
// size from the image's own pixel format, never from a depth recorded beside
// it, so the two can never disagree about how far a row or a table reaches.
#include <array>

#include "automation/colour_text_conversion.h"
#include "automation/image_functions.h"
#include "automation/messages.h"
#include "core/palette_helpers.h"
#include "platform/exceptions.h"

namespace pk {

namespace {

// 1, 4 or 8 for a paletted image, 24 for every other.
int PaletteBits(const TBitmap& image) { return IsPaletted(image.GetPixelFormat()) ? image.BitCount() : 24; }

void CheckEntryIndex(int32_t Index) {
  if (Index < 0 || Index > 255) throw EInvalidGraphic(msg::kPaletteEntryOutOfRange);
}

TColourMap PaletteColours(const TBitmap& image) {
  TColourMap colours{};
  GetPaletteColours(image, colours);
  return colours;
}

}  // namespace

void TImageFunctions::RequireImage() const {
  if (state_.Image().Height() == 0) throw EInvalidGraphic(msg::kNoImageLoaded);
}

std::u16string TImageFunctions::PaletteEntry(int32_t Index) {
  RequireImage();
  if (PaletteBits(state_.Image()) == 24) return u"000000";
  CheckEntryIndex(Index);
  return ColourToText(PaletteColours(state_.Image())[Index]);
}

void TImageFunctions::SetPaletteEntry(int32_t Index, const std::u16string& Value) {
  RequireImage();
  const int bits = PaletteBits(state_.Image());
  if (bits == 24) return;
  CheckEntryIndex(Index);
  // An index past the palette's size changes an entry that is not written back.
  TColourMap colours = PaletteColours(state_.Image());
  colours[Index] = static_cast<TColor>(StrToOLEColor(Value));
  state_.RecolourPalette(std::span<const TColor>(colours.data(), size_t{1} << bits));
}

int32_t TImageFunctions::PaletteSize() {
  RequireImage();
  const int bits = PaletteBits(state_.Image());
  return bits == 24 ? 0 : 1 << bits;
}

int32_t TImageFunctions::ColorIndex(const std::u16string& Colour) {
  RequireImage();
  const int bits = PaletteBits(state_.Image());
  if (bits == 24) return -1;
  const TColourMap colours = PaletteColours(state_.Image());
  const auto wanted = static_cast<TColor>(StrToOLEColor(Colour));
  for (int i = 0; i < 1 << bits; ++i)
    if (colours[i] == wanted) return i;
  return -1;
}

int32_t TImageFunctions::FindUnusedColor() {
  RequireImage();
  const int bits = PaletteBits(state_.Image());
  if (bits == 24) return -1;
  const std::array<bool, 256> used = UsedPaletteIndexes(state_.Image());
  for (int i = 0; i < 1 << bits; ++i)
    if (!used[i]) return i;
  return -1;
}

// A full palette stays as it is: painting then takes the nearest entry.
void TImageFunctions::EnsurePaletteColours(std::initializer_list<TColor> Colours) {
  if (const auto table = PaletteWithColours(state_.Image(), Colours)) state_.RecolourPalette(*table);
}

}  // namespace pk
