// Placement of an overlay on a target (the merge members, watermarks): centred,
// once at an offset, repeated from the top-left corner, or repeated with each
// band of rows continuing where the previous band's row ended. The values are
// those the interface's settings hold.
#pragma once

#include <cstdint>

namespace pk {

enum class TWMStyle : int32_t { wmCentre = 0, wmSingle = 1, wmTile = 2, wmWrap = 3 };

}  // namespace pk
