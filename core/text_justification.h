// TTextJustification: how the lines of a text block align. Its own header
// because the bitmap class stores one without drawing text.
#pragma once

namespace pk {

enum class TTextJustification { tjLeft = 0, tjCentre = 1, tjRight = 2 };

}  // namespace pk
