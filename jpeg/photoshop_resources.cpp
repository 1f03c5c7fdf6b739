#include "jpeg/photoshop_resources.h"

#include <algorithm>
#include <limits>

#include "core/byte_reader.h"
#include "core/parse_error.h"
#include "jpeg/messages.h"
#include "platform/messages.h"

namespace pk {
namespace {

constexpr uint8_t kSignature[] = {'8', 'B', 'I', 'M'};
constexpr uint8_t kDatasetTag = 0x1C;
constexpr uint8_t kApplicationRecord = 2;
// A dataset length with the top bit set is the extended form: its low 15 bits
// count the bytes of the real length that follow.
constexpr uint16_t kExtendedLength = 0x8000;
constexpr size_t kStandardHeader = 5;
constexpr size_t kExtendedHeader = 9;  // 1C, record, number, 80 04, 4-byte length
constexpr uint64_t kMaxApp13Length = 0xFFFF;

bool IsKept(TSegmentType type) {
  return type == kIPTCResource || type == kCopyrightFlagResource || type == kURLResource;
}

void AppendBytesAsText(std::span<const uint8_t> bytes, std::u16string& text) {
  text.append(bytes.begin(), bytes.end());
}

void AppendLowBytes(const std::u16string& text, std::vector<uint8_t>& out) {
  for (char16_t c : text) out.push_back(static_cast<uint8_t>(c));
}

void AppendU32(uint64_t value, std::vector<uint8_t>& out) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// The extended length's count of bytes, then the length itself. A length
// wider than the data can hold is kept at its maximum; the caller clamps it.
bool ReadExtendedLength(ByteReader& reader, uint16_t field, uint64_t& length) {
  const size_t count = field & ~kExtendedLength;
  if (count > reader.Remaining()) return false;
  length = 0;
  for (uint8_t b : reader.Bytes(count)) {
    length = length > (std::numeric_limits<uint64_t>::max() >> 8) ? std::numeric_limits<uint64_t>::max()
                                                                    : length << 8 | b;
  }
  return true;
}

// Walks the IPTC-IIM datasets in sequence: 1C, record, number, length, data.
// Datasets of other records are stepped over by their length, so an envelope
// record of odd length cannot put the walk out of step; only a byte that does
// not start a dataset is passed over one at a time until a tag comes. A length
// that runs past the end takes the bytes that remain.
void ReadIPTCDatasets(std::span<const uint8_t> data, TSegmentList& datasets) {
  ByteReader reader(data, ByteOrder::boBigEndian);
  while (reader.Remaining() >= kStandardHeader) {
    if (reader.U8() != kDatasetTag) continue;
    const uint8_t record = reader.U8();
    const uint8_t number = reader.U8();
    const uint16_t field = reader.U16();
    uint64_t length = field;
    if ((field & kExtendedLength) != 0 && !ReadExtendedLength(reader, field, length)) break;
    const auto bytes = reader.Bytes(static_cast<size_t>(std::min<uint64_t>(length, reader.Remaining())));
    if (record != kApplicationRecord) continue;
    auto dataset = std::make_unique<TSegmentData>();
    dataset->SegmentType = number;
    AppendBytesAsText(bytes, dataset->Text);
    datasets.Add(std::move(dataset));
  }
}

// Consumes bytes up to the first one that breaks "8BIM"; true when all four
// matched. A breaking byte is consumed too, so "88BIM" is no header.
bool ReadSignature(ByteReader& reader) {
  for (uint8_t expected : kSignature) {
    if (reader.Remaining() == 0 || reader.U8() != expected) return false;
  }
  return true;
}

// The stored length is the size made even; it must lie within the data.
std::span<const uint8_t> ReadSizedData(ByteReader& reader) {
  const uint64_t size = reader.U32();
  const uint64_t stored = size + (size & 1);
  if (stored > reader.Remaining()) throw EReadError(msg::kStreamReadError);
  return reader.Bytes(static_cast<size_t>(stored));
}

std::unique_ptr<TBIMSegment> ReadResource(ByteReader& reader, TSegmentType type) {
  auto segment = std::make_unique<TBIMSegment>();
  segment->SegmentType = type;
  const uint8_t name_length = reader.U8();
  std::u16string name;
  AppendBytesAsText(reader.Bytes(name_length), name);
  segment->SetIDString(std::move(name));
  // Length byte and name together take an even number of bytes.
  if (name_length % 2 == 0) reader.Skip(1);
  segment->ReadData(ReadSizedData(reader));
  return segment;
}

size_t DatasetHeaderSize(size_t text_length) {
  return text_length < kExtendedLength ? kStandardHeader : kExtendedHeader;
}

void WriteDataset(const TSegmentData& dataset, std::vector<uint8_t>& out) {
  const size_t length = dataset.Text.size();
  out.insert(out.end(), {kDatasetTag, kApplicationRecord, dataset.SegmentType});
  if (DatasetHeaderSize(length) == kStandardHeader) {
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(length));
  } else {
    out.insert(out.end(), {0x80, 0x04});
    AppendU32(length, out);
  }
  AppendLowBytes(dataset.Text, out);
}

void WriteBlock(const TBIMSegment& segment, std::vector<uint8_t>& out) {
  out.insert(out.end(), std::begin(kSignature), std::end(kSignature));
  out.push_back(segment.SegmentType.Byte1);
  out.push_back(segment.SegmentType.Byte2);
  // The length byte holds at most 255 characters of the name.
  const size_t name_length = std::min<size_t>(segment.IDString().size(), 0xFF);
  out.push_back(static_cast<uint8_t>(name_length));
  AppendLowBytes(segment.IDString().substr(0, name_length), out);
  if (name_length % 2 == 0) out.push_back(0);
  const uint64_t size = segment.DataSize();
  if (size > std::numeric_limits<uint32_t>::max()) throw EWriteError(msg::kStreamWriteError);
  AppendU32(size, out);
  segment.WriteData(out);
  if (size % 2 != 0) out.push_back(0);
}

void ReplaceContents(TMemoryStream& stream, const std::vector<uint8_t>& bytes) {
  stream.SetSize(0);
  stream.SetPosition(0);
  stream.WriteBytes(bytes);
}

}  // namespace

