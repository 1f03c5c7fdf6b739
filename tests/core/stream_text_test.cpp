#include "core/stream_text.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"
#include "platform/messages.h"
#include "platform/stream.h"

namespace pk {
namespace {

TMemoryStream StreamOf(const std::string& bytes) { return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

TEST(StreamText, WritesUtf8WithoutAByteOrderMarkAtThePosition) {
  TMemoryStream stream = StreamOf("AB");
  stream.SetPosition(2);
  WriteTextToStream(stream, u"\u00e9\u20ac");
  EXPECT_EQ(stream.Position(), 7);
  EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().end()), "AB\xC3\xA9\xE2\x82\xAC");
}

TEST(StreamText, ReadsCountBytesFromThePositionAsUtf8) {
  TMemoryStream stream = StreamOf("xx\xC3\xA9t\xE2\x82\xACyy");
  stream.SetPosition(2);
  EXPECT_EQ(ReadStreamText(stream, 6), u"\u00e9t\u20ac");
  EXPECT_EQ(stream.Position(), 8);
  EXPECT_EQ(ReadStreamText(stream, 0), u"");
}

TEST(StreamText, BytesThatAreNotUtf8AreReadInTheAnsiCodePage) {
  TMemoryStream stream = StreamOf("caf\xE9 \x80");  // Windows-1252
  EXPECT_EQ(ReadStreamText(stream, stream.Size()), u"caf\u00e9 \u20ac");
  TMemoryStream overlong = StreamOf("\xC0\xAF");
  EXPECT_EQ(ReadStreamText(overlong, 2), u"\u00c0\u00af");
}

TEST(StreamText, AnsiTextComesBackAsItsBytes) {
  TMemoryStream stream = StreamOf("\xE9t\xE9 \x80");
  EXPECT_EQ(ReadStreamAnsiText(stream, stream.Size()), "\xE9t\xE9 \x80");
}

TEST(StreamText, ACountBeyondTheBytesLeftRaisesBeforeReading) {
  // A length field from a file must not size a buffer larger than the file.
  const int64_t counts[] = {-1, 6, INT64_MAX, INT64_MIN};
  for (int64_t count : counts) {
    TMemoryStream stream = StreamOf("abcdefgh");
    stream.SetPosition(3);
    try {
      ReadStreamText(stream, count);
      ADD_FAILURE() << count;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), msg::kStreamReadError);
    }
    EXPECT_THROW(ReadStreamAnsiText(stream, count), EReadError) << count;
    EXPECT_EQ(stream.Position(), 3);
  }
}

}  // namespace
}  // namespace pk
