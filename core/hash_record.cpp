#include "core/hash_record.h"

#include "core/messages.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"

namespace pk {
namespace {

// Calls visit(record) for each record of the key's probe sequence until it
// returns true; returns that record, or nullptr after a full turn.
template <typename Record, typename Visit>
Record* Probe(std::span<Record> table, int32_t key, Visit visit) {
  const int64_t length = static_cast<int64_t>(table.size());
  if (length == 0) return nullptr;
  const int64_t home = FloorMod<int64_t>(key, length);
  for (int64_t i = 0; i < length; ++i) {
    Record& record = table[static_cast<size_t>((home + i) % length)];
    if (visit(record)) return &record;
  }
  return nullptr;
}

bool IsOccupied(const THashRecord& record) { return record.occupied == THashOccupied::hoOccupied; }

}  // namespace

void PlaceEntry(std::span<THashRecord> table, int32_t key, int32_t data) {
  THashRecord* free = Probe(table, key, [](const THashRecord& r) { return !IsOccupied(r); });
  if (!free) throw EListError(msg::kHashTableFull);
  *free = {key, data, THashOccupied::hoOccupied};
}

int32_t FindEntry(std::span<const THashRecord> table, int32_t key) {
  const THashRecord* hit =
      Probe(table, key, [key](const THashRecord& r) { return !IsOccupied(r) || r.key == key; });
  return hit && IsOccupied(*hit) ? hit->data : -1;
}

}  // namespace pk
