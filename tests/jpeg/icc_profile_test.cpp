#include "jpeg/icc_profile.h"

#include <gtest/gtest.h>

#include <vector>

namespace pk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Contents(const TMemoryStream& s) { return {s.Bytes().begin(), s.Bytes().end()}; }

TEST(ICCProfile, CopiesInAndOutWhole) {
  TICCProfile profile;
  EXPECT_FALSE(profile.HasICCProfile());
  TMemoryStream source(Bytes{1, 2, 3, 4});
  source.SetPosition(3);
  profile.CopyFrom(source);
  EXPECT_EQ(profile.Size(), 4);
  EXPECT_TRUE(profile.HasICCProfile());

  TMemoryStream out(Bytes{9, 9, 9, 9, 9, 9});
  profile.CopyTo(out);
  EXPECT_EQ(Contents(out), (Bytes{1, 2, 3, 4}));

  profile.Clear();
  EXPECT_EQ(profile.Size(), 0);
  EXPECT_FALSE(profile.HasICCProfile());
}

TEST(ICCProfile, AssignCopiesAndAnEmptySourceEmpties) {
  TICCProfile a, b;
  TMemoryStream bytes(Bytes{5, 6});
  a.CopyFrom(bytes);
  b.Assign(a);
  EXPECT_EQ(Contents(b.ICCStream()), (Bytes{5, 6}));
  b.Assign(b);  // assigning to itself keeps the profile
  EXPECT_EQ(b.Size(), 2);
  b.Assign(TICCProfile());
  EXPECT_FALSE(b.HasICCProfile());
  EXPECT_EQ(a.Size(), 2);
}

}  // namespace
}  // namespace pk
