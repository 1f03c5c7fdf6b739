// Value texts of EXIF tags: input text checked against a tag's type and count
// and brought into the one form its type keeps (decimal numbers, "n/d"
// rationals, two-digit hexadecimal bytes, or the text itself), items joined
// with ",". This is the form the EXIF reader writes and the writer parses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jpeg/exif_tag_table.h"

namespace pk {

// The items of an input value: split at spaces and commas, empty items
// dropped. Quote characters are ordinary characters.
std::vector<std::u16string_view> SplitExifItems(std::u16string_view value);

// The value text for the tag, or nullopt when the value does not fit it:
// - the number of items must equal the row's Count, except that SHORT tags
//   and the XP tags take any number and ASCII and UNDEFINED tags are not
//   counted; an empty value never fits;
// - BYTE, SHORT and SSHORT items are integers within 32 bits kept to their
//   low 8 or 16 bits, LONG items integers within 64 bits kept to 32 bits;
// - RATIONAL items are "n/d" (each part at most 10 characters, 0 <= n and
//   0 < d, both within 31 bits) or a real that is not negative, turned into a
//   fraction; SRATIONAL items likewise with a signed numerator and a non-zero
//   denominator whose sign moves to the numerator;
// - UNDEFINED items are two hexadecimal digits, stored in lower case;
// - an ASCII value is the whole text; a tag of fixed Count is cut or padded
//   with spaces to exactly Count - 1 bytes of UTF-8, leaving the last byte of
//   the field for the terminating zero, and never cut inside a character.
std::optional<std::u16string> NormaliseExifValue(const TExifLookupRecord& row, std::u16string_view value);

}  // namespace pk
