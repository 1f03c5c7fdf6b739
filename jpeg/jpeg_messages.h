// Every message the JPEG image classes raise, in one place: these texts reach
// script clients verbatim, so they are part of the interface.
#pragma once

namespace pk::msg {

inline constexpr char16_t kJpegError[] = u"JPEG error #";  // + libjpeg's message code
inline constexpr char16_t kJpegSaveEmpty[] = u"Cannot save - JPG image is empty.";
inline constexpr char16_t kJpegCannotResize[] = u"Cannot change the size of a JPEG image";
// A JPEG whose header the object's load road refuses.
inline constexpr char16_t kJpegCorruptFile[] = u"The file is corrupt or not in the correct format.";

}  // namespace pk::msg
