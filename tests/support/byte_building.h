// Building test inputs byte by byte: text and byte lists appended to a buffer.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace pk::test {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& b, std::string_view text) { b.insert(b.end(), text.begin(), text.end()); }
inline void Append(Bytes& b, std::initializer_list<uint8_t> bytes) { b.insert(b.end(), bytes); }

}  // namespace pk::test
