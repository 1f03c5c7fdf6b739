// What every alpha record keeps whatever happens to it: an 8-bit channel with
// the grey palette.
#pragma once

#include <gtest/gtest.h>

#include "core/alpha.h"
#include "platform/palette.h"

namespace pk::test {

inline void ExpectGreyChannel(const TAlpha& alpha) {
  EXPECT_EQ(alpha.AlphaChannel().GetPixelFormat(), PixelFormat::pf8bit);
  EXPECT_EQ(alpha.AlphaChannel().Palette(), GreyPalette());
}

}  // namespace pk::test
