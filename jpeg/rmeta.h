// The text items of JPEG APP5 "RMETA" segments, kept for reading only. The
// marker scan appends each segment's payload to RMETAStream and runs
// ParseRMETA; malformed payloads leave an empty or partial list and never
// raise, as for all metadata.
#pragma once

#include <cstdint>
#include <string>

#include "core/wide_string_list.h"
#include "jpeg/be_memory_stream.h"
#include "platform/exceptions.h"

namespace pk {

PK_DECLARE_EXCEPTION(ERMETAError, EInvalidGraphic);

class TRMETA {
 public:
  TBEMemoryStream& RMETAStream() { return FRMETAStream; }
  void SetRMETAStream(TBEMemoryStream stream) { FRMETAStream = std::move(stream); }
  const TWideStringList& StringList() const { return FStringList; }
  int32_t Count() const { return FStringList.Count(); }

  void Clear();
  // Takes the source's items; its raw payload stays behind.
  void Assign(const TRMETA& source);
  // ERMETAError "Index out of range" unless 0 <= index < Count.
  std::u16string GetTag(int32_t index) const;

  // Rebuilds the items from the payload. Reads only inside the payload; when
  // the payload ends before its items do, items and payload are both dropped.
  void ParseRMETA();

 private:
  TBEMemoryStream FRMETAStream;
  TWideStringList FStringList;
};

}  // namespace pk
