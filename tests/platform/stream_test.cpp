#include "platform/stream.h"

#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

namespace pk {
namespace {

TEST(MemoryStream, WritingPastTheEndLeavesAZeroGap) {
  TMemoryStream s;
  s.SetPosition(4);
  const uint8_t b = 7;
  s.WriteBuffer(&b, 1);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(std::vector<uint8_t>(s.Bytes().begin(), s.Bytes().end()), (std::vector<uint8_t>{0, 0, 0, 0, 7}));
}

TEST(MemoryStream, ShortReadReturnsWhatThereIsAndReadBufferRaises) {
  TMemoryStream s(std::vector<uint8_t>{1, 2, 3});
  uint8_t buf[8];
  EXPECT_EQ(s.Read(buf, 8), 3);
  s.SetPosition(1);
  EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
  EXPECT_THROW(s.Seek(-5, SeekOrigin::soCurrent), EStreamError);
}

TEST(FileStream, RoundTripAndOpenErrors) {
  test::ScratchDir dir;
  const auto name = test::U16(dir / "a.bin");
  TMemoryStream out(std::vector<uint8_t>{9, 8, 7});
  out.SaveToFile(name);
  TMemoryStream in;
  in.LoadFromFile(name);
  EXPECT_EQ(in.Size(), 3);
  EXPECT_EQ(in.Memory()[2], 7);
  EXPECT_THROW(in.LoadFromFile(test::U16(dir / "missing.bin")), EFOpenError);
  EXPECT_THROW(in.LoadFromFile(test::U16(dir.Path())), EFOpenError);
}

}  // namespace
}  // namespace pk
