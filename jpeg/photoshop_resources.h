// Photoshop image resources: the "8BIM" blocks that carry the IPTC record in a
// JPEG APP13 segment, a PSD image-resource section or a TIFF tag. Only the
// three kinds the IPTC record needs are kept (the IPTC datasets 0x0404, the
// copyright flag 0x040A and the URL 0x040B); every other block is passed over.
// Texts hold one character per stored byte: reading maps byte b to U+00bb,
// writing stores the low byte of each character.
//
// The bytes are untrusted uploads: every size is checked against the bytes
// that remain before anything is taken, so a resource that claims more than
// the data holds raises EReadError "Stream read error" and never allocates
// for the claim.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jpeg/owning_list.h"
#include "platform/stream.h"

namespace pk {

// A resource identifier: Byte1 is the high byte, the first in the file.
struct TSegmentType {
  uint8_t Byte1 = 0;
  uint8_t Byte2 = 0;
  uint16_t Id() const { return static_cast<uint16_t>(Byte1 << 8 | Byte2); }
  bool operator==(const TSegmentType&) const = default;
};

inline constexpr TSegmentType kIPTCResource{0x04, 0x04};
inline constexpr TSegmentType kCopyrightFlagResource{0x04, 0x0A};
inline constexpr TSegmentType kURLResource{0x04, 0x0B};

// One dataset of IPTC record 2.
class TSegmentData {
 public:
  uint8_t SegmentType = 0;  // the dataset number, 120 for the caption
  std::u16string Text;
};

using TSegmentList = TOwningList<TSegmentData>;

// One kept resource block.
class TBIMSegment {
 public:
  TSegmentType SegmentType;

  const std::u16string& IDString() const { return FIDString; }
  void SetIDString(std::u16string name) { FIDString = std::move(name); }

  int32_t SegmentCount() const { return FSegmentList.Count(); }
  TSegmentData& GetItem(int32_t index) { return FSegmentList.GetItem(index); }
  const TSegmentData& GetItem(int32_t index) const { return FSegmentList.GetItem(index); }
  void SetItem(int32_t index, std::unique_ptr<TSegmentData> item) { FSegmentList.SetItem(index, std::move(item)); }
  // Appends an empty dataset (number 0, no text) and returns it.
  TSegmentData& AddSegment();

  const std::u16string& SegmentText() const { return FSegmentText; }
  void SetSegmentText(std::u16string text) { FSegmentText = std::move(text); }

  // The size the writer stores in the block's size field.
  uint64_t DataSize() const;

  // Reads the size and data of one block from the stream's position, which
  // ends past the data and its pad byte.
  void ReadSegment(TMemoryStream& data);
  // Takes the block's data (already cut to its stored length) by identifier.
  void ReadData(std::span<const uint8_t> data);
  // Appends the block's data, DataSize bytes, without a pad byte.
  void WriteData(std::vector<uint8_t>& out) const;

 private:
  TSegmentList FSegmentList;
  std::u16string FSegmentText;
  std::u16string FIDString;
};

using TBIMList = TOwningList<TBIMSegment>;

// The resource sequence of one APP13 segment, PSD section or TIFF tag. (The
// class keeps its historical name; the segment it reads and writes is APP13.)
class TApp14Segment {
 public:
  const std::u16string& IDString() const { return FIDString; }
  void SetIDString(std::u16string id) { FIDString = std::move(id); }

  int32_t BIMCount() const { return FBIMList.Count(); }
  TBIMSegment& GetBIMSegment(int32_t index) { return FBIMList.GetItem(index); }
  const TBIMSegment& GetBIMSegment(int32_t index) const { return FBIMList.GetItem(index); }
  void SetBIMSegment(int32_t index, std::unique_ptr<TBIMSegment> value) { FBIMList.SetItem(index, std::move(value)); }
  // Appends an empty resource (identifier (0, 0), no name, no data).
  TBIMSegment& AddBIMSegment();

  // An APP13 payload (the bytes after the length field) from the stream's
  // start: the identifier string up to its zero byte, then the resources.
  // Appends the kept resources; one that runs past the end raises EReadError
  // "Stream read error" and those before it stay.
  void ReadSegment(TMemoryStream& data);
  // The same for a bare resource sequence; IDString becomes empty.
  void ReadSegmentPSD(TMemoryStream& data);

  // The whole APP13 segment, marker and length included, written from
  // position 0 of the stream, which is emptied first; the position ends at
  // 0. A segment longer than its length field allows raises EWriteError.
  void GetOutput(TMemoryStream& app14_stream) const;
  // The resource blocks alone, from position 0; the position ends after them.
  void GetOutputPSD(TMemoryStream& app14_stream) const;

 private:
  void ReadResources(std::span<const uint8_t> data, size_t start);
  void WriteResources(std::vector<uint8_t>& out) const;

  TBIMList FBIMList;
  std::u16string FIDString;
};

}  // namespace pk
