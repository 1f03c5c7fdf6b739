// The IFD1 thumbnail of an EXIF block: its JPEG bytes, its values as
// name=value lines, and its directory entries as read. The EXIF reader fills
// it and the writers write it back; decoding the thumbnail into a picture is
// left to whoever shows it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string_list.h"
#include "jpeg/ifd_data_type.h"
#include "platform/stream.h"

namespace pk {

// One 12-byte directory entry exactly as read; Offset is the value-or-offset
// field, not interpreted.
struct TIFDDetailRecord {
  uint16_t Tag = 0;
  TIFDDataType DataType = TIFDDataType::ifdByte;
  uint32_t Count = 0;
  uint32_t Offset = 0;
};

class TEXIFThumbnail {
 public:
  uint16_t IFDCount() const { return FIFDCount; }
  void SetIFDCount(uint16_t count) { FIFDCount = count; }
  TMemoryStream& ThumbnailImage() { return FThumbnailImage; }
  const TMemoryStream& ThumbnailImage() const { return FThumbnailImage; }
  void SetThumbnailImage(TMemoryStream image) { FThumbnailImage = std::move(image); }
  TWideStringList& TagData() { return FTagData; }
  const TWideStringList& TagData() const { return FTagData; }
  void SetTagData(TWideStringList tag_data) { FTagData = std::move(tag_data); }

  // Empties the image and the lines and sets the count to 0; IFDDetails stays,
  // since the reader replaces it whole.
  void Clear();

  std::vector<TIFDDetailRecord> IFDDetails;

 private:
  uint16_t FIFDCount = 0;
  TMemoryStream FThumbnailImage;
  TWideStringList FTagData;
};

}  // namespace pk
