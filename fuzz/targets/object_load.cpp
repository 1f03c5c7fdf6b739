// The load road of the automation object: bytes handed over as a byte array
// (ReadVariant), the road ReadFile and Base64In share. Every failure of the
// object is one of the component's exceptions, whose message reaches the
// client; a load that succeeds gives an image the object reports.
#include "automation/image_functions.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"

namespace pk::fuzz {

void FuzzObjectLoad(std::span<const uint8_t> data) {
  TImageFunctions object;
  try {
    object.ReadVariant(data);
  } catch (const Exception&) {
    return;
  }
  FuzzRequire(object.Width() > 0 && object.Height() > 0, "a loaded image has a size");
  FuzzRequire(object.FileSize() == static_cast<int64_t>(data.size()), "FileSize is the size of the data read");
}

}  // namespace pk::fuzz
