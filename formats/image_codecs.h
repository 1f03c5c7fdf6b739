// The registry of the component's image codecs: one entry per format, the
// formats without a codec yet included with null functions. Wiring a codec is
// filling its entry.
#pragma once

#include <span>

#include "core/image_codec.h"

namespace pk {

std::span<const TImageCodec> ImageCodecs();

}  // namespace pk
