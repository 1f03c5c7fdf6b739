// A fixed table of 4096 integer records mapping keys to data (colour to
// palette index). It never grows; its callers keep far fewer entries than it
// has records, and an insert into a full table raises rather than hanging.
#pragma once

#include <array>
#include <cstdint>

#include "core/hash_record.h"

namespace pk {

inline constexpr int32_t kSimpleHashSize = 4096;

using THashTable = std::array<THashRecord, kSimpleHashSize>;

class TSimpleHash {
 public:
  // No test for a key already present.
  void Insert(int32_t key, int32_t data) { PlaceEntry(FHashTable, key, data); }
  // The data stored first under the key, or -1.
  int32_t GetIndex(int32_t key) const { return FindEntry(FHashTable, key); }

 private:
  THashTable FHashTable{};
};

}  // namespace pk
