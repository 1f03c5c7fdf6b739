// Byte buffers on both sides of the large-block size: every byte is theirs,
// contents survive growing from an ordinary allocation into a large block and
// back, and natively a large block starts on a huge-page boundary and gives
// all its memory back when freed.
#include "platform/byte_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace pk {
namespace {

TEST(ByteBuffer, BuffersAroundTheLargeBlockSizeHoldEveryByte) {
  for (const size_t size : {kLargeBlockBytes - 1, kLargeBlockBytes, kLargeBlockBytes + 1, size_t{36000003}}) {
    SCOPED_TRACE(size);
    TByteBuffer buffer(size);
    std::memset(buffer.data(), 0x5A, size);
    buffer.back() = 1;
    const TByteBuffer copy = buffer;
    EXPECT_EQ(copy.front(), 0x5A);
    EXPECT_EQ(copy[size / 2], 0x5A);
    EXPECT_EQ(copy.back(), 1);
  }
}

TEST(ByteBuffer, GrowingIntoALargeBlockAndBackKeepsTheContents) {
  TByteBuffer buffer(1000);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 13);
  buffer.resize(kLargeBlockBytes * 2);
  buffer.back() = 9;
  buffer.resize(1000);
  buffer.shrink_to_fit();
  for (size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], static_cast<uint8_t>(i * 13)) << i;
}

#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
// The process's mapped size in pages (the first field of /proc/self/statm).
long MappedPages() {
  std::ifstream statm("/proc/self/statm");
  long pages = -1;
  statm >> pages;
  return pages;
}

TEST(ByteBuffer, LargeBlocksStartOnAHugePageAndAreGivenBackWhole) {
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  const long before = MappedPages();
  for (int i = 0; i < 50; ++i) {
    TByteBuffer buffer(kLargeBlockBytes + 4096 * static_cast<size_t>(i) + 1);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer.data()) % kHugePage, 0u);
    buffer.back() = 1;
  }
  // A block freed short, or the spare room of its mapping kept, would leave
  // megabytes per round mapped.
  EXPECT_LT(MappedPages() - before, 256);
}
#endif

}  // namespace
}  // namespace pk
