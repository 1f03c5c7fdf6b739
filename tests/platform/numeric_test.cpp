#include "platform/numeric.h"

#include <gtest/gtest.h>

namespace pk {
namespace {

TEST(Round, HalvesGoToEven) {
  const struct { double in; int64_t out; } cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {95.99, 96}};
  for (const auto& c : cases) EXPECT_EQ(Round(c.in), c.out) << c.in;
}

TEST(Round, RaisesOutsideTheRange) {
  EXPECT_THROW(Round(1e30), EIntOverflow);
  EXPECT_THROW(Round(std::nan("")), EIntOverflow);
  EXPECT_EQ(Trunc(-2.9), -2);
}

TEST(CheckedArithmetic, TrapsInsteadOfWrapping) {
  EXPECT_THROW(CheckedMul(INT64_MAX / 2, 3), EIntOverflow);
  EXPECT_THROW(CheckedInt32(int64_t{1} << 31), EIntOverflow);
  EXPECT_THROW(Div(1, 0), EDivByZero);
  EXPECT_THROW(Div(INT32_MIN, -1), EIntOverflow);
  EXPECT_EQ(FloorMod(-1, 7), 6);
  EXPECT_EQ(FloorMod(-7, 7), 0);
  EXPECT_EQ(ClampToInt32(int64_t{1} << 40), INT32_MAX);
}

}  // namespace
}  // namespace pk
