// Palettes as colour lists, the platform's default palettes, and the
// nearest-colour rule that every blit into a palette bitmap uses.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/color.h"
#include "platform/pixel_format.h"

namespace pk {

// Index of the entry nearest to colour by squared RGB distance; the lowest
// index wins ties. 0 for an empty table.
int NearestColorIndex(std::span<const TColor> table, TColor colour);

// NearestColorIndex with a memo, for mapping whole images onto one table.
class ColorMatcher {
 public:
  explicit ColorMatcher(std::span<const TColor> table) : table_(table.begin(), table.end()) {}
  int Match(TColor colour);

 private:
  std::vector<TColor> table_;
  std::unordered_map<TColor, int> memo_;
};

// The palette a format takes when a picture is converted down to it: black and
// white for 1 bit, the 16 VGA colours for 4 bits, and those 16 followed by 240
// black entries for 8 bits.
std::vector<TColor> DefaultPalette(PixelFormat format);

// 256 greys, entry i = (i, i, i).
std::vector<TColor> GreyPalette();

}  // namespace pk
