#include "jpeg/file_info.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"
#include "core/parse_error.h"
#include "jpeg/jpeg_error.h"
#include "jpeg/messages.h"
#include "platform/exceptions.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

// File Info file header: AA 01, the copyright flag, three zero bytes, the URL
// count byte; the URL's byte pairs and two zero bytes follow.
constexpr uint8_t kFileInfoMagic[] = {0xAA, 0x01};
constexpr size_t kFileInfoMinimum = 9;
constexpr size_t kFlagOffset = 2;
constexpr size_t kURLCountOffset = 6;
// The count byte holds the URL's length plus one.
constexpr size_t kMaxFileInfoURL = 0xFE;

// A whole decimal integer with optional leading blanks and sign, the way the
// IPTC texts of numbers, dates and times are read.
std::optional<int64_t> ParseWholeInteger(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > INT32_MAX + int64_t{1}) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return value;
}

// Characters first .. first + count - 1 (0-based), cut at the text's end.
std::u16string_view Part(std::u16string_view text, size_t first, size_t count) {
  return first < text.size() ? text.substr(first, count) : std::u16string_view();
}

TDateTime DateFromText(const std::u16string& text) {
  const auto year = ParseWholeInteger(Part(text, 0, 4));
  const auto month = ParseWholeInteger(Part(text, 4, 2));
  const auto day = ParseWholeInteger(Part(text, 6, 2));
  TDateTime value = 0;
  if (!year || !month || !day || *year == 0 || *month == 0 || *day == 0) return 0;
  return TryEncodeDate(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day), value) ? value : 0;
}

TDateTime TimeFromText(const std::u16string& text) { return IPTCTimeToDateTime(text); }

// Years are padded to four digits so that every date written reads back.
std::u16string DateToText(TDateTime value) {
  if (value == 0) return {};
  uint16_t year, month, day;
  try {
    DecodeDate(value, year, month, day);
  } catch (const EConvertError&) {
    return {};
  }
  char text[32];
  std::snprintf(text, sizeof text, "%04u%02u%02u", unsigned{year}, unsigned{month}, unsigned{day});
  return Utf8ToUtf16(text);
}

std::u16string TimeToText(TDateTime value) {
  if (value == 0) return {};
  uint16_t hour, minute, second, msec;
  try {
    DecodeTime(value, hour, minute, second, msec);
  } catch (const EConvertError&) {
    return {};
  }
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned{hour}, unsigned{minute}, unsigned{second});
  return Utf8ToUtf16(text);
}

void TakeFirst(std::u16string& field, const std::u16string& text) {
  if (field.empty()) field = text;
}

void TakeLast(std::u16string& field, const std::u16string& text) { field = text; }

// The File Info file holds the dataset bytes without the resource's pad byte;
// they are read as the resource's data, made even as a resource's are.
void ReadFileInfoDatasets(std::span<const uint8_t> bytes, TApp14Segment& app14) {
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  if (data.size() % 2 != 0) data.push_back(0);
  TBIMSegment& resource = app14.AddBIMSegment();
  resource.SegmentType = kIPTCResource;
  resource.ReadData(data);
}

}  // namespace

void AddIPTCDataset(TBIMSegment& resource, uint8_t number, const std::u16string& text) {
  if (text.empty()) return;
  TSegmentData& dataset = resource.AddSegment();
  dataset.SegmentType = number;
  dataset.Text = text;
}

TDateTime IPTCTimeToDateTime(const std::u16string& text) {
  if (text.size() < 6) return 0;
  std::u16string separated = text;
  if (text[2] != u':' && text[2] != u'.' && text[2] != u'-') {
    separated.insert(4, 1, u':');
    separated.insert(2, 1, u':');
  }
  const auto hour = ParseWholeInteger(Part(separated, 0, 2));
  const auto minute = ParseWholeInteger(Part(separated, 3, 2));
  const auto second = ParseWholeInteger(Part(separated, 6, 2));
  TDateTime value = 0;
  if (!hour || !minute || !second || *hour < 0 || *minute < 0 || *second < 0) return 0;
  return TryEncodeTime(static_cast<int>(*hour), static_cast<int>(*minute), static_cast<int>(*second), 0, value)
             ? value
             : 0;
}

void TFileInfo::ReadDataset(const TSegmentData& dataset) {
  const std::u16string& text = dataset.Text;
  switch (dataset.SegmentType) {
#define PK_READ_TEXT(member, number, rule, written) \
  case number:                                      \
    Take##rule(member, text);                       \
    return;
    PK_IPTC_TEXT_FIELDS(PK_READ_TEXT)
#undef PK_READ_TEXT
#define PK_READ_DATE(member, number, kind) \
  case number:                             \
    member = kind##FromText(text);         \
    return;
    PK_IPTC_DATE_FIELDS(PK_READ_DATE)
#undef PK_READ_DATE
    case kIPTCUrgency:
      // The field keeps the low 8 bits: "300" is 44.
      Urgency = static_cast<uint8_t>(ParseWholeInteger(text).value_or(0));
      return;
    case kIPTCKeywords:
      Keywords.Add(text);
      return;
    case kIPTCSupplementalCategory:
      SupplementalCategories.Add(text);
      return;
    default:
      return;
  }
}

