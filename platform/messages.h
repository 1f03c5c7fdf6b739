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
// Decode limits: too large + "<FORMAT>" + declares + claim + limit + the limit
// and its unit.
inline constexpr char16_t kImageTooLarge[] = u"Image too large: ";
inline constexpr char16_t kImageTooLargeDeclares[] = u" data declares ";
inline constexpr char16_t kImageTooLargeLimit[] = u", above the limit of ";
inline constexpr char16_t kInvalidBitmap[] = u"Invalid bitmap";
inline constexpr char16_t kCannotCreateFont[] = u"Cannot create the font";
inline constexpr char16_t kPaletteIndexOutOfRange[] = u"Palette index out of range";
inline constexpr char16_t kDateEncodeError[] = u"Invalid argument to date encode";
inline constexpr char16_t kTimeEncodeError[] = u"Invalid argument to time encode";
inline constexpr char16_t kDateOutOfRange[] = u"Date value out of range";
// BMP reading: what exactly is wrong with the data.
inline constexpr char16_t kBmpTruncatedHeader[] = u"Invalid bitmap: the header is truncated";
inline constexpr char16_t kBmpUnsupportedHeader[] = u"Invalid bitmap: unsupported header size";
inline constexpr char16_t kBmpBadDimensions[] = u"Invalid bitmap: width or height out of range";
inline constexpr char16_t kBmpUnsupportedFormat[] = u"Invalid bitmap: unsupported bit count or compression";
inline constexpr char16_t kBmpBadMasks[] = u"Invalid bitmap: invalid colour masks";
inline constexpr char16_t kBmpBadColorTable[] = u"Invalid bitmap: colour table larger than the bit count or the data allow";
inline constexpr char16_t kBmpBadOffset[] = u"Invalid bitmap: pixel data offset outside the data";
inline constexpr char16_t kBmpTruncatedPixels[] = u"Invalid bitmap: pixel data truncated";
inline constexpr char16_t kBmpRleOutsideImage[] = u"Invalid bitmap: run-length data moves outside the image";
inline constexpr char16_t kNoAspPageContext[] = u"The component is not running inside an ASP page: no Response object.";

}  // namespace pk::msg
