// NormalizeColorText: see core/colour_text.h.
#include "core/colour_text.h"

#include <algorithm>

namespace pk {

std::u16string NormalizeColorText(std::u16string_view text) {
  if (text.size() > 1 && (text.front() == u'#' || text.front() == u'$')) text.remove_prefix(1);
  std::u16string result(text);
  std::ranges::replace_if(result, [](char16_t c) { return c == u'o' || c == u'O'; }, u'0');
  return result;
}

}  // namespace pk
