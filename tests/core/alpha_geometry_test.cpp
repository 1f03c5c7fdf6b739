// TAlpha's flips and resizes: the channel follows the image and stays an 8-bit
// grey channel; a failed resampled resize leaves it as it was.
#include <gtest/gtest.h>

#include "core/alpha.h"
#include "platform/exceptions.h"
#include "tests/core/grey_channel.h"

namespace pk {
namespace {

// A 5 x 3 channel with a distinct value in every pixel.
void FillChannel(TAlpha& alpha) {
  alpha.SetWidth(5);
  alpha.SetHeight(3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) alpha.SetAlphaPixel(x, y, static_cast<uint8_t>(10 * y + x));
}

using test::ExpectGreyChannel;

TEST(AlphaGeometry, FlipXMirrorsTopToBottomAndFlipYLeftToRight) {
  TAlpha alpha;
  FillChannel(alpha);
  alpha.FlipX();
  EXPECT_EQ(alpha.GetAlphaPixel(1, 0), 21);
  EXPECT_EQ(alpha.GetAlphaPixel(4, 2), 4);
  alpha.FlipY();
  EXPECT_EQ(alpha.GetAlphaPixel(0, 0), 24);
  EXPECT_EQ(alpha.GetAlphaPixel(4, 2), 0);
  ExpectGreyChannel(alpha);
}

TEST(AlphaGeometry, ResizeWithoutResamplingRepeatsPixels) {
  TAlpha alpha;
  FillChannel(alpha);
  alpha.Resize(10, 6);
  ASSERT_EQ(alpha.Width(), 10);
  ASSERT_EQ(alpha.Height(), 6);
  EXPECT_EQ(alpha.GetAlphaPixel(9, 5), 24);
  EXPECT_EQ(alpha.GetAlphaPixel(2, 3), 11);
  ExpectGreyChannel(alpha);
}

TEST(AlphaGeometry, ResampledResizeGoesThroughColourAndBackToGrey) {
  TAlpha alpha;
  alpha.SetWidth(2);
  alpha.SetHeight(2);
  alpha.SetAlphaPixel(1, 0, 200);
  alpha.SetAlphaPixel(1, 1, 200);
  alpha.Resize(5, 2, true, 1);  // two pixels to five with Triangle
  ASSERT_EQ(alpha.Width(), 5);
  EXPECT_EQ(alpha.GetAlphaPixel(0, 0), 0);
  EXPECT_EQ(alpha.GetAlphaPixel(2, 1), 100);
  EXPECT_EQ(alpha.GetAlphaPixel(4, 1), 200);
  ExpectGreyChannel(alpha);
  alpha.Resize(10, 4, false, 1);  // unresampled, through 24 bits all the same
  EXPECT_EQ(alpha.GetAlphaPixel(9, 3), 200);
  ExpectGreyChannel(alpha);
}

// Guards against switching the channel to 24 bits before the resize, which
// would leave a 24-bit channel behind when the resize fails.
TEST(AlphaGeometry, FailedResampledResizeLeavesTheChannelUnchanged) {
  TAlpha alpha;
  FillChannel(alpha);
  EXPECT_THROW(alpha.Resize(4, 0, true, 1), EDivByZero);
  EXPECT_THROW(alpha.Resize(4, 2, true, 9), ERangeError);
  ExpectGreyChannel(alpha);
  EXPECT_EQ(alpha.Width(), 5);
  EXPECT_EQ(alpha.GetAlphaPixel(3, 2), 23);
}

}  // namespace
}  // namespace pk
