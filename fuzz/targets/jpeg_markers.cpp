// The JPEG header road: the markers up to the first scan (what the probe and
// the load's resolution read), the output size at each scale, and the JFIF
// density patch of saved files, over untrusted bytes. A header that reads has
// a size, and the scaled sizes are the picture's divided and rounded up. The
// patch touches only a JFIF APP0 right after SOI and leaves a file that reads
// as before, with the new density.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "jpeg/jpeg_codec.h"
#include "jpeg/jpeg_density.h"
#include "platform/exceptions.h"

namespace pk::fuzz {
namespace {

bool SameFrame(const JpegHeader& a, const JpegHeader& b) {
  return a.width == b.width && a.height == b.height && a.components == b.components &&
         a.colour_model == b.colour_model && a.progressive == b.progressive;
}

int JfifIdentifiers(std::span<const uint8_t> data) {
  constexpr uint8_t kIdentifier[] = {'J', 'F', 'I', 'F', 0};
  int count = 0;
  for (size_t at = 0; at + std::size(kIdentifier) <= data.size(); ++at)
    count += std::equal(std::begin(kIdentifier), std::end(kIdentifier), data.begin() + at);
  return count;
}

void CheckScaledSizes(std::span<const uint8_t> data, const JpegHeader& header) {
  for (int scale : {1, 2, 4, 8}) {
    JpegDecodeOptions options;
    options.scale_denominator = scale;
    const JpegSize size = JpegOutputSize(data, options);
    FuzzRequire(size.width == (header.width + scale - 1) / scale && size.height == (header.height + scale - 1) / scale,
                "the output size at a scale is the picture's divided and rounded up");
  }
}

void CheckDensityPatch(std::span<const uint8_t> data, const JpegHeader& header) {
  constexpr uint16_t kDpi[] = {300, 72};
  std::vector<uint8_t> patched(data.begin(), data.end());
  if (!PatchJfifDensity(patched, kDpi[0], kDpi[1])) {
    FuzzRequire(std::ranges::equal(patched, data), "a file the density patch refuses is left alone");
    return;
  }
  FuzzRequire(patched.size() == data.size(), "the density patch keeps the file's length");
  const JpegHeader again = ReadJpegHeader(patched);
  FuzzRequire(SameFrame(header, again) && again.has_jfif, "a patched file reads as before");
  // The library keeps the last JFIF APP0 it meets, the patch writes the first:
  // the density read back is the patched one when the file has only that one.
  if (JfifIdentifiers(data) != 1) return;
  FuzzRequire(again.density_unit == 1 && again.x_density == kDpi[0] && again.y_density == kDpi[1],
              "a patched file reads with the density written");
}

}  // namespace

void FuzzJpegMarkers(std::span<const uint8_t> data) {
  JpegHeader header;
  try {
    header = ReadJpegHeader(data);
  } catch (const EInvalidGraphic&) {
    return;
  }
  FuzzRequire(header.width > 0 && header.height > 0 && header.components > 0, "a header that reads has a size");
  CheckScaledSizes(data, header);
  CheckDensityPatch(data, header);
}

}  // namespace pk::fuzz
