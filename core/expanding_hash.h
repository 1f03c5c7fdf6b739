// An integer table mapping keys to data that doubles its length once a fifth
// of it is occupied (at the 819th entry of 4096 records, the 1638th of 8192),
// so probes stay short for colour counting and the GIF code tables. Growing
// re-places the entries in the order of their old records, so of two entries
// with one key the earlier is still found first.
#pragma once

#include <cstdint>
#include <vector>

#include "core/hash_record.h"

namespace pk {

using TExpandingHashTable = std::vector<THashRecord>;

class TExpandingHash {
 public:
  TExpandingHash();

  int32_t Count() const { return FCount; }
  int32_t HashLength() const { return FHashLength; }

  void Insert(int32_t key, int32_t data);
  // The data stored first under the key, or -1.
  int32_t GetIndex(int32_t key) const { return FindEntry(FHashTable, key); }

 private:
  void GrowTable();

  TExpandingHashTable FHashTable;
  int32_t FHashLength;
  int32_t FCount = 0;
  int32_t FFreeSpace;  // always FHashLength - FCount
};

}  // namespace pk
