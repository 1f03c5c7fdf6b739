// BMP through the codec interface, with the format's own rules kept: the
// platform reader decodes every common variant straight into the decoded
// image under the limits record; the resolution travels as the header's
// pixels-per-metre fields, each read as the signed 32-bit long it is (a stored
// -3780 is -96 dots per inch, and writes back as -3780); 24-bit images are
// written in TBMPImage's own layout, the other formats by the platform writer
// with the resolution patched in; the probe reads headers only and gives
// top-down data its positive row count. Files are read and written through
// streams as well, so the file road holds no whole-file copy of the picture.
#pragma once

#include "core/image_codec.h"

namespace pk {

TDecodedImage DecodeBmp(std::span<const uint8_t> bytes, const TDecodeOptions& options);
std::vector<uint8_t> EncodeBmp(const TBitmap& image, const TEncodeOptions& options);
TImageDimensions ProbeBmp(std::span<const uint8_t> bytes, int32_t image_number);
TDecodedImage ReadBmpImage(TStream& stream, const TDecodeOptions& options);
void WriteBmpImage(const TBitmap& image, const TEncodeOptions& options, TStream& stream);

}  // namespace pk
