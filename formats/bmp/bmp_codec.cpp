#include "formats/bmp/bmp_codec.h"

#include "core/bmp_image.h"
#include "core/resolution.h"
#include "platform/bmp_codec.h"
#include "platform/stream.h"

namespace pk {

TDecodedImage DecodeBmp(std::span<const uint8_t> bytes, const TDecodeOptions& options) {
  TDecodedImage image;
  TSpanStream stream(bytes);
  ReadBmp(stream, image.bitmap, options.limits);
  const TBmpResolution ppm = ReadBmpResolution(bytes);
  image.resolution = TResolution{DpmToDpi(static_cast<int32_t>(ppm.x)), DpmToDpi(static_cast<int32_t>(ppm.y))};
  return image;
}

std::vector<uint8_t> EncodeBmp(const TBitmap& image, const TEncodeOptions& options) {
  // The header's fields are stored as the unsigned bits of the signed values.
  const TBmpResolution ppm{static_cast<uint32_t>(DpiToDpm(options.resolution.x)),
                           static_cast<uint32_t>(DpiToDpm(options.resolution.y))};
  return EncodeBmpFile(image, ppm);
}

TImageDimensions ProbeBmp(std::span<const uint8_t> bytes, int32_t) {
  const TBmpProbe probe = ProbeBmpHeader(bytes, static_cast<int64_t>(bytes.size()));
  return {probe.width, probe.height};
}

}  // namespace pk
