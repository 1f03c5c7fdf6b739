// The image types the component knows, and how a type is told from data: the
// first byte alone decides, so detection never needs more than one byte and
// never fails (an unknown byte gives gfUnknown). The extension checks of the
// loaders compare against the lower-case type texts.
#pragma once

#include <cstdint>
#include <string_view>

namespace pk {

enum class TGraphicsFormat : int32_t {
  gfUnknown = -1,
  gfBMP = 0,
  gfGIF = 1,
  gfJPG = 2,
  gfPCX = 3,
  gfPNG = 4,
  gfWBMP = 5,
  gfPSD = 6,
  gfTIF = 7,
  gfPDF = 8,
};

TGraphicsFormat DetectImageType(uint8_t first_byte);

// "bmp", "gif", "jpg", "pcx", "png", "wbmp", "psd", "tif", "pdf"; empty for
// gfUnknown.
std::u16string_view GraphicsFormatText(TGraphicsFormat format);

}  // namespace pk
