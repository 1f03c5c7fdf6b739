// Case-insensitive matching of names that are ASCII by definition (tag names,
// list keys, fixed prefixes): only a-z fold, so no locale changes a match.
#pragma once

#include <algorithm>
#include <string_view>

namespace pk {

constexpr char16_t FoldAsciiLetter(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

inline bool SameAsciiFolded(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldAsciiLetter(x) == FoldAsciiLetter(y); });
}

}  // namespace pk
