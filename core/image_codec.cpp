#include "core/image_codec.h"

namespace pk {

const TImageCodec* FindImageCodec(std::span<const TImageCodec> codecs, TGraphicsFormat format) {
  for (const TImageCodec& codec : codecs) {
    if (codec.format == format) return &codec;
  }
  return nullptr;
}

}  // namespace pk
