#include "core/expanding_hash.h"
#include "core/simple_hash.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/exceptions.h"

namespace pk {
namespace {

TEST(SimpleHash, ProbesLinearlyFromTheHomeRecord) {
  TSimpleHash hash;
  EXPECT_EQ(hash.GetIndex(5), -1);
  hash.Insert(5, 50);
  hash.Insert(4101, 41);  // home record 5 is taken: lands in record 6
  hash.Insert(6, 60);     // its own home is taken now: record 7
  EXPECT_EQ(hash.GetIndex(5), 50);
  EXPECT_EQ(hash.GetIndex(4101), 41);
  EXPECT_EQ(hash.GetIndex(6), 60);
  EXPECT_EQ(hash.GetIndex(8197), -1);  // probe 5, 6, 7 then the empty 8
}

TEST(SimpleHash, TheFirstOfTwoEntriesWithOneKeyWins) {
  TSimpleHash hash;
  hash.Insert(7, 1);
  hash.Insert(7, 2);
  EXPECT_EQ(hash.GetIndex(7), 1);
}

TEST(SimpleHash, ProbesWrapAtTheEndOfTheTable) {
  TSimpleHash hash;
  hash.Insert(4095, 1);
  hash.Insert(8191, 2);
  EXPECT_EQ(hash.GetIndex(8191), 2);
  hash.Insert(0, 3);  // record 0 was taken by the wrapped entry
  EXPECT_EQ(hash.GetIndex(0), 3);
}

// A negative key lands inside the table (floor modulo) instead of before it.
TEST(SimpleHash, NegativeKeysStayInsideTheTable) {
  TSimpleHash hash;
  hash.Insert(-1, 11);
  hash.Insert(-4097, 12);
  hash.Insert(INT32_MIN, 13);
  EXPECT_EQ(hash.GetIndex(-1), 11);
  EXPECT_EQ(hash.GetIndex(-4097), 12);
  EXPECT_EQ(hash.GetIndex(INT32_MIN), 13);
  EXPECT_EQ(hash.GetIndex(4095), -1);  // probes 4095, 0 and 1, then the empty 2
}

// A full table raises on insert and answers lookups instead of probing for ever.
TEST(SimpleHash, AFullTableRaisesInsteadOfProbingForEver) {
  auto hash = std::make_unique<TSimpleHash>();
  for (int32_t key = 0; key < kSimpleHashSize; ++key) hash->Insert(key, key + 1);
  EXPECT_THROW(hash->Insert(77, 0), EListError);
  EXPECT_EQ(hash->GetIndex(4095), 4096);
  EXPECT_EQ(hash->GetIndex(5000), -1);
}

TEST(ExpandingHash, DoublesAtTheFifthOccupiedAndKeepsEveryKey) {
  TExpandingHash hash;
  struct GrowthPoint {
    int32_t inserts, length_before, length_after;
  };
  int32_t key = 0;
  for (const GrowthPoint& g : {GrowthPoint{819, 4096, 8192}, GrowthPoint{1638, 8192, 16384}}) {
    // Keys a table length apart share a home record, so the growth has to
    // re-place collided entries too.
    for (; key < g.inserts - 1; ++key) hash.Insert(key * 4096 + key % 3, key);
    EXPECT_EQ(hash.HashLength(), g.length_before);
    hash.Insert(key * 4096 + key % 3, key);
    ++key;
    EXPECT_EQ(hash.HashLength(), g.length_after);
    EXPECT_EQ(hash.Count(), g.inserts);
    for (int32_t k = 0; k < key; ++k) ASSERT_EQ(hash.GetIndex(k * 4096 + k % 3), k) << k;
  }
}

TEST(ExpandingHash, GrowthKeepsTheFirstOfTwoEntriesWithOneKey) {
  TExpandingHash hash;
  hash.Insert(9, 1);
  hash.Insert(9, 2);
  for (int32_t k = 100; k < 100 + 900; ++k) hash.Insert(k, k);
  ASSERT_EQ(hash.HashLength(), 8192);
  EXPECT_EQ(hash.GetIndex(9), 1);
}

TEST(ExpandingHash, NegativeKeysStayInsideTheTable) {
  TExpandingHash hash;
  hash.Insert(-5, 1);
  hash.Insert(INT32_MIN, 2);
  EXPECT_EQ(hash.GetIndex(-5), 1);
  EXPECT_EQ(hash.GetIndex(INT32_MIN), 2);
  EXPECT_EQ(hash.GetIndex(-6), -1);
}

}  // namespace
}  // namespace pk
