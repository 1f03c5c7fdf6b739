// Every message the raster core and its helpers raise, in one place: these
// texts reach script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kPixelCoordinateOutOfRange[] = u"Pixel coordinate value out of range.";
// Resampling and resizing.
inline constexpr char16_t kSourceBitmapTooSmall[] = u"Source bitmap too small";
inline constexpr char16_t kInvalidFilterType[] = u"Invalid filter type: ";  // + the type number
}  // namespace pk::msg
