// The temporary name of a staged file (short and random, beside its target),
// and a staged file made with its contents at once.
#include "platform/file_system.h"

#include <random>
#include <string_view>

#include "platform/stream.h"

namespace pk {

TStagedFile::TStagedFile(const std::u16string& target, std::span<const uint8_t> bytes) : TStagedFile(target) {
  Contents().WriteBytes(bytes);
}

std::u16string TemporaryNameBeside(const std::u16string& target) {
#ifdef _WIN32
  constexpr std::u16string_view kSeparators = u"\\/";
#else
  constexpr std::u16string_view kSeparators = u"/";
#endif
  const size_t slash = target.find_last_of(kSeparators);
  std::u16string name = slash == std::u16string::npos ? std::u16string() : target.substr(0, slash + 1);
  std::random_device source;
  const uint64_t random = (uint64_t{source()} << 32) | source();
  name += u".pk";
  for (int shift = 60; shift >= 0; shift -= 4) name += u"0123456789abcdef"[(random >> shift) & 0xF];
  name += u".tmp";
  return name;
}

}  // namespace pk
