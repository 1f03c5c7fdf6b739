// The decode limits of the image targets, smaller than the component's: RLE
// data declares a picture of a hundred million pixels in a hundred bytes,
// legally, and every such input costs the search a second or more under the
// sanitizers (in a long session they crowded out all else). The claim check
// is the same code whatever the limits.
#pragma once

#include "platform/decode_limits.h"

namespace pk::fuzz {

inline TDecodeLimits FuzzDecodeLimits() {
  TDecodeLimits limits;
  limits.max_pixels = int64_t{1} << 22;
  return limits;
}

}  // namespace pk::fuzz
