// The EXIF metadata of one image as text: one line per tag, the tag's name,
// "=" and its value text (jpeg/exif_value_text.h). Names compare without
// regard to letter case and are always stored in the tag table's spelling.
// Setting a value checks it against the tag table and refuses, with false,
// anything that could not be written back as the tag; the user comment and
// the Windows XP text tags have their own encoders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/wide_string_list.h"
#include "jpeg/exif_tag_table.h"

namespace pk {

class TExif {
 public:
  TWideStringList& ExifData() { return FExifData; }
  const TWideStringList& ExifData() const { return FExifData; }
  void SetExifData(TWideStringList data) { FExifData = std::move(data); }
  bool ConvertUTF8() const { return FConvertUTF8; }
  void SetConvertUTF8(bool value) { FConvertUTF8 = value; }
  // Whether the block carries an IFD1 thumbnail.
  bool HasThumbnail() const { return FHasThumbnail; }
  void SetHasThumbnail(bool value) { FHasThumbnail = value; }

  // The length field of the APP1 segment last given to the reader.
  uint16_t App1Length = 0;
  // While set, the reader fills the thumbnail record instead of the lines.
  bool ReadingThumbnail = false;

  static const TExifLookup& ExifLookup() { return ExifTagTable(); }

  void Clear() { FExifData.Clear(); }
  // Copies the lines and ConvertUTF8; HasThumbnail stays, since the thumbnail
  // itself is not copied.
  void Assign(const TExif& source);

  // Stores the value normalised for the tag named `attribute` (any letter
  // case) as the last line, replacing the tag's line, and then sets
  // "ExifVersion" to "30,32,32,30" and, when a GPS tag is present,
  // "GPSVersionID" to "2,2,0,0". False, with the lines unchanged, for an
  // unknown name or a value that does not fit the tag.
  bool SetValue(std::u16string_view attribute, std::u16string_view value);
  // Deletes the tag's line when it has a non-empty value.
  bool DeleteValue(std::u16string_view attribute);

  // The table's Count, or 0 for an unknown name.
  int32_t GetDataCount(std::u16string_view tag_name) const;
  // The tag's TIFF type number (1, 2, 3, 4, 5, 7, 8 or 10), or 0 for an
  // unknown name.
  uint8_t GetDataType(std::u16string_view tag_name) const;
  // The name of the tag with that number, or empty.
  std::u16string GetTagName(uint16_t code) const;
  // Fills `record` with the row named exactly `tag_name` (letter case
  // included) and returns true; otherwise sets record.Code to 0, leaves the
  // other fields and returns false.
  static bool FindTag(std::u16string_view tag_name, TExifLookupRecord& record);

  // "UserComment" as text: empty unless it carries the ASCII or UNICODE
  // character-code prefix (either letter case) and at least one byte more.
  std::u16string ReadUserComment() const;
  // Stores the text as ASCII when every character is below 256, else as
  // UNICODE (16-bit characters, low byte first).
  void WriteUserComment(std::u16string_view text);
  // One of the five XP tags as text (16-bit characters, low byte first); empty
  // for any other name or a value that is not a list of bytes.
  std::u16string ReadXPInfo(std::u16string_view tag_name) const;
  // Stores the text in one of the five XP tags, without a terminating zero;
  // any other name does nothing.
  void WriteXPInfo(std::u16string_view tag_name, std::u16string_view text);

 private:
  TWideStringList FExifData;
  bool FConvertUTF8 = true;
  bool FHasThumbnail = false;
};

}  // namespace pk
