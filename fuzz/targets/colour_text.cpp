// Colour text as the colour properties read it: the normalising step never
// lengthens the text, a colour read is at most 24 bits, and a colour written
// as text reads back as itself. The object's StrToOLEColor takes the same
// text and fails only with the component's error.
#include "automation/colour_text_conversion.h"
#include "automation/image_functions.h"
#include "core/colour_text.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"

namespace pk::fuzz {

void FuzzColourText(std::span<const uint8_t> data) {
  const std::u16string text = Utf16Units(data);
  FuzzRequire(NormalizeColorText(text).size() <= text.size(), "normalising colour text never lengthens it");
  const std::optional<TColor> colour = ColourFromText(text);
  if (colour) {
    FuzzRequire((*colour & ~TColor{0xFFFFFF}) == 0, "colour text gives at most 24 bits");
    FuzzRequire(ColourFromText(ColourToText(*colour)) == colour, "a colour written as text reads back the same");
  }
  try {
    TImageFunctions::StrToOLEColor(text);
  } catch (const Exception&) {
  }
}

}  // namespace pk::fuzz
