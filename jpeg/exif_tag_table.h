// The table of the EXIF tags the component knows: each tag's name, number,
// value type, directory and expected count. The value lines of TExif are named
// after these rows, and the EXIF reader and writer place and type each value by
// them. The table is constant data shared by every object.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "jpeg/ifd_data_type.h"

namespace pk {

// The directory a tag belongs to.
enum class TTagType : uint8_t {
  ttTIFF,       // IFD0
  ttExif,       // the EXIF sub-directory
  ttGPS,        // the GPS sub-directory
  ttThumbnail,  // IFD1
};

struct TExifLookupRecord {
  std::u16string_view TagName;
  uint16_t Code = 0;
  TIFDDataType DataType = TIFDDataType::ifdByte;
  TTagType TagType = TTagType::ttTIFF;
  // The number of values the tag carries, 0 for any number; for ifdASCII the
  // byte count including the terminating zero.
  uint8_t Count = 0;
};

inline constexpr size_t kExifTagCount = 119;
using TExifLookup = std::array<TExifLookupRecord, kExifTagCount>;

const TExifLookup& ExifTagTable();

// The five Windows XP text tags ("XPTitle" to "XPSubject"), whose BYTE values
// hold 16-bit characters.
constexpr bool IsXPTag(const TExifLookupRecord& row) { return row.Code >= 0x9C9B && row.Code <= 0x9C9F; }

// The first row whose name equals tag_name, letter case ignored (exactly, with
// match_case); nullptr when none. The one row without a name matches nothing.
const TExifLookupRecord* FindExifTagByName(std::u16string_view tag_name, bool match_case = false);
// The first row with that number; nullptr when none.
const TExifLookupRecord* FindExifTagByCode(uint16_t code);

}  // namespace pk