void TFileInfo::ReadFromAPP14(const TApp14Segment& app14) {
  for (int32_t i = 0; i < app14.BIMCount(); ++i) {
    const TBIMSegment& resource = app14.GetBIMSegment(i);
    if (resource.SegmentType == kIPTCResource) {
      if (resource.SegmentCount() == 0) return;
      for (int32_t d = 0; d < resource.SegmentCount(); ++d) ReadDataset(resource.GetItem(d));
    } else if (resource.SegmentType == kCopyrightFlagResource) {
      CopyrightFlag = !resource.SegmentText().empty() && resource.SegmentText()[0] == u'\x01';
    } else if (resource.SegmentType == kURLResource) {
      ImageURL = resource.SegmentText();
    }
  }
}

TBIMSegment TFileInfo::BuildIPTCResource() const {
  TBIMSegment resource;
  resource.SegmentType = kIPTCResource;
  resource.SetIDString(u"Caption");
  AddIPTCDataset(resource, kIPTCRecordVersion, std::u16string{u'\x00', u'\x02'});
#define PK_WRITE_TEXT(member, number, rule, written) \
  if (written) AddIPTCDataset(resource, number, member);
  PK_IPTC_TEXT_FIELDS(PK_WRITE_TEXT)
#undef PK_WRITE_TEXT
#define PK_WRITE_DATE(member, number, kind) AddIPTCDataset(resource, number, kind##ToText(member));
  PK_IPTC_DATE_FIELDS(PK_WRITE_DATE)
#undef PK_WRITE_DATE
  for (int32_t i = 0; i < Keywords.Count(); ++i) AddIPTCDataset(resource, kIPTCKeywords, Keywords.GetItem(i));
  for (int32_t i = 0; i < SupplementalCategories.Count(); ++i) {
    AddIPTCDataset(resource, kIPTCSupplementalCategory, SupplementalCategories.GetItem(i));
  }
  if (Urgency != 0) AddIPTCDataset(resource, kIPTCUrgency, Utf8ToUtf16(std::to_string(Urgency)));
  return resource;
}

TApp14Segment TFileInfo::WriteToApp14() const {
  TApp14Segment app14;
  app14.SetIDString(u"Photoshop 3.0");
  app14.AddBIMSegment() = BuildIPTCResource();
  if (!ImageURL.empty()) {
    TBIMSegment& url = app14.AddBIMSegment();
    url.SegmentType = kURLResource;
    url.SetIDString(u"Image URL");
    url.SetSegmentText(ImageURL);
  }
  if (CopyrightFlag) {
    TBIMSegment& flag = app14.AddBIMSegment();
    flag.SegmentType = kCopyrightFlagResource;
    flag.SetIDString(u"Copyright Flag");
    flag.SetSegmentText(std::u16string(1, u'\x01'));
  }
  return app14;
}

void TFileInfo::SaveToStream(TStream& stream) const {
  const uint8_t header[] = {kFileInfoMagic[0], kFileInfoMagic[1], static_cast<uint8_t>(CopyrightFlag ? 1 : 0), 0, 0, 0};
  std::vector<uint8_t> out(std::begin(header), std::end(header));
  // A longer URL would wrap the count byte and make the file unreadable.
  const size_t url_length = std::min(ImageURL.size(), kMaxFileInfoURL);
  out.push_back(static_cast<uint8_t>(url_length + 1));
  for (size_t i = 0; i < url_length; ++i) out.insert(out.end(), {0, static_cast<uint8_t>(ImageURL[i])});
  out.insert(out.end(), {0, 0});
  BuildIPTCResource().WriteData(out);
  stream.WriteBytes(out);
}

void TFileInfo::LoadFromStream(TStream& stream) {
  Clear();
  stream.SetPosition(0);
  const int64_t size = stream.Size();
  if (size < static_cast<int64_t>(kFileInfoMinimum)) throw EJPEG(msg::kInvalidFileInfo);
  try {
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    ByteReader reader(bytes);
    reader.Seek(kFlagOffset);
    CopyrightFlag = reader.U8() == 1;
    reader.Seek(kURLCountOffset);
    const uint8_t count = reader.U8();
    if (count > 1) {
      // Each URL character is a byte pair whose second byte is the character.
      const auto pairs = reader.Bytes(2 * (count - size_t{1}));
      for (size_t i = 1; i < pairs.size(); i += 2) ImageURL.push_back(pairs[i]);
    }
    reader.Skip(2);
    if (reader.Remaining() == 0) return;
    TApp14Segment app14;
    ReadFileInfoDatasets(reader.Bytes(reader.Remaining()), app14);
    ReadFromAPP14(app14);
    HasFileInfo = true;
  } catch (const ParseError&) {
    throw EJPEG(msg::kInvalidFileInfo);
  } catch (const EStreamError&) {
    throw EJPEG(msg::kInvalidFileInfo);
  }
}

}  // namespace pk
