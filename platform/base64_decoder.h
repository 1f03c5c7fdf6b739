// A lenient Base64 decoder for text that arrives from scripts and web forms:
// every character outside the alphabet (line breaks, spaces, "=" padding) is
// skipped, and a last group of two or three letters gives its one or two
// whole bytes (a single leftover letter carries no whole byte).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pk {

std::vector<uint8_t> DecodeBase64Lenient(std::u16string_view text);

}  // namespace pk
