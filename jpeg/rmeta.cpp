#include "jpeg/rmeta.h"

#include <algorithm>
#include <exception>
#include <span>
#include <string_view>

#include "core/byte_reader.h"
#include "jpeg/messages.h"
#include "platform/text_encoding.h"

namespace pk {
namespace {

// "RMETA", a byte, the byte-order mark, 7 bytes, the length, the type and
// "ASCII" take 23 bytes; a payload must hold at least one byte more.
constexpr size_t kMinimumPayload = 24;
constexpr uint8_t kAsciiType = 5;
// The items start this far past the length field's value.
constexpr size_t kItemsOffset = 17;

bool Matches(std::span<const uint8_t> bytes, std::string_view text) {
  return std::equal(bytes.begin(), bytes.end(), text.begin(), text.end(),
                    [](uint8_t b, char c) { return b == static_cast<uint8_t>(c); });
}

std::string_view AsChars(std::span<const uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::u16string TrimBlanksAndControls(std::u16string text) {
  const auto blank = [](char16_t c) { return c <= u' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), std::make_reverse_iterator(first), blank).base();
  return std::u16string(first, last);
}

// Reads the byte-order mark; false when it is neither "II" nor "MM".
bool ReadByteOrder(ByteReader& reader, TBEMemoryStream& stream) {
  const auto mark = reader.Bytes(2);
  if (!Matches(mark, "II") && !Matches(mark, "MM")) return false;
  stream.IsBigEndian = mark[0] == 'M';
  reader.SetOrder(stream.Order());
  return true;
}

// Moves the reader to the first item; false when the header does not match.
bool ReadHeader(ByteReader& reader, TBEMemoryStream& stream) {
  if (!Matches(reader.Bytes(5), "RMETA")) return false;
  reader.Skip(1);
  if (!ReadByteOrder(reader, stream)) return false;
  reader.Skip(7);
  const uint16_t length = reader.U16();
  if (reader.U8() != kAsciiType || !Matches(reader.Bytes(5), "ASCII")) return false;
  reader.Seek(length + kItemsOffset);
  return true;
}

}  // namespace

void TRMETA::Clear() {
  FStringList.Clear();
  FRMETAStream.Clear();
}

void TRMETA::Assign(const TRMETA& source) {
  if (&source == this) return;
  Clear();
  for (int32_t i = 0; i < source.Count(); ++i) FStringList.Add(source.FStringList.GetItem(i));
}

std::u16string TRMETA::GetTag(int32_t index) const {
  if (index < 0 || index >= Count()) throw ERMETAError(msg::kRMETAIndexOutOfRange);
  return FStringList.GetItem(index);
}

void TRMETA::ParseRMETA() {
  FRMETAStream.SetPosition(0);
  FStringList.Clear();
  if (FRMETAStream.Size() < static_cast<int64_t>(kMinimumPayload)) return;
  ByteReader reader(FRMETAStream.Bytes());
  try {
    if (ReadHeader(reader, FRMETAStream)) {
      // Each item is a length byte counting itself, then its text; 0 ends the
      // list, and so does an item that would reach the payload's last byte.
      for (uint8_t n = reader.U8(); n != 0; n = reader.U8()) {
        if (reader.Position() + n >= reader.Size() - 1) break;
        FStringList.Add(TrimBlanksAndControls(AnsiToUtf16(AsChars(reader.Bytes(n - 1u)))));
      }
    }
    FRMETAStream.SetPosition(static_cast<int64_t>(reader.Position()));
  } catch (const std::exception&) {
    Clear();
  }
}

}  // namespace pk
