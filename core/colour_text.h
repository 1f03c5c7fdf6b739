// The lenient first step of reading colour text (six hexadecimal digits, red,
// green, blue): clients write "#ff0000", "$FF0000" or type the letter o for
// the digit 0, and the colour setters accept all of them.
#pragma once

#include <string>
#include <string_view>

namespace pk {

// Drops one leading "#" or "$" (unless it is the whole text) and reads every
// letter o or O as the digit 0. Nothing else is checked: the result may still
// have the wrong length or hold characters that are not hexadecimal digits.
std::u16string NormalizeColorText(std::u16string_view text);

}  // namespace pk
