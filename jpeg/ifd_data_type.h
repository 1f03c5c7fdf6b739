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

// The type number a directory entry carries for the type.
constexpr uint8_t TiffTypeNumber(TIFDDataType type) {
  constexpr uint8_t kNumbers[] = {1, 2, 3, 4, 5, 7, 10, 8};
  return kNumbers[static_cast<uint8_t>(type)];
}

}  // namespace pk
