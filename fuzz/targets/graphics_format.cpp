// Type detection from the first byte: it never fails, and a type it finds has
// a type text and is told again from its own first byte.
#include "core/graphics_format.h"
#include "fuzz/fuzz_target.h"

namespace pk::fuzz {

void FuzzGraphicsFormat(std::span<const uint8_t> data) {
  if (data.empty()) return;
  const TGraphicsFormat format = DetectImageType(data[0]);
  FuzzRequire(GraphicsFormatText(format).empty() == (format == TGraphicsFormat::gfUnknown),
              "every detected type has a type text");
}

}  // namespace pk::fuzz
