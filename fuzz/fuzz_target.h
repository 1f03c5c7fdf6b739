// The fuzz targets: one entry function per parser of untrusted bytes. An entry
// feeds the bytes to its parser, treats the parser's documented errors as a
// correct outcome, and checks what must hold of every result it gets
// (FuzzRequire); any other exception escapes and any broken rule aborts. The
// libFuzzer executables and the regression test of the ordinary suite call
// the same entries, so a crasher kept under tests/fuzz/regressions/<name>/ is
// replayed by every build.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pk::fuzz {

using TFuzzEntry = void (*)(std::span<const uint8_t> data);

struct TFuzzTarget {
  std::string_view name;  // the executable is fuzz_<name>
  TFuzzEntry entry;
};

std::span<const TFuzzTarget> FuzzTargets();
// The target of that name, or null.
const TFuzzTarget* FindFuzzTarget(std::string_view name);

// Aborts with the rule's description when it does not hold.
void FuzzRequire(bool holds, const char* rule);

// The bytes as UTF-16 code units, low byte first (a trailing odd byte is
// dropped), so unpaired surrogates and every other unit reach the parser.
std::u16string Utf16Units(std::span<const uint8_t> data);

// Takes the first bytes of data as a little-endian number (fewer when data is
// short) and leaves data after them: a target's parameters come first.
uint32_t TakeU32(std::span<const uint8_t>& data);
uint8_t TakeU8(std::span<const uint8_t>& data);

}  // namespace pk::fuzz
