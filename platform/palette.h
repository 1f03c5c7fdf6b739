// Palettes as colour lists, the platform's default palettes, and the
// nearest-colour rule that every blit into a palette bitmap uses.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/color.h"
#include "platform/pixel_format.h"

namespace pk {

// Index of the entry nearest to colour by squared RGB distance; the lowest
// index wins ties. 0 for an empty table.
int NearestColorIndex(std::span<const TColor> table, TColor colour);

// NearestColorIndex for mapping whole images onto one table. Only the first of
// entries with one colour is searched (a later twin never wins a tie), and a
// direct-mapped memo allocated up front (nothing for an empty table) spares
// most pixels the search. A large table is searched per cell of the colour
// cube: the first colour met in a cell lists the entries that can be nearest
// to any colour of it, so a search looks at a few entries instead of all.
// Everything is allocated up front; matching itself never allocates.
class ColorMatcher {
 public:
  explicit ColorMatcher(std::span<const TColor> table);
  int Match(TColor colour);

 private:
  static constexpr int kCacheBits = 14;
  static constexpr int kCellShift = 4;  // cells of 16 values a channel
  static constexpr int kCells = 1 << (3 * (8 - kCellShift));
  static constexpr uint32_t kCellUnbuilt = ~uint32_t{0};

  // The position in colours_ of the nearest colour, searched within its cell.
  size_t NearestInCell(TColor colour);
  void BuildCell(uint32_t cell);

  std::vector<TColor> colours_;  // the distinct colours, first occurrences
  std::vector<int> indexes_;     // their indexes in the table
  std::vector<uint64_t> cache_;  // colour << 32 | index; all ones when empty
  // Large tables only: per cell, where its candidate list starts in
  // candidates_ (shifted left 9) and how long it is; and room for every cell
  // to list every colour, so lists are built lazily without allocating. The
  // room (2 MiB for 256 colours) is left uninitialised: only the lists built
  // are ever read, and a small picture then touches a few of its pages
  // instead of clearing all of them.
  std::vector<uint32_t> cells_;
  std::unique_ptr<uint16_t[]> candidates_;
  size_t candidates_used_ = 0;
};

// The palette a format takes when a picture is converted down to it: black and
// white for 1 bit, the 16 VGA colours for 4 bits, and those 16 followed by 240
// black entries for 8 bits.
std::vector<TColor> DefaultPalette(PixelFormat format);

// 256 greys, entry i = (i, i, i).
std::vector<TColor> GreyPalette();

}  // namespace pk
