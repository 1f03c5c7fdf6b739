// Every decoder of the codec registry, whichever formats it holds: the data
// goes to each codec that decodes. A decoded image is encoded and decoded
// again and must come back with its size and pixel format, and for the
// lossless formats with its pixels; the probe must report the decoded size.
#include "formats/image_codecs.h"
#include "fuzz/fuzz_limits.h"
#include "fuzz/fuzz_target.h"
#include "fuzz/same_picture.h"
#include "platform/exceptions.h"

namespace pk::fuzz {
namespace {

TDecodeOptions FuzzDecodeOptions() {
  TDecodeOptions options;
  options.limits = FuzzDecodeLimits();
  return options;
}

bool SameShape(const TBitmap& a, const TBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.GetPixelFormat() == b.GetPixelFormat();
}

void CheckCodec(const TImageCodec& codec, std::span<const uint8_t> data) {
  TDecodedImage image;
  try {
    image = codec.decode(data, FuzzDecodeOptions());
  } catch (const EInvalidGraphic&) {
    return;
  } catch (const EOutOfResources&) {
    return;
  }
  if (codec.probe) {
    const TImageDimensions size = codec.probe(data, 1);
    FuzzRequire(size.width == static_cast<uint32_t>(image.bitmap.Width()) &&
                    size.height == static_cast<uint32_t>(image.bitmap.Height()),
                "a codec's probe reports the size its decoder builds");
  }
  if (!codec.encode) return;
  // A grey picture is written grey again: written in colour, a grey JPEG
  // comes back with three channels, which is right and no fault.
  TEncodeOptions options;
  options.grey = image.grey.value_or(false);
  const std::vector<uint8_t> encoded = codec.encode(image.bitmap, options);
  const TDecodedImage again = codec.decode(encoded, FuzzDecodeOptions());
  FuzzRequire(SameShape(image.bitmap, again.bitmap), "a decoded image encoded and decoded again keeps its shape");
  if (codec.format != TGraphicsFormat::gfJPG) {
    FuzzRequire(SamePicture(image.bitmap, again.bitmap), "a lossless format encodes and decodes to the same pixels");
  }
}

}  // namespace

void FuzzImageCodecs(std::span<const uint8_t> data) {
  for (const TImageCodec& codec : ImageCodecs()) {
    if (codec.decode) CheckCodec(codec, data);
  }
}

}  // namespace pk::fuzz