TSegmentData& TBIMSegment::AddSegment() {
  return FSegmentList.GetItem(FSegmentList.Add(std::make_unique<TSegmentData>()));
}

uint64_t TBIMSegment::DataSize() const {
  if (SegmentType != kIPTCResource) return FSegmentText.size();
  uint64_t size = 0;
  for (const auto& dataset : FSegmentList) size += DatasetHeaderSize(dataset->Text.size()) + dataset->Text.size();
  return size;
}

void TBIMSegment::ReadSegment(TMemoryStream& data) {
  ByteReader reader(data.Bytes(), ByteOrder::boBigEndian);
  try {
    reader.Seek(static_cast<size_t>(data.Position()));
    ReadData(ReadSizedData(reader));
  } catch (const ParseError&) {
    throw EReadError(msg::kStreamReadError);
  }
  data.SetPosition(static_cast<int64_t>(reader.Position()));
}

void TBIMSegment::ReadData(std::span<const uint8_t> data) {
  if (SegmentType == kIPTCResource) {
    ReadIPTCDatasets(data, FSegmentList);
  } else if (SegmentType == kCopyrightFlagResource) {
    // The pad byte belongs to the text: the flag is its first character.
    AppendBytesAsText(data, FSegmentText);
  } else if (SegmentType == kURLResource) {
    for (uint8_t b : data) {
      if (b != 0) FSegmentText.push_back(b);
    }
  }
}

void TBIMSegment::WriteData(std::vector<uint8_t>& out) const {
  if (SegmentType != kIPTCResource) {
    AppendLowBytes(FSegmentText, out);
    return;
  }
  for (const auto& dataset : FSegmentList) WriteDataset(*dataset, out);
}

TBIMSegment& TApp14Segment::AddBIMSegment() { return FBIMList.GetItem(FBIMList.Add(std::make_unique<TBIMSegment>())); }

void TApp14Segment::ReadSegment(TMemoryStream& data) {
  const auto bytes = data.Bytes();
  const auto zero = std::find(bytes.begin(), bytes.end(), 0);
  FIDString.assign(bytes.begin(), zero);
  const size_t start = static_cast<size_t>(zero - bytes.begin());
  ReadResources(bytes, std::min(start + 1, bytes.size()));
  data.SetPosition(data.Size());
}

void TApp14Segment::ReadSegmentPSD(TMemoryStream& data) {
  FIDString.clear();
  ReadResources(data.Bytes(), 0);
  data.SetPosition(data.Size());
}

void TApp14Segment::ReadResources(std::span<const uint8_t> data, size_t start) {
  ByteReader reader(data, ByteOrder::boBigEndian);
  reader.Seek(start);
  try {
    while (reader.Remaining() >= 2) {
      if (!ReadSignature(reader) || reader.Remaining() < 2) continue;
      const TSegmentType type{reader.U8(), reader.U8()};
      // An unkept block is not skipped by its size: the scan goes on through
      // its name and data, where another "8BIM" may start a header.
      if (IsKept(type)) FBIMList.Add(ReadResource(reader, type));
    }
  } catch (const ParseError&) {
    throw EReadError(msg::kStreamReadError);
  }
}

void TApp14Segment::WriteResources(std::vector<uint8_t>& out) const {
  for (const auto& segment : FBIMList) WriteBlock(*segment, out);
}

void TApp14Segment::GetOutput(TMemoryStream& app14_stream) const {
  std::vector<uint8_t> out = {0xFF, 0xED, 0x00, 0x00};
  AppendLowBytes(FIDString, out);
  out.push_back(0);
  WriteResources(out);
  const uint64_t length = out.size() - 2;
  if (length > kMaxApp13Length) throw EWriteError(msg::kApp13TooLarge);
  out[2] = static_cast<uint8_t>(length >> 8);
  out[3] = static_cast<uint8_t>(length);
  ReplaceContents(app14_stream, out);
  app14_stream.SetPosition(0);
}

void TApp14Segment::GetOutputPSD(TMemoryStream& app14_stream) const {
  std::vector<uint8_t> out;
  WriteResources(out);
  ReplaceContents(app14_stream, out);
}

}  // namespace pk
