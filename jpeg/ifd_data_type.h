// The value type of an EXIF or TIFF directory entry. The ordinals are the
// component's own (0 to 7 in declaration order), not the TIFF type numbers,
// which are noted beside each value.
#pragma once

#include <cstdint>

namespace pk {

enum class TIFDDataType : uint8_t {
  ifdByte,       // 1
  ifdASCII,      // 2
  ifdShort,      // 3
  ifdLong,       // 4
  ifdRational,   // 5
  ifdUndefined,  // 7
  ifdSRational,  // 10
  ifdSShort,     // 8
};

}  // namespace pk
