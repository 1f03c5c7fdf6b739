// Rectangle layout of a text for renderers that have no formatted drawing of
// their own: the text splits into lines at CR, LF and CR LF, and with word
// breaking a line also ends before the word that would carry it past the
// available width. Widths come from the renderer as the extent of a piece of
// a line; pieces add up (no kerning across them), which keeps the layout
// linear in the length of the text.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace pk {

struct TLaidOutLine {
  std::u16string_view text;
  int64_t width = 0;
};

using TExtentOf = std::function<int64_t(std::u16string_view)>;

// A text ending in a break has no line after it; an empty text has none. With
// word breaking, the spaces at a break belong to neither line, and a word
// wider than max_width stands alone on its line.
std::vector<TLaidOutLine> LayOutLines(std::u16string_view text, bool word_break, int64_t max_width,
                                      const TExtentOf& extent);

}  // namespace pk
