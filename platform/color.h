// TColor: a 32-bit colour value with red in the low byte, then green, then
// blue; the layout of every palette and colour table in the component.
#pragma once

#include <cstdint>

namespace pk {

using TColor = uint32_t;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GetGValue(TColor c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t GetBValue(TColor c) { return static_cast<uint8_t>(c >> 16); }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

// Squared RGB distance, the measure of every nearest-colour search.
constexpr int ColorDistance(TColor a, TColor b) {
  const int dr = GetRValue(a) - GetRValue(b);
  const int dg = GetGValue(a) - GetGValue(b);
  const int db = GetBValue(a) - GetBValue(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace pk
