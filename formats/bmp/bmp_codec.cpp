#include "formats/bmp/bmp_codec.h"

#include "core/bmp_image.h"
#include "core/resolution.h"
#include "platform/bmp_codec.h"
#include "platform/stream.h"

namespace pk {

TDecodedImage DecodeBmp(std::span<const uint8_t> bytes, const TDecodeOptions& options) {
  TSpanStream stream(bytes);
  return ReadBmpImage(stream, options);
}

std::vector<uint8_t> EncodeBmp(const TBitmap& image, const TEncodeOptions& options) {
  TMemoryStream stream;
  WriteBmpImage(image, options, stream);
  return stream.Release();
}

TImageDimensions ProbeBmp(std::span<const uint8_t> bytes, int32_t) {
  const TBmpProbe probe = ProbeBmpHeader(bytes, static_cast<int64_t>(bytes.size()));
  return {probe.width, probe.height};
}

TDecodedImage ReadBmpImage(TStream& stream, const TDecodeOptions& options) {
  TDecodedImage image;
  const TBmpResolution ppm = ReadBmpResolution(stream);
  ReadBmp(stream, image.bitmap, options.limits);
  image.resolution = TResolution{DpmToDpi(static_cast<int32_t>(ppm.x)), DpmToDpi(static_cast<int32_t>(ppm.y))};
  return image;
}

void WriteBmpImage(const TBitmap& image, const TEncodeOptions& options, TStream& stream) {
  // The header's fields are stored as the unsigned bits of the signed values.
  const TBmpResolution ppm{static_cast<uint32_t>(DpiToDpm(options.resolution.x)),
                           static_cast<uint32_t>(DpiToDpm(options.resolution.y))};
  WriteBmpFile(stream, image, ppm);
}

}  // namespace pk
