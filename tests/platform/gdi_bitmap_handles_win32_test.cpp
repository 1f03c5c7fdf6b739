// Bitmap handles in the DLL are GDI bitmaps: a handed-out handle is a real
// DIB with the bitmap's depth, colour table and pixels, and a bitmap that
// another GDI client made (a device-dependent 32-bit one) is taken over as a
// 24-bit image with its pixels. Runs in the cross-compiled suite under Wine.
#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "platform/bitmap_handles.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library's configuration may have set it
#define NOMINMAX
#endif
#include <windows.h>

namespace pk {
namespace {

TEST(GdiBitmapHandles, HandedOutHandleIsADibOfTheSameDepthAndTable) {
  TBitmap bitmap(9, 3, PixelFormat::pf1bit);
  const TColor table[] = {0x0000FF, 0x00FF00};
  bitmap.SetColorTable(table);
  bitmap.SetPixelIndex(8, 2, 1);
  const int32_t handle = CreateBitmapHandle(bitmap);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(reinterpret_cast<HBITMAP>(static_cast<intptr_t>(handle)), sizeof(section), &section),
            static_cast<int>(sizeof(section)));
  EXPECT_EQ(section.dsBm.bmWidth, 9);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 1);

  std::unique_ptr<TBitmap> back = TakeOverBitmapHandle(handle);
  EXPECT_EQ(back->GetPixelFormat(), PixelFormat::pf1bit);
  EXPECT_EQ(back->ColorTableEntry(0), 0x0000FFu);
  EXPECT_EQ(back->ColorTableEntry(1), 0x00FF00u);
  EXPECT_EQ(back->PixelIndex(8, 2), 1);
  EXPECT_EQ(back->PixelIndex(7, 2), 0);
}

TEST(GdiBitmapHandles, ForeignDeviceBitmapBecomesTwentyFourBits) {
  // Blue, green, red, unused: one red pixel and one blue pixel.
  const uint8_t pixels[] = {0, 0, 255, 0, 255, 0, 0, 0};
  HBITMAP foreign = CreateBitmap(2, 1, 1, 32, pixels);
  ASSERT_NE(foreign, nullptr);
  std::unique_ptr<TBitmap> taken = TakeOverBitmapHandle(static_cast<int32_t>(reinterpret_cast<intptr_t>(foreign)));
  EXPECT_EQ(taken->GetPixelFormat(), PixelFormat::pf24bit);
  EXPECT_EQ(taken->PixelColor(0, 0), 0x0000FFu);  // red in the low byte
  EXPECT_EQ(taken->PixelColor(1, 0), 0xFF0000u);
  EXPECT_EQ(GetObjectType(foreign), 0u) << "taken over handles are deleted";
}

TEST(GdiBitmapHandles, EmptyBitmapHandsOutNoHandle) { EXPECT_EQ(CreateBitmapHandle(TBitmap()), 0); }

}  // namespace
}  // namespace pk
