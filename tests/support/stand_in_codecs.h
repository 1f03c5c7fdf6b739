// The codec registry with the PNG row's functions replaced by stand-ins, so
// that a test can bring in pictures of every transparency kind (alpha channel,
// per-index alpha, a background colour) that a real PNG would carry. Data
// beginning with 0x89 is taken for PNG and reaches the stand-in decoder.
#pragma once

#include <vector>

#include "core/image_codec.h"
#include "formats/image_codecs.h"

namespace pk::test {

inline std::vector<TImageCodec> CodecsWithPngStandIn(TDecodeFunction decode, TEncodeFunction encode = nullptr) {
  std::vector<TImageCodec> codecs(ImageCodecs().begin(), ImageCodecs().end());
  for (TImageCodec& codec : codecs) {
    if (codec.format != TGraphicsFormat::gfPNG) continue;
    codec.decode = decode;
    if (encode) codec.encode = encode;
  }
  return codecs;
}

}  // namespace pk::test
