// Small file-name helpers shared by the loaders and writers: whether a name
// denotes an existing file, and a file-type text without its leading dot.
// Neither raises: a caller asking about a file wants a yes or a no.
#pragma once

#include <string>
#include <string_view>

namespace pk {

// True when the name denotes something that exists and is not a directory.
// A missing path, a directory, or a name the system cannot read the
// attributes of give False.
bool IsExistingFile(std::u16string_view name);

// ".png" gives "png"; "png" and a lone "." come back unchanged.
std::u16string StripLeadingDot(std::u16string_view text);

}  // namespace pk
