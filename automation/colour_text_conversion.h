// Colour values and the interface's colour text (two upper-case hexadecimal
// digits each for red, green and blue). Reading is lenient in the way clients
// rely on: the text is normalised ("#", "$", the letter o), cut into red,
// green and blue pieces of up to two characters, and the pieces are read as
// one hexadecimal number in the colour value's byte order, so a short text
// gives short pieces rather than an error. Only characters that are not
// hexadecimal digits make the conversion fail.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/color.h"

namespace pk {

// nullopt when the pieces are not hexadecimal.
std::optional<TColor> ColourFromText(std::u16string_view text);
// The high byte of the value is ignored.
std::u16string ColourToText(uint32_t colour);

}  // namespace pk
