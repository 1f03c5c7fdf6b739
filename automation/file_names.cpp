#include "automation/file_names.h"

namespace pk {

namespace {

// Windows names also split at "\" and after a drive letter's ":"; natively only
// "/" separates, as the system does.
#ifdef _WIN32
constexpr std::u16string_view kPathSeparators = u"/\\:";
#else
constexpr std::u16string_view kPathSeparators = u"/";
#endif

size_t FilePartStart(std::u16string_view path) {
  const size_t last = path.find_last_of(kPathSeparators);
  return last == std::u16string_view::npos ? 0 : last + 1;
}

}  // namespace

std::u16string TrimText(std::u16string_view text) {
  size_t first = 0;
  size_t end = text.size();
  while (first < end && text[first] <= u' ') ++first;
  while (end > first && text[end - 1] <= u' ') --end;
  return std::u16string(text.substr(first, end - first));
}

std::u16string ExtractFileName(std::u16string_view path) {
  return std::u16string(path.substr(FilePartStart(path)));
}

std::u16string ExtractFileExt(std::u16string_view path) {
  const size_t start = FilePartStart(path);
  const size_t dot = path.find_last_of(u'.');
  if (dot == std::u16string_view::npos || dot < start) return {};
  return std::u16string(path.substr(dot));
}

std::u16string LowerCaseAscii(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
  }
  return result;
}

}  // namespace pk
