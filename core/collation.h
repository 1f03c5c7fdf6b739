// The text order of sorted lists. Lists are sorted the way people read them,
// not by character codes: letters compare by their base letter first (so "é"
// sorts beside "e", not after "z"), then by accent, and only in case-sensitive
// mode by case, where lower case comes before upper case at the first
// difference. The same order on every platform, independent of the locale.
#pragma once

#include <string_view>

namespace pk {

// Negative, zero or positive as a sorts before, with or after b.
int CollateText(std::u16string_view a, std::u16string_view b, bool case_sensitive);

}  // namespace pk
