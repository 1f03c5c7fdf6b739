// Every message the platform layer raises, in one place: these texts reach
// script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kScanLineOutOfRange[] = u"Scan line index out of range";
inline constexpr char16_t kStreamReadError[] = u"Stream read error";
inline constexpr char16_t kStreamWriteError[] = u"Stream write error";
inline constexpr char16_t kStreamSizeError[] = u"Stream size out of range";
inline constexpr char16_t kCannotOpenFile[] = u"Cannot open file \"";  // + name + "\""
inline constexpr char16_t kCannotCreateFile[] = u"Cannot create file \"";  // + name + "\""
inline constexpr char16_t kDivisionByZero[] = u"Division by zero";
inline constexpr char16_t kIntegerOverflow[] = u"Integer overflow";
inline constexpr char16_t kRangeError[] = u"Range check error";
inline constexpr char16_t kInvalidPixelFormat[] = u"Invalid pixel format";
inline constexpr char16_t kInvalidBitmapSize[] = u"Invalid bitmap size";
inline constexpr char16_t kBitmapTooLarge[] = u"Bitmap too large: ";  // + details + limit
inline constexpr char16_t kInvalidBitmap[] = u"Invalid bitmap";
inline constexpr char16_t kPaletteIndexOutOfRange[] = u"Palette index out of range";

}  // namespace pk::msg
