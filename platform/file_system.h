// The file operation the component needs beyond streams and the existence
// test of core/file_utils.h: replacing a file's contents all at once. It
// writes a temporary file in the target's folder and renames it over the
// target, so a reader (or a failed write) never sees a half-written file: the
// old file stays intact until the new one is complete.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pk {

// Writes bytes as the file's new contents through a temporary file in the same
// folder. On failure raises EFCreateError (the temporary cannot be made) or
// EWriteError, and leaves no temporary file behind and the target untouched.
void ReplaceFileContents(const std::u16string& file_name, std::span<const uint8_t> bytes);

}  // namespace pk
