#include "core/expanding_hash.h"

#include <utility>

#include "platform/numeric.h"

namespace pk {

namespace {
constexpr int32_t kInitialLength = 4096;
}  // namespace

TExpandingHash::TExpandingHash()
    : FHashTable(kInitialLength), FHashLength(kInitialLength), FFreeSpace(kInitialLength) {}

void TExpandingHash::Insert(int32_t key, int32_t data) {
  PlaceEntry(FHashTable, key, data);
  ++FCount;
  --FFreeSpace;
  if (FFreeSpace <= Round(0.8 * FHashLength)) GrowTable();
}

void TExpandingHash::GrowTable() {
  const int32_t new_length = CheckedInt32(CheckedMul(FHashLength, 2));
  TExpandingHashTable old = std::exchange(FHashTable, TExpandingHashTable(static_cast<size_t>(new_length)));
  FFreeSpace += FHashLength;
  FHashLength = new_length;
  for (const THashRecord& record : old) {
    if (record.occupied == THashOccupied::hoOccupied) PlaceEntry(FHashTable, record.key, record.data);
  }
}

}  // namespace pk
