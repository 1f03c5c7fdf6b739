// Every message the automation object raises, in one place: these texts reach
// script clients verbatim (the COM shell hands them on as the error
// description), so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kFileNotFound[] = u"File not found: ";  // + file name without directories
inline constexpr char16_t kEmptyInput[] = u"Empty input file or stream.";
inline constexpr char16_t kInvalidFileType[] = u"Invalid file type.";
inline constexpr char16_t kCorruptFile[] = u"The file is corrupt or not in the correct format.";
inline constexpr char16_t kNoImageInComponent[] = u"No image loaded in the component.";
inline constexpr char16_t kInvalidOverwriteMode[] = u"Invalid overwrite mode.";
inline constexpr char16_t kNotImplementedYet[] = u"Not implemented yet.";
inline constexpr char16_t kAlphaSizeMismatch[] = u"The alpha channel does not have the image's size.";
inline constexpr char16_t kNoImageLoaded[] = u"No image loaded.";
inline constexpr char16_t kPaletteEntryOutOfRange[] = u"Index out of range.";
inline constexpr char16_t kMaxSizeZero[] = u"MaxWidth or MaxHeight must not be zero.";
inline constexpr char16_t kWriterNotAvailable[] = u"Writing this file type is not available yet: ";  // + extension
inline constexpr char16_t kUnsupportedImageType[] = u"Image type specified is not a supported format.";
inline constexpr char16_t kInvalidBitmapHandle[] = u"Invalid bitmap handle.";

// The COM shell's own: failures that carry no message of their own, and
// VARIANT arguments that cannot be read as byte arrays.
inline constexpr char16_t kOutOfMemory[] = u"Out of memory.";
inline constexpr char16_t kUnexpectedFailure[] = u"Unexpected failure.";
inline constexpr char16_t kVariantNotByteArray[] = u"Invalid variant: a one-dimensional byte array is expected.";

}  // namespace pk::msg
