// The streaming loop against a recording Response: the header, the chunk
// sizes, Flush only while buffering, the early stop when the client has gone,
// a fetch of the Response before every call, and a failing call's error.
#include "automation/response_stream.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/exceptions.h"

namespace pk {
namespace {

struct Recording {
  std::vector<std::string> calls;
  std::vector<size_t> writes;
  std::vector<uint8_t> body;
  std::deque<bool> buffer_answers;     // Buffer's answers in turn; false after
  std::deque<bool> connected_answers;  // IsClientConnected's; true after
  bool fail_add_header = false;
  int fetches = 0;
};

class RecordingResponse final : public IAspResponse {
 public:
  explicit RecordingResponse(Recording& record) : record_(record) {}
  void AddHeader(const std::u16string& name, const std::u16string& value) override {
    if (record_.fail_add_header) throw Exception(u"Header refused");
    record_.calls.push_back("AddHeader " + std::string(name.begin(), name.end()) + ": " +
                            std::string(value.begin(), value.end()));
  }
  void BinaryWrite(std::span<const uint8_t> bytes) override {
    record_.calls.push_back("BinaryWrite");
    record_.writes.push_back(bytes.size());
    record_.body.insert(record_.body.end(), bytes.begin(), bytes.end());
  }
  bool Buffer() override {
    record_.calls.push_back("Buffer");
    return Next(record_.buffer_answers, false);
  }
  void Flush() override { record_.calls.push_back("Flush"); }
  bool IsClientConnected() override {
    record_.calls.push_back("IsClientConnected");
    return Next(record_.connected_answers, true);
  }

 private:
  static bool Next(std::deque<bool>& answers, bool otherwise) {
    if (answers.empty()) return otherwise;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  Recording& record_;
};

TResponseSource SourceOf(Recording& record) {
  return [&record] {
    ++record.fetches;
    return std::make_unique<RecordingResponse>(record);
  };
}

std::vector<uint8_t> Numbered(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  return bytes;
}

TEST(StreamToResponse, SendsEverythingInChunks) {
  Recording record;
  record.buffer_answers = {true, false, true};
  const std::vector<uint8_t> bytes = Numbered(250000);
  StreamToResponse(bytes, SourceOf(record));
  EXPECT_EQ(record.writes, (std::vector<size_t>{102400, 102400, 45200}));
  EXPECT_EQ(record.body, bytes);
  const std::vector<std::string> expected{
      "AddHeader Content-Length: 250000",
      "BinaryWrite", "Buffer", "Flush", "IsClientConnected",
      "BinaryWrite", "Buffer", "IsClientConnected",
      "BinaryWrite", "Buffer", "Flush"};
  EXPECT_EQ(record.calls, expected);
  EXPECT_EQ(record.fetches, static_cast<int>(expected.size()));
}

TEST(StreamToResponse, StopsWhenTheClientHasGone) {
  Recording record;
  record.connected_answers = {false};
  StreamToResponse(Numbered(250000), SourceOf(record));
  EXPECT_EQ(record.writes, std::vector<size_t>{102400});
}

TEST(StreamToResponse, SizesAtTheChunkEdges) {
  struct Case {
    size_t size;
    std::vector<size_t> writes;
    int connected_checks;
  };
  const Case cases[] = {
      {0, {}, 0},  // the header alone, no empty write
      {1, {1}, 0},
      {102400, {102400}, 0},
      {102401, {102400, 1}, 1},
  };
  for (const Case& c : cases) {
    Recording record;
    StreamToResponse(Numbered(c.size), SourceOf(record));
    SCOPED_TRACE(c.size);
    EXPECT_EQ(record.calls.front(), "AddHeader Content-Length: " + std::to_string(c.size));
    EXPECT_EQ(record.writes, c.writes);
    EXPECT_EQ(std::count(record.calls.begin(), record.calls.end(), "IsClientConnected"), c.connected_checks);
  }
}

TEST(StreamToResponse, AFailingCallRaisesItsError) {
  Recording record;
  record.fail_add_header = true;
  try {
    StreamToResponse(Numbered(10), SourceOf(record));
    FAIL() << "the failure was swallowed";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), u"Header refused");
  }
  EXPECT_TRUE(record.writes.empty());
}

}  // namespace
}  // namespace pk
