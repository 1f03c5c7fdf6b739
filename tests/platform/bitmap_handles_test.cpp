// Bitmap handles: a handle holds its own copy, is taken over exactly once, and
// made-up or spent handles are refused.
#include "platform/bitmap_handles.h"

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/exceptions.h"

namespace pk {
namespace {

TEST(BitmapHandles, AHandleHoldsACopyAndIsTakenOverOnce) {
  TBitmap bitmap(3, 2, PixelFormat::pf8bit);
  bitmap.SetPixelIndex(1, 1, 5);
  const int32_t first = CreateBitmapHandle(bitmap);
  const int32_t second = CreateBitmapHandle(bitmap);
  EXPECT_NE(first, second);
  EXPECT_NE(first, 0);
  bitmap.SetPixelIndex(1, 1, 9);  // the handles do not follow the source bitmap

  std::unique_ptr<TBitmap> taken = TakeOverBitmapHandle(first);
  EXPECT_EQ(taken->Width(), 3);
  EXPECT_EQ(taken->GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_EQ(taken->PixelIndex(1, 1), 5);
  EXPECT_THROW(TakeOverBitmapHandle(first), EInvalidGraphic);
  EXPECT_TRUE(DeleteBitmapHandle(second));
  EXPECT_FALSE(DeleteBitmapHandle(second));
  EXPECT_THROW(TakeOverBitmapHandle(0), EInvalidGraphic);
}

}  // namespace
}  // namespace pk
