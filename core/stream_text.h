// Text in streams: the metadata writers put UTF-8 text into memory streams,
// and the readers take a counted run of bytes back out as text. The byte runs
// come from files, so the count is checked against the bytes actually left
// before anything is allocated.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pk {

class TStream;

// Writes the text in UTF-8, without a byte-order mark, at the stream's
// position (the stream is not rewound).
void WriteTextToStream(TStream& stream, std::u16string_view text);

// Reads count bytes from the source's position as UTF-8 text; bytes that are
// not well-formed UTF-8 are read in the system ANSI code page instead. A
// negative count, or one beyond the bytes left, raises EReadError "Stream read
// error" before anything is read.
std::u16string ReadStreamText(TStream& source, int64_t count);

// As ReadStreamText, in the system ANSI code page, as 8-bit text in that code
// page.
std::string ReadStreamAnsiText(TStream& source, int64_t count);

}  // namespace pk
