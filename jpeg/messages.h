// Every message the JPEG codec and the metadata classes raise, in one place:
// these texts reach script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kRMETAIndexOutOfRange[] = u"Index out of range";
// Photoshop resources, the IPTC record and the XMP model.
inline constexpr char16_t kApp13TooLarge[] = u"The IPTC data do not fit in one APP13 segment";
inline constexpr char16_t kInvalidFileInfo[] = u"Invalid File Info.";
inline constexpr char16_t kXMPIndexOutOfRange[] = u"Index out of range.";
inline constexpr char16_t kFileNotFound[] = u"File not found: ";  // + the name as passed
inline constexpr char16_t kCannotAssign[] = u"Cannot assign a %s to a %s";
inline constexpr char16_t kXMPPacketNotAvailable[] = u"XMP packets cannot be read or written yet";

// Number texts of EXIF values.
inline constexpr char16_t kConversionNotANumber[] = u"Conversion error - value is not a number.";
inline constexpr char16_t kConversionDivisionByZero[] = u"Conversion error - division by zero.";
inline constexpr char16_t kConversionOutOfRange[] = u"Conversion error - value out of range.";
// The run time's own integer conversion error: quote, the text, then this.
inline constexpr char16_t kNotAValidInteger[] = u"' is not a valid integer value";

}  // namespace pk::msg
