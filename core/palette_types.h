// The palette records the raster procedures exchange: a 256-colour map in the
// component's colour-value layout, the four-byte colour-table entries read
// from a bitmap (blue, green, red, reserved) and the entries of a logical
// palette (red, green, blue, flags). Every table holds 256 entries whatever the
// pixel format, so an index byte can never read past one.
#pragma once

#include <array>
#include <cstdint>

#include "platform/color.h"

namespace pk {

using TColourMap = std::array<TColor, 256>;

struct TRGBQuad {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
};
using TRGBQuadArray = std::array<TRGBQuad, 256>;

struct TPaletteEntry {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
};
using TPaletteEntries = std::array<TPaletteEntry, 256>;

}  // namespace pk
