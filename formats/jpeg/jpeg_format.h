// The JPEG entry of the codec registry: decode, encode and probe through the
// component's JPEG class (TbwJpeg of the build), with the facts and settings
// the automation object's channels exchange with it: resolution, grey,
// progressive and CMYK origin when reading; quality, grey, progressive and
// resolution when writing.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/image_codec.h"

namespace pk {

// A header libjpeg refuses raises EInvalidGraphic "The file is corrupt or not
// in the correct format."; errors while decoding the pixels pass unchanged
// (EJPEG, EOutOfResources above the limits).
TDecodedImage DecodeJpegImage(std::span<const uint8_t> bytes, const TDecodeOptions& options);
// EInvalidGraphic "Cannot save - JPG image is empty." for an empty image.
std::vector<uint8_t> EncodeJpegImage(const TBitmap& image, const TEncodeOptions& options);
// Reads the markers up to the first scan only.
TImageDimensions ProbeJpegImage(std::span<const uint8_t> bytes, int32_t image_number);

}  // namespace pk
