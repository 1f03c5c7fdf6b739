// The record of the integer hash tables and the linear probing they share. A
// probe starts at the key's home record (key modulo the table length, taken
// as a floor modulo so that a negative key still lands inside the table) and
// walks forward, wrapping at the end, for at most one full turn: a lookup in a
// full table ends instead of circling for ever.
#pragma once

#include <cstdint>
#include <span>

namespace pk {

// Only hoEmpty and hoOccupied are stored; every state but hoOccupied ends a probe.
enum class THashOccupied : uint8_t { hoEmpty, hoOccupied, hoDeleted };

struct THashRecord {
  int32_t key = 0;
  int32_t data = 0;
  THashOccupied occupied = THashOccupied::hoEmpty;
};

// Stores the entry in the first record from the key's home that is not
// occupied, without looking for the key; EListError "Hash table is full." when
// no record is free.
void PlaceEntry(std::span<THashRecord> table, int32_t key, int32_t data);

// The data of the first occupied record with the key met before a record that
// is not occupied (so the earlier of two entries with one key wins), or -1.
int32_t FindEntry(std::span<const THashRecord> table, int32_t key);

}  // namespace pk
