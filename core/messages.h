// Every message the raster core and its helpers raise, in one place: these
// texts reach script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kPixelCoordinateOutOfRange[] = u"Pixel coordinate value out of range.";
// Internal parse failures; each format maps them onto its own error.
inline constexpr char16_t kParseUnexpectedEnd[] = u"Unexpected end of data";
inline constexpr char16_t kParseSeekOutOfRange[] = u"Position outside the data";
// Lists and hash tables.
inline constexpr char16_t kListIndexOutOfRange[] = u"Index out of range.";
inline constexpr char16_t kSortedListInsert[] = u"Cannot call Insert with a sorted list.";
inline constexpr char16_t kHashTableFull[] = u"Hash table is full.";
// PackBits.
inline constexpr char16_t kUnPackBitsError[] = u"Error in UnPackBits procedure";
// Resampling and resizing.
inline constexpr char16_t kSourceBitmapTooSmall[] = u"Source bitmap too small";
inline constexpr char16_t kInvalidFilterType[] = u"Invalid filter type: ";  // + the type number
// Overlays.
inline constexpr char16_t kWatermarkGifColourDepth[] = u"Invalid colour depth in WatermarkGIF procedure.";
}  // namespace pk::msg
