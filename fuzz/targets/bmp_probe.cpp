// The BMP header probe: it refuses with EInvalidGraphic, and never reports a
// size from bytes it did not have.
#include <vector>

#include "core/bmp_image.h"
#include "fuzz/fuzz_target.h"
#include "platform/exceptions.h"
#include "platform/stream.h"

namespace pk::fuzz {

void FuzzBmpProbe(std::span<const uint8_t> data) {
  TMemoryStream input(std::vector<uint8_t>(data.begin(), data.end()));
  TBMPImage probe;
  try {
    probe.GetDimensionsFromStream(input);
  } catch (const EInvalidGraphic&) {
    FuzzRequire(probe.ReadWidth() == 0 && probe.ReadHeight() == 0, "a refused BMP header reports no size");
    return;
  }
  // The smallest header that carries a size: the 14-byte file header and the
  // 12-byte core header.
  FuzzRequire(data.size() >= 26, "the BMP probe never reports a size it did not read");
}

}  // namespace pk::fuzz
