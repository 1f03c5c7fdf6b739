// RMETA segments: the parser never raises and every item it keeps is text it
// read from the payload.
#include "fuzz/fuzz_target.h"
#include "jpeg/rmeta.h"

namespace pk::fuzz {

void FuzzRmeta(std::span<const uint8_t> data) {
  TRMETA rmeta;
  rmeta.RMETAStream().WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  rmeta.ParseRMETA();
  size_t text = 0;
  for (int32_t i = 0; i < rmeta.Count(); ++i) text += rmeta.GetTag(i).size() + 1;  // + its length byte
  FuzzRequire(text <= data.size(), "RMETA items hold no more text than the payload carries");
}

}  // namespace pk::fuzz
