// Base64 text as the component hands it out: the standard alphabet with "="
// padding, and a CR LF after every 76 characters, also at the very end when
// the text's length is a multiple of 76 (no break follows a shorter last
// line).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pk {

std::u16string Base64Encode(std::span<const uint8_t> bytes);

}  // namespace pk
