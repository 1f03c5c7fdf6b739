// TExif: the value lines and the operations on single tags. Every setter
// builds the new list aside and swaps it in, so a refusal leaves the lines as
// they were.
#include "jpeg/exif.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "jpeg/exif_number_text.h"
#include "jpeg/exif_value_text.h"

namespace pk {
namespace {

// The character-code prefixes of "UserComment", as value text.
constexpr std::u16string_view kAsciiCommentPrefix = u"41,53,43,49,49,00,00,00,";
constexpr std::u16string_view kUnicodeCommentPrefix = u"55,4E,49,43,4F,44,45,00,";
constexpr std::u16string_view kExifVersion = u"30,32,32,30";
constexpr std::u16string_view kGPSVersionID = u"2,2,0,0";

std::u16string Line(std::u16string_view name, std::u16string_view value) {
  return std::u16string(name) + u"=" + std::u16string(value);
}

// Rewrites the tag's line, or adds it when there is none.
void SetLine(TWideStringList& lines, std::u16string_view name, std::u16string_view value) {
  const int32_t index = lines.IndexOfName(name);
  if (index < 0) {
    lines.Add(Line(name, value));
  } else {
    lines.SetItem(index, Line(name, value));
  }
}

bool HasGPSLine(const TWideStringList& lines) {
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const TExifLookupRecord* row = FindExifTagByName(lines.GetNames(i));
    if (row && row->TagType == TTagType::ttGPS) return true;
  }
  return false;
}

const TExifLookupRecord* FindXPTag(std::u16string_view tag_name) {
  const TExifLookupRecord* row = FindExifTagByName(tag_name);
  return row && IsXPTag(*row) ? row : nullptr;
}

std::optional<uint8_t> HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return static_cast<uint8_t>(c - u'0');
  const char16_t upper = FoldAsciiLetter(c);
  if (upper >= u'A' && upper <= u'F') return static_cast<uint8_t>(upper - u'A' + 10);
  return std::nullopt;
}

std::optional<uint8_t> HexByte(std::u16string_view item) {
  if (item.size() != 2) return std::nullopt;
  const auto high = HexDigit(item[0]), low = HexDigit(item[1]);
  if (!high || !low) return std::nullopt;
  return static_cast<uint8_t>(*high << 4 | *low);
}

void AppendHexByte(std::u16string& text, unsigned byte) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  text += kDigits[byte >> 4 & 0xF];
  text += kDigits[byte & 0xF];
  text += u',';
}

// Characters of two bytes each, low byte first; a lone last byte is dropped.
std::u16string FromLowHighPairs(const std::vector<uint8_t>& bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
  return text;
}

}  // namespace

void TExif::Assign(const TExif& source) {
  if (&source == this) return;
  FExifData = source.FExifData;
  FConvertUTF8 = source.FConvertUTF8;
}

bool TExif::SetValue(std::u16string_view attribute, std::u16string_view value) {
  const TExifLookupRecord* row = FindExifTagByName(attribute);
  if (!row) return false;
  const auto text = NormaliseExifValue(*row, value);
  if (!text) return false;
  TWideStringList lines = FExifData;
  if (const int32_t index = lines.IndexOfName(row->TagName); index >= 0) lines.Delete(index);
  lines.Add(Line(row->TagName, *text));
  SetLine(lines, u"ExifVersion", kExifVersion);
  if (HasGPSLine(lines)) SetLine(lines, u"GPSVersionID", kGPSVersionID);
  FExifData = std::move(lines);
  return true;
}

bool TExif::DeleteValue(std::u16string_view attribute) {
  const int32_t index = FExifData.IndexOfName(attribute);
  if (index < 0 || FExifData.GetValues(attribute).empty()) return false;
  FExifData.Delete(index);
  return true;
}

int32_t TExif::GetDataCount(std::u16string_view tag_name) const {
  const TExifLookupRecord* row = FindExifTagByName(tag_name);
  return row ? row->Count : 0;
}

uint8_t TExif::GetDataType(std::u16string_view tag_name) const {
  const TExifLookupRecord* row = FindExifTagByName(tag_name);
  return row ? TiffTypeNumber(row->DataType) : 0;
}

std::u16string TExif::GetTagName(uint16_t code) const {
  const TExifLookupRecord* row = FindExifTagByCode(code);
  return row ? std::u16string(row->TagName) : std::u16string();
}

bool TExif::FindTag(std::u16string_view tag_name, TExifLookupRecord& record) {
  const TExifLookupRecord* row = FindExifTagByName(tag_name, true);
  if (!row) {
    record.Code = 0;
    return false;
  }
  record = *row;
  return true;
}

std::u16string TExif::ReadUserComment() const {
  const std::u16string value = FExifData.GetValues(u"UserComment");
  const size_t prefix_length = kAsciiCommentPrefix.size();
  if (value.size() <= prefix_length) return {};
  const std::u16string_view prefix = std::u16string_view(value).substr(0, prefix_length);
  const bool unicode = SameAsciiFolded(prefix, kUnicodeCommentPrefix);
  if (!unicode && !SameAsciiFolded(prefix, kAsciiCommentPrefix)) return {};
  std::vector<uint8_t> bytes;
  for (const auto item : SplitExifItems(std::u16string_view(value).substr(prefix_length))) {
    const auto byte = HexByte(item);
    if (!byte) return {};
    bytes.push_back(*byte);
  }
  if (unicode) return FromLowHighPairs(bytes);
  return std::u16string(bytes.begin(), bytes.end());
}

void TExif::WriteUserComment(std::u16string_view text) {
  const bool unicode = std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
  std::u16string value(unicode ? kUnicodeCommentPrefix : kAsciiCommentPrefix);
  for (const char16_t c : text) {
    AppendHexByte(value, c & 0xFF);
    if (unicode) AppendHexByte(value, c >> 8);
  }
  SetValue(u"UserComment", value);
}

std::u16string TExif::ReadXPInfo(std::u16string_view tag_name) const {
  const TExifLookupRecord* row = FindXPTag(tag_name);
  if (!row) return {};
  const std::u16string value = FExifData.GetValues(row->TagName);
  std::vector<uint8_t> bytes;
  for (const auto item : SplitExifItems(value)) {
    const auto byte = ParseInteger(item);
    if (!byte || *byte < 0 || *byte > 0xFF) return {};
    bytes.push_back(static_cast<uint8_t>(*byte));
  }
  return FromLowHighPairs(bytes);
}

void TExif::WriteXPInfo(std::u16string_view tag_name, std::u16string_view text) {
  const TExifLookupRecord* row = FindXPTag(tag_name);
  if (!row) return;
  std::u16string value;
  for (const char16_t c : text) value += DecimalText(c & 0xFF) + u"," + DecimalText(c >> 8) + u",";
  SetValue(row->TagName, value);
}

}  // namespace pk
