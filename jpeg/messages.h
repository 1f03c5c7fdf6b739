// Every message the JPEG codec and the metadata classes raise, in one place:
// these texts reach script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kRMETAIndexOutOfRange[] = u"Index out of range";

}  // namespace pk::msg
