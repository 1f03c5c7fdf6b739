// File-name helpers over std::filesystem, which reads the attributes the same
// way on both builds; every failure to read them counts as "no file".
#include "core/file_utils.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace pk {

bool IsExistingFile(std::u16string_view name) {
  if (name.empty()) return false;
  try {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(name), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
  } catch (const std::exception&) {
    // A name that does not convert to the system's encoding names no file.
    return false;
  }
}

std::u16string StripLeadingDot(std::u16string_view text) {
  if (text.size() > 1 && text.front() == u'.') text.remove_prefix(1);
  return std::u16string(text);
}

}  // namespace pk
